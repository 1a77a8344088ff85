// Persistence: a new control, a control loaded from a property bag, a stream
// or a storage, and saving back to each. All three routes run the control's
// own property-bag handlers.
#include "runtime/activex_control.h"
#include "runtime/stream_property_bag.h"

namespace zo {

namespace {

constexpr wchar_t kContentsStream[] = L"Contents";

// A property bag made for one load or save, released when it goes.
struct ScopedStreamBag {
    StreamPropertyBag* bag = StreamPropertyBag::Create();
    ScopedStreamBag() = default;
    ScopedStreamBag(const ScopedStreamBag&) = delete;
    ScopedStreamBag& operator=(const ScopedStreamBag&) = delete;
    ~ScopedStreamBag() { bag->Release(); }
};

}  // namespace

STDMETHODIMP ActiveXControl::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = *m_info.clsid;
    return S_OK;
}

bool ActiveXControl::EnsureInitialised() noexcept {
    if (m_initialised) return false;
    m_initialised = true;
    return true;
}

HRESULT ActiveXControl::InitNewOnce() noexcept {
    if (!EnsureInitialised()) return CO_E_ALREADYINITIALIZED;
    com_ptr<IUnknown> self(static_cast<IOleObject*>(this));
    try {
        UserControl_InitProperties();
    } catch (...) {
    }
    m_dirty = false;
    return S_OK;
}

HRESULT ActiveXControl::LoadFromBag(IPropertyBag& bag) noexcept {
    if (!EnsureInitialised()) return CO_E_ALREADYINITIALIZED;
    com_ptr<IUnknown> self(static_cast<IOleObject*>(this));
    try {
        UserControl_ReadProperties(bag);
    } catch (...) {
    }
    m_dirty = false;
    return S_OK;
}

STDMETHODIMP ActiveXControl::InitNew() { return InitNewOnce(); }

STDMETHODIMP ActiveXControl::Load(IPropertyBag* bag, IErrorLog*) {
    if (!bag) return E_POINTER;
    return LoadFromBag(*bag);
}

STDMETHODIMP ActiveXControl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
    if (!bag) return E_POINTER;
    if (!m_initialised) return E_UNEXPECTED;
    com_ptr<IUnknown> self(static_cast<IOleObject*>(this));
    try {
        UserControl_WriteProperties(*bag);
    } catch (...) {
    }
    if (clearDirty) m_dirty = false;
    return S_OK;
}

STDMETHODIMP ActiveXControl::IsDirty() { return m_dirty ? S_OK : S_FALSE; }

STDMETHODIMP ActiveXControl::Load(LPSTREAM stream) {
    if (!stream) return E_POINTER;
    if (m_initialised) return CO_E_ALREADYINITIALIZED;
    return GuardedCall(IID_IPersistStreamInit, [&] {
        ScopedStreamBag scoped;
        const HRESULT hr = scoped.bag->LoadFrom(*stream);
        if (FAILED(hr)) return hr;
        return LoadFromBag(*scoped.bag);
    });
}

STDMETHODIMP ActiveXControl::Save(LPSTREAM stream, BOOL clearDirty) {
    if (!stream) return E_POINTER;
    return GuardedCall(IID_IPersistStreamInit, [&] {
        ScopedStreamBag scoped;
        HRESULT hr = Save(scoped.bag, clearDirty, TRUE);
        if (SUCCEEDED(hr)) hr = scoped.bag->SaveTo(*stream);
        return hr;
    });
}

STDMETHODIMP ActiveXControl::GetSizeMax(ULARGE_INTEGER* size) {
    if (!size) return E_POINTER;
    return GuardedCall(IID_IPersistStreamInit, [&] {
        ScopedStreamBag scoped;
        const bool dirty = m_dirty;
        const HRESULT hr = Save(scoped.bag, FALSE, TRUE);
        m_dirty = dirty;
        size->QuadPart = scoped.bag->SizeEstimate();
        return hr;
    });
}

STDMETHODIMP ActiveXControl::InitNew(IStorage* storage) {
    if (!storage) return E_POINTER;
    return InitNewOnce();
}

STDMETHODIMP ActiveXControl::Load(IStorage* storage) {
    if (!storage) return E_POINTER;
    com_ptr<IStream> stream;
    const HRESULT hr =
        storage->OpenStream(kContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put());
    if (FAILED(hr)) return hr;
    return Load(stream.get());
}

STDMETHODIMP ActiveXControl::Save(IStorage* storage, BOOL) {
    if (!storage) return E_POINTER;
    com_ptr<IStream> stream;
    HRESULT hr = storage->CreateStream(kContentsStream, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                       stream.put());
    if (SUCCEEDED(hr)) hr = Save(stream.get(), TRUE);
    if (SUCCEEDED(hr)) hr = ::WriteClassStg(storage, *m_info.clsid);
    return hr;
}

}  // namespace zo
