#include "tests/host/client_site.h"

#include <utility>

namespace zo::test {

namespace {

int ScreenDpi(int index) {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, index) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

constexpr float kHimetricPerInch = 2540.0f;

}  // namespace

ClientSite::ClientSite(std::shared_ptr<SiteState> state, com_ptr<IOleInPlaceFrame> frame) noexcept
    : m_state(std::move(state)), m_frame(std::move(frame)) {}

com_ptr<ClientSite> ClientSite::Create(std::shared_ptr<SiteState> state, com_ptr<IOleInPlaceFrame> frame) {
    return com_ptr<ClientSite>::attach(new ClientSite(std::move(state), std::move(frame)));
}

STDMETHODIMP ClientSite::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *object = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite || iid == IID_IOleInPlaceSiteEx)
        *object = static_cast<IOleInPlaceSiteEx*>(this);
    else if (iid == IID_IOleControlSite)
        *object = static_cast<IOleControlSite*>(this);
    else if (iid == IID_IDispatch && m_state->ambient.supply != AmbientSupply::NoDispatch)
        *object = static_cast<IDispatch*>(this);
    else if (iid == IID_IAdviseSink)
        *object = static_cast<IAdviseSink*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

// IOleClientSite

STDMETHODIMP ClientSite::SaveObject() {
    m_state->Record(L"SaveObject");
    return S_OK;
}

STDMETHODIMP ClientSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

// A container with one control offers no IOleContainer to enumerate.
STDMETHODIMP ClientSite::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP ClientSite::ShowObject() {
    m_state->Record(L"ShowObject");
    return S_OK;
}

STDMETHODIMP ClientSite::OnShowWindow(BOOL show) {
    m_state->Record(show ? L"OnShowWindow(TRUE)" : L"OnShowWindow(FALSE)");
    return S_OK;
}

STDMETHODIMP ClientSite::RequestNewObjectLayout() {
    m_state->Record(L"RequestNewObjectLayout");
    return E_NOTIMPL;
}

// IOleWindow

STDMETHODIMP ClientSite::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = m_state->frame;
    return m_state->frame ? S_OK : E_FAIL;
}

STDMETHODIMP ClientSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

// IOleInPlaceSite

STDMETHODIMP ClientSite::CanInPlaceActivate() {
    m_state->Record(L"CanInPlaceActivate");
    return S_OK;
}

STDMETHODIMP ClientSite::OnInPlaceActivate() {
    m_state->Record(L"OnInPlaceActivate");
    m_state->inPlaceActive = true;
    return S_OK;
}

STDMETHODIMP ClientSite::OnUIActivate() {
    m_state->Record(L"OnUIActivate");
    m_state->uiActive = true;
    return S_OK;
}

STDMETHODIMP ClientSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                          LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) {
    m_state->Record(L"GetWindowContext");
    if (!frame || !document || !position || !clip || !frameInfo) return E_POINTER;
    m_frame.copy_to(frame);
    *document = nullptr;  // the frame is also the document window
    *position = m_state->position;
    ::GetClientRect(m_state->frame, clip);
    frameInfo->fMDIApp = FALSE;
    frameInfo->hwndFrame = m_state->frame;
    frameInfo->haccel = nullptr;
    frameInfo->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP ClientSite::Scroll(SIZE) { return E_NOTIMPL; }

STDMETHODIMP ClientSite::OnUIDeactivate(BOOL) {
    m_state->Record(L"OnUIDeactivate");
    m_state->uiActive = false;
    return S_OK;
}

STDMETHODIMP ClientSite::OnInPlaceDeactivate() {
    m_state->Record(L"OnInPlaceDeactivate");
    m_state->inPlaceActive = false;
    return S_OK;
}

STDMETHODIMP ClientSite::DiscardUndoState() { return E_NOTIMPL; }
STDMETHODIMP ClientSite::DeactivateAndUndo() { return E_NOTIMPL; }

STDMETHODIMP ClientSite::OnPosRectChange(LPCRECT position) {
    m_state->Record(L"OnPosRectChange");
    if (!position) return E_POINTER;
    m_state->position = *position;
    // Copied: the callback may be replaced while it runs.
    if (auto callback = m_state->onPosRectChange) callback(*position);
    return S_OK;
}

// IOleInPlaceSiteEx

STDMETHODIMP ClientSite::OnInPlaceActivateEx(BOOL* noRedraw, DWORD) {
    m_state->Record(L"OnInPlaceActivateEx");
    if (noRedraw) *noRedraw = FALSE;
    m_state->inPlaceActive = true;
    return S_OK;
}

STDMETHODIMP ClientSite::OnInPlaceDeactivateEx(BOOL) {
    m_state->Record(L"OnInPlaceDeactivateEx");
    m_state->inPlaceActive = false;
    return S_OK;
}

STDMETHODIMP ClientSite::RequestUIActivate() {
    m_state->Record(L"RequestUIActivate");
    return S_OK;
}

// IOleControlSite

STDMETHODIMP ClientSite::OnControlInfoChanged() {
    m_state->Record(L"OnControlInfoChanged");
    return S_OK;
}

STDMETHODIMP ClientSite::LockInPlaceActive(BOOL lock) {
    m_state->Record(lock ? L"LockInPlaceActive(TRUE)" : L"LockInPlaceActive(FALSE)");
    return S_OK;
}

// No extender object: the container adds no properties of its own.
STDMETHODIMP ClientSite::GetExtendedControl(IDispatch** extender) {
    if (extender) *extender = nullptr;
    return E_NOTIMPL;
}

// The container's own units are the frame's pixels.
STDMETHODIMP ClientSite::TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) {
    if (!himetric || !container) return E_POINTER;
    const float dpiX = static_cast<float>(ScreenDpi(LOGPIXELSX));
    const float dpiY = static_cast<float>(ScreenDpi(LOGPIXELSY));
    if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
        container->x = static_cast<float>(himetric->x) * dpiX / kHimetricPerInch;
        container->y = static_cast<float>(himetric->y) * dpiY / kHimetricPerInch;
    } else if (flags & XFORMCOORDS_CONTAINERTOHIMETRIC) {
        himetric->x = static_cast<LONG>(container->x * kHimetricPerInch / dpiX + 0.5f);
        himetric->y = static_cast<LONG>(container->y * kHimetricPerInch / dpiY + 0.5f);
    } else {
        return E_INVALIDARG;
    }
    return S_OK;
}

STDMETHODIMP ClientSite::TranslateAccelerator(MSG*, DWORD) { return S_FALSE; }

STDMETHODIMP ClientSite::OnFocus(BOOL gotFocus) {
    m_state->Record(gotFocus ? L"OnFocus(TRUE)" : L"OnFocus(FALSE)");
    return S_OK;
}

STDMETHODIMP ClientSite::ShowPropertyFrame() { return E_NOTIMPL; }

// IDispatch

STDMETHODIMP ClientSite::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP ClientSite::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ClientSite::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = (i == 0 && m_state->ambient.supply == AmbientSupply::All) ? AmbientDispId(names[i])
                                                                            : DISPID_UNKNOWN;
        if (ids[i] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
    }
    return result;
}

STDMETHODIMP ClientSite::Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO*, UINT*) {
    m_state->ambientReads.push_back(dispid);
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (params && params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
    VARIANT value;
    const HRESULT hr = m_state->ambient.Read(dispid, &value);
    if (FAILED(hr)) return hr;
    if (result)
        *result = value;
    else
        ::VariantClear(&value);
    return S_OK;
}

// IAdviseSink

STDMETHODIMP_(void) ClientSite::OnDataChange(FORMATETC*, STGMEDIUM*) {}

STDMETHODIMP_(void) ClientSite::OnViewChange(DWORD, LONG) { ++m_state->viewChanges; }

STDMETHODIMP_(void) ClientSite::OnRename(IMoniker*) {}

STDMETHODIMP_(void) ClientSite::OnSave() { m_state->Record(L"OnSave"); }

STDMETHODIMP_(void) ClientSite::OnClose() { m_state->Record(L"OnClose"); }

}  // namespace zo::test
