#include "tests/host/property_bag.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "tests/host/com_object.h"
#include "tests/host/memory_stream.h"

namespace zo::test {

namespace {

bool SameName(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

// Writes the object's class and state into `bytes`.
HRESULT SerializeObject(IUnknown* object, std::vector<BYTE>& bytes) {
    MemoryStream stream;
    com_ptr<IUnknown> unknown(object);
    HRESULT hr;
    if (auto persist = unknown.query<IPersistStream>()) {
        hr = ::OleSaveToStream(persist.get(), stream.get());
    } else if (auto persistInit = unknown.query<IPersistStreamInit>()) {
        CLSID clsid;
        hr = persistInit->GetClassID(&clsid);
        if (SUCCEEDED(hr)) hr = ::WriteClassStm(stream.get(), clsid);
        if (SUCCEEDED(hr)) hr = persistInit->Save(stream.get(), TRUE);
    } else {
        return E_NOINTERFACE;
    }
    if (FAILED(hr)) return hr;
    bytes = stream.Bytes();
    return S_OK;
}

// A new object of the saved class, loaded from `bytes`, as `type` (VT_UNKNOWN or VT_DISPATCH).
HRESULT DeserializeObject(const std::vector<BYTE>& bytes, VARTYPE type, Variant& result) {
    MemoryStream stream = MemoryStream::FromBytes(bytes);
    com_ptr<IUnknown> object;
    HRESULT hr = ::OleLoadFromStream(stream.get(), IID_IUnknown, object.put_void());
    if (FAILED(hr)) {
        // Objects that only know IPersistStreamInit.
        stream.Rewind();
        CLSID clsid;
        hr = ::ReadClassStm(stream.get(), &clsid);
        if (SUCCEEDED(hr))
            hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.put_void());
        auto persistInit = object.query<IPersistStreamInit>();
        if (SUCCEEDED(hr)) hr = persistInit ? persistInit->Load(stream.get()) : E_NOINTERFACE;
        if (FAILED(hr)) return hr;
    }
    if (type == VT_DISPATCH) {
        auto dispatch = object.query<IDispatch>();
        if (!dispatch) return E_NOINTERFACE;
        result = Variant(dispatch.get());
    } else {
        result = Variant(object.get());
    }
    return S_OK;
}

}  // namespace

struct MemoryPropertyBag::State {
    struct Entry {
        std::wstring name;
        Variant value;                   // everything but an object stored by value
        std::vector<BYTE> objectBytes;   // an object stored by value
        VARTYPE objectType = VT_EMPTY;   // VT_UNKNOWN or VT_DISPATCH for such an object
    };

    ObjectStorage objects = ObjectStorage::ByReference;
    bool answerStoredTypes = false;
    std::vector<Entry> entries;
    std::vector<std::wstring> reads, writes;
    std::vector<std::pair<std::wstring, HRESULT>> readFailures, writeFailures;

    Entry* Find(std::wstring_view name) {
        for (Entry& entry : entries)
            if (SameName(entry.name, name)) return &entry;
        return nullptr;
    }

    static HRESULT FailureFor(const std::vector<std::pair<std::wstring, HRESULT>>& failures,
                              std::wstring_view name) {
        for (const auto& [key, hr] : failures)
            if (SameName(key, name)) return hr;
        return S_OK;
    }

    HRESULT Store(std::wstring_view name, const VARIANT& source) {
        Entry entry;
        entry.name = std::wstring(name);
        HRESULT hr = ::VariantCopyInd(entry.value.ptr(), const_cast<VARIANT*>(&source));
        if (FAILED(hr)) return hr;
        if (objects == ObjectStorage::ByValue && entry.value.IsObject() && entry.value.get().punkVal) {
            hr = SerializeObject(entry.value.get().punkVal, entry.objectBytes);
            if (FAILED(hr)) return hr;
            entry.objectType = entry.value.vt();
            entry.value = Variant();
        }
        if (Entry* existing = Find(name)) {
            entry.name = existing->name;  // the first spelling stays
            *existing = std::move(entry);
        } else {
            entries.push_back(std::move(entry));
        }
        return S_OK;
    }

    HRESULT Load(const Entry& entry, Variant& value) const {
        if (entry.objectType == VT_EMPTY) {
            value = entry.value;
            return S_OK;
        }
        return DeserializeObject(entry.objectBytes, entry.objectType, value);
    }
};

namespace {

class PropertyBagObject final : public IPropertyBag, public ComObject {
public:
    explicit PropertyBagObject(std::shared_ptr<MemoryPropertyBag::State> state) noexcept
        : m_state(std::move(state)) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IPropertyBag) return E_NOINTERFACE;
        *object = static_cast<IPropertyBag*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }

    // A missing key is E_INVALIDARG, as a form's bag answers; a requested type
    // (pVar->vt on entry) is honoured through VariantChangeType.
    STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
        if (!name || !value) return E_POINTER;
        m_state->reads.emplace_back(name);
        if (HRESULT hr = MemoryPropertyBag::State::FailureFor(m_state->readFailures, name); FAILED(hr)) return hr;
        const MemoryPropertyBag::State::Entry* entry = m_state->Find(name);
        if (!entry) return E_INVALIDARG;
        Variant stored;
        HRESULT hr = m_state->Load(*entry, stored);
        if (FAILED(hr)) return hr;
        const VARTYPE requested = value->vt;
        VARIANT result;
        ::VariantInit(&result);
        if (requested == VT_EMPTY || requested == stored.vt() || m_state->answerStoredTypes)
            hr = ::VariantCopy(&result, stored.ptr());
        else
            hr = ::VariantChangeType(&result, stored.ptr(), 0, requested);
        if (FAILED(hr)) return hr;
        *value = result;  // the caller's VARIANT held only a type, nothing to free
        return S_OK;
    }

    STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override {
        if (!name || !value) return E_POINTER;
        m_state->writes.emplace_back(name);
        if (HRESULT hr = MemoryPropertyBag::State::FailureFor(m_state->writeFailures, name); FAILED(hr))
            return hr;
        return m_state->Store(name, *value);
    }

private:
    std::shared_ptr<MemoryPropertyBag::State> m_state;
};

void SetFailure(std::vector<std::pair<std::wstring, HRESULT>>& failures, std::wstring_view name, HRESULT hr) {
    std::erase_if(failures, [name](const auto& failure) { return SameName(failure.first, name); });
    if (FAILED(hr)) failures.emplace_back(std::wstring(name), hr);
}

}  // namespace

MemoryPropertyBag::MemoryPropertyBag(ObjectStorage objects)
    : m_state(std::make_shared<State>()),
      m_bag(com_ptr<IPropertyBag>::attach(new PropertyBagObject(m_state))) {
    m_state->objects = objects;
}

MemoryPropertyBag::~MemoryPropertyBag() = default;

std::vector<std::wstring> MemoryPropertyBag::Keys() const {
    std::vector<std::wstring> keys;
    for (const State::Entry& entry : m_state->entries) keys.push_back(entry.name);
    return keys;
}

bool MemoryPropertyBag::Has(std::wstring_view name) const { return m_state->Find(name) != nullptr; }

std::optional<Variant> MemoryPropertyBag::Get(std::wstring_view name) const {
    const State::Entry* entry = m_state->Find(name);
    if (!entry) return std::nullopt;
    Variant value;
    if (FAILED(m_state->Load(*entry, value))) throw std::runtime_error("cannot recreate the object " + Narrow(name));
    return value;
}

void MemoryPropertyBag::Set(std::wstring_view name, const Variant& value) {
    if (FAILED(m_state->Store(name, value.get()))) throw std::runtime_error("cannot store " + Narrow(name));
}

void MemoryPropertyBag::Remove(std::wstring_view name) {
    std::erase_if(m_state->entries, [name](const State::Entry& entry) { return SameName(entry.name, name); });
}

void MemoryPropertyBag::Clear() { m_state->entries.clear(); }
size_t MemoryPropertyBag::Size() const { return m_state->entries.size(); }
const std::vector<std::wstring>& MemoryPropertyBag::Reads() const noexcept { return m_state->reads; }
const std::vector<std::wstring>& MemoryPropertyBag::Writes() const noexcept { return m_state->writes; }

void MemoryPropertyBag::ClearLog() {
    m_state->reads.clear();
    m_state->writes.clear();
}

void MemoryPropertyBag::FailRead(std::wstring_view name, HRESULT hr) { SetFailure(m_state->readFailures, name, hr); }
void MemoryPropertyBag::FailWrite(std::wstring_view name, HRESULT hr) { SetFailure(m_state->writeFailures, name, hr); }
void MemoryPropertyBag::AnswerStoredTypes(bool asStored) { m_state->answerStoredTypes = asStored; }

}  // namespace zo::test
