#include "runtime/stream_property_bag.h"

#include <olectl.h>

#include <cstdint>

#include "common/com_ptr.h"
#include "runtime/guarded_call.h"

namespace zo {

namespace {

constexpr uint32_t kSignature = 0x42504F5A;  // "ZOPB"
constexpr uint32_t kVersion = 1;
constexpr uint32_t kMaxEntries = 4096;
constexpr uint32_t kMaxTextLength = 1u << 24;

HRESULT WriteBytes(IStream& stream, const void* data, ULONG size) noexcept {
    ULONG written = 0;
    const HRESULT hr = stream.Write(data, size, &written);
    if (FAILED(hr)) return hr;
    return written == size ? S_OK : STG_E_MEDIUMFULL;
}

HRESULT ReadBytes(IStream& stream, void* data, ULONG size) noexcept {
    ULONG read = 0;
    const HRESULT hr = stream.Read(data, size, &read);
    if (FAILED(hr)) return hr;
    return read == size ? S_OK : STG_E_READFAULT;
}

template <typename T>
HRESULT WriteValue(IStream& stream, const T& value) noexcept {
    return WriteBytes(stream, &value, sizeof(T));
}

template <typename T>
HRESULT ReadValue(IStream& stream, T& value) noexcept {
    return ReadBytes(stream, &value, sizeof(T));
}

HRESULT WriteText(IStream& stream, const wchar_t* text, uint32_t length) noexcept {
    HRESULT hr = WriteValue(stream, length);
    if (SUCCEEDED(hr) && length) hr = WriteBytes(stream, text, length * sizeof(wchar_t));
    return hr;
}

HRESULT ReadText(IStream& stream, std::wstring& text) {
    uint32_t length = 0;
    HRESULT hr = ReadValue(stream, length);
    if (FAILED(hr)) return hr;
    if (length > kMaxTextLength) return STG_E_READFAULT;
    text.assign(length, L'\0');
    return length ? ReadBytes(stream, text.data(), length * sizeof(wchar_t)) : S_OK;
}

// Size in bytes of the fixed-size variant types this bag stores.
ULONG FixedSize(VARTYPE type) noexcept {
    switch (type) {
        case VT_I1: case VT_UI1: return 1;
        case VT_I2: case VT_UI2: case VT_BOOL: return 2;
        case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_R4: case VT_ERROR: return 4;
        case VT_I8: case VT_UI8: case VT_R8: case VT_CY: case VT_DATE: return 8;
        default: return 0;
    }
}

HRESULT WriteObject(IStream& stream, IUnknown* object) noexcept {
    const uint8_t present = object ? 1 : 0;
    HRESULT hr = WriteValue(stream, present);
    if (FAILED(hr) || !object) return hr;
    com_ptr<IPersistStream> persist;
    hr = object->QueryInterface(IID_IPersistStream, persist.put_void());
    if (FAILED(hr)) return hr;
    return ::OleSaveToStream(persist.get(), &stream);
}

// The classes the controls store: fonts and pictures. A stream names the
// class of each object it holds; making an object of any other class would
// let damaged or hostile data have COM create and load whatever it names.
bool IsStoredClass(const CLSID& clsid) noexcept {
    return ::IsEqualCLSID(clsid, CLSID_StdFont) || ::IsEqualCLSID(clsid, CLSID_StdPicture);
}

// What OleLoadFromStream does, for the stored classes only.
HRESULT ReadObject(IStream& stream, VARTYPE type, VARIANT& value) noexcept {
    uint8_t present = 0;
    HRESULT hr = ReadValue(stream, present);
    if (FAILED(hr)) return hr;
    V_VT(&value) = type;
    V_UNKNOWN(&value) = nullptr;
    if (!present) return S_OK;
    CLSID clsid{};
    hr = ::ReadClassStm(&stream, &clsid);
    if (FAILED(hr)) return hr;
    if (!IsStoredClass(clsid)) return STG_E_READFAULT;
    com_ptr<IPersistStream> persist;
    hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistStream, persist.put_void());
    if (SUCCEEDED(hr)) hr = persist->Load(&stream);
    if (FAILED(hr)) return hr;
    const IID& iid = type == VT_DISPATCH ? IID_IDispatch : IID_IUnknown;
    return persist->QueryInterface(iid, reinterpret_cast<void**>(&V_UNKNOWN(&value)));
}

HRESULT WriteVariant(IStream& stream, const VARIANT& value) noexcept {
    const VARTYPE type = V_VT(&value);
    HRESULT hr = WriteValue(stream, type);
    if (FAILED(hr)) return hr;
    if (type == VT_EMPTY || type == VT_NULL) return S_OK;
    if (type == VT_BSTR) return WriteText(stream, V_BSTR(&value), ::SysStringLen(V_BSTR(&value)));
    if (type == VT_UNKNOWN || type == VT_DISPATCH) return WriteObject(stream, V_UNKNOWN(&value));
    const ULONG size = FixedSize(type);
    if (!size) return DISP_E_BADVARTYPE;
    return WriteBytes(stream, &V_UI1(&value), size);
}

HRESULT ReadVariant(IStream& stream, unique_variant& value) {
    value.reset();
    VARTYPE type = VT_EMPTY;
    HRESULT hr = ReadValue(stream, type);
    if (FAILED(hr)) return hr;
    if (type == VT_EMPTY || type == VT_NULL) {
        V_VT(&value) = type;
        return S_OK;
    }
    if (type == VT_BSTR) {
        std::wstring text;
        hr = ReadText(stream, text);
        if (FAILED(hr)) return hr;
        V_VT(&value) = VT_BSTR;
        V_BSTR(&value) = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return V_BSTR(&value) ? S_OK : E_OUTOFMEMORY;
    }
    if (type == VT_UNKNOWN || type == VT_DISPATCH) return ReadObject(stream, type, value);
    const ULONG size = FixedSize(type);
    if (!size) return STG_E_READFAULT;
    V_VT(&value) = type;
    return ReadBytes(stream, &V_UI1(&value), size);
}

}  // namespace

StreamPropertyBag* StreamPropertyBag::Create() { return new StreamPropertyBag(); }

StreamPropertyBag::Entry* StreamPropertyBag::Find(LPCOLESTR name) noexcept {
    for (Entry& entry : m_entries) {
        if (::CompareStringOrdinal(entry.name.c_str(), -1, name, -1, TRUE) == CSTR_EQUAL) return &entry;
    }
    return nullptr;
}

STDMETHODIMP StreamPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
    if (!name || !value) return E_POINTER;
    Entry* entry = Find(name);
    if (!entry) return E_INVALIDARG;
    // The caller passes an empty variant whose type names the type wanted.
    const VARTYPE wanted = V_VT(value);
    ::VariantInit(value);
    if (wanted == VT_EMPTY || wanted == V_VT(&entry->value)) return ::VariantCopy(value, &entry->value);
    return ::VariantChangeType(value, &entry->value, 0, wanted);
}

STDMETHODIMP StreamPropertyBag::Write(LPCOLESTR name, VARIANT* value) {
    if (!name || !value) return E_POINTER;
    return GuardedCall(IID_IPropertyBag, [&] {
        Entry* entry = Find(name);
        if (entry) return entry->value.CopyFrom(*value);
        Entry added;
        added.name = name;
        const HRESULT hr = added.value.CopyFrom(*value);
        if (SUCCEEDED(hr)) m_entries.push_back(std::move(added));
        return hr;
    });
}

HRESULT StreamPropertyBag::SaveTo(IStream& stream) const noexcept {
    HRESULT hr = WriteValue(stream, kSignature);
    if (SUCCEEDED(hr)) hr = WriteValue(stream, kVersion);
    if (SUCCEEDED(hr)) hr = WriteValue(stream, static_cast<uint32_t>(m_entries.size()));
    for (const Entry& entry : m_entries) {
        if (SUCCEEDED(hr)) hr = WriteText(stream, entry.name.data(), static_cast<uint32_t>(entry.name.size()));
        if (SUCCEEDED(hr)) hr = WriteVariant(stream, entry.value);
    }
    return hr;
}

HRESULT StreamPropertyBag::LoadFrom(IStream& stream) noexcept {
    uint32_t signature = 0, version = 0, count = 0;
    HRESULT hr = ReadValue(stream, signature);
    if (SUCCEEDED(hr)) hr = ReadValue(stream, version);
    if (SUCCEEDED(hr)) hr = ReadValue(stream, count);
    if (FAILED(hr)) return hr;
    if (signature != kSignature || version != kVersion || count > kMaxEntries) return STG_E_INVALIDHEADER;
    return GuardedCall(IID_IPropertyBag, [&] {
        for (uint32_t i = 0; i < count; ++i) {
            Entry entry;
            HRESULT read = ReadText(stream, entry.name);
            if (SUCCEEDED(read)) read = ReadVariant(stream, entry.value);
            if (FAILED(read)) return read;
            m_entries.push_back(std::move(entry));
        }
        return S_OK;
    });
}

ULONG StreamPropertyBag::SizeEstimate() const noexcept {
    ULONG size = 12;
    for (const Entry& entry : m_entries) {
        size += 6 + static_cast<ULONG>(entry.name.size() * sizeof(wchar_t)) + 8;
        if (V_VT(&entry.value) == VT_BSTR) size += 4 + ::SysStringByteLen(V_BSTR(&entry.value));
        if (V_VT(&entry.value) == VT_UNKNOWN || V_VT(&entry.value) == VT_DISPATCH) size += 256;
    }
    return size;
}

}  // namespace zo
