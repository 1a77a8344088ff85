// Identity, OLE object and container-facing parts of the control base.
#include "runtime/activex_control.h"

#include <olectl.h>

#include "runtime/event_args.h"
#include "runtime/module.h"
#include "runtime/type_library.h"

namespace zo {

ActiveXControl::ActiveXControl(const ControlClassInfo& info) : m_info(info) {
    ModuleAddRef();
    m_events = std::make_unique<ConnectionPoint>(*this, *m_info.eventInterface);
    m_propertyNotify = std::make_unique<ConnectionPoint>(*this, IID_IPropertyNotifySink);
    m_surface.Create(*this);
}

ActiveXControl::~ActiveXControl() {
    m_surface.Destroy();
    ModuleRelease();
}

STDMETHODIMP ActiveXControl::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleObject))
        *out = static_cast<IOleObject*>(this);
    else if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, *m_info.defaultInterface))
        *out = DefaultDispatch();
    else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject))
        *out = static_cast<IOleInPlaceObject*>(this);
    else if (IsEqualIID(iid, IID_IOleInPlaceActiveObject))
        *out = static_cast<IOleInPlaceActiveObject*>(this);
    else if (IsEqualIID(iid, IID_IOleControl))
        *out = static_cast<IOleControl*>(this);
    else if (IsEqualIID(iid, IID_IViewObject) || IsEqualIID(iid, IID_IViewObject2))
        *out = static_cast<IViewObject2*>(this);
    else if (IsEqualIID(iid, IID_IPersist) || IsEqualIID(iid, IID_IPersistPropertyBag))
        *out = static_cast<IPersistPropertyBag*>(this);
    else if (IsEqualIID(iid, IID_IPersistStreamInit))
        *out = static_cast<IPersistStreamInit*>(this);
    else if (IsEqualIID(iid, IID_IPersistStorage))
        *out = static_cast<IPersistStorage*>(this);
    else if (IsEqualIID(iid, IID_IConnectionPointContainer))
        *out = static_cast<IConnectionPointContainer*>(this);
    else if (IsEqualIID(iid, IID_IProvideClassInfo) || IsEqualIID(iid, IID_IProvideClassInfo2))
        *out = static_cast<IProvideClassInfo2*>(this);
    else if (IsEqualIID(iid, IID_ISupportErrorInfo))
        *out = static_cast<ISupportErrorInfo*>(this);
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) ActiveXControl::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }

STDMETHODIMP_(ULONG) ActiveXControl::Release() {
    const LONG refs = ::InterlockedDecrement(&m_refs);
    if (refs != 0) return static_cast<ULONG>(refs);
    // The terminate handler may hand out and drop references (events,
    // pending messages); hold one for it so that it cannot delete us twice.
    m_refs = 1;
    Terminate();
    delete this;
    return 0;
}

void ActiveXControl::Terminate() noexcept {
    if (std::exchange(m_terminated, true)) return;
    try {
        UserControl_Terminate();
    } catch (...) {
    }
    m_events->DisconnectAll();
    m_propertyNotify->DisconnectAll();
}

// --- IOleObject -------------------------------------------------------

STDMETHODIMP ActiveXControl::SetClientSite(IOleClientSite* site) {
    const bool firstSite = site && !m_site;
    m_site = com_ptr<IOleClientSite>(site);
    m_ambient.SetSite(m_site);
    if (firstSite && m_initialised && !m_terminated) {
        com_ptr<IUnknown> self(static_cast<IOleObject*>(this));
        try {
            UserControl_Sited();
        } catch (...) {
        }
    }
    if (!site) {
        // The container is letting go: break every reference cycle.
        if (m_inPlaceActive) InPlaceDeactivate();
        m_inPlaceSite.reset();
        m_viewSink.reset();
    }
    return S_OK;
}

STDMETHODIMP ActiveXControl::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    m_site.copy_to(site);
    return S_OK;
}

STDMETHODIMP ActiveXControl::Close(DWORD saveOption) {
    com_ptr<IUnknown> self(static_cast<IOleObject*>(this));
    if (m_site && m_dirty && (saveOption == OLECLOSE_SAVEIFDIRTY)) m_site->SaveObject();
    if (m_inPlaceActive) InPlaceDeactivate();
    if (m_adviseHolder) m_adviseHolder->SendOnClose();
    m_adviseHolder.reset();
    m_viewSink.reset();
    m_inPlaceSite.reset();
    m_events->DisconnectAll();
    m_propertyNotify->DisconnectAll();
    return S_OK;
}

STDMETHODIMP ActiveXControl::GetMoniker(DWORD, DWORD, IMoniker** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ActiveXControl::GetClipboardData(DWORD, IDataObject** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ActiveXControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT position) {
    switch (verb) {
        case OLEIVERB_HIDE:
            if (m_uiActive) UIDeactivate();
            ::ShowWindow(m_surface.hWnd(), SW_HIDE);
            return S_OK;
        case OLEIVERB_SHOW:
        case OLEIVERB_INPLACEACTIVATE:
            return InPlaceActivate(verb, site, parent, position);
        case OLEIVERB_PRIMARY:
        case OLEIVERB_OPEN:
        case OLEIVERB_UIACTIVATE: {
            const HRESULT hr = InPlaceActivate(verb, site, parent, position);
            return FAILED(hr) ? hr : UIActivate();
        }
        case OLEIVERB_PROPERTIES:
            return OLEOBJ_S_CANNOT_DOVERB_NOW;
        default:
            return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
    }
}

STDMETHODIMP ActiveXControl::EnumVerbs(IEnumOLEVERB** out) { return ::OleRegEnumVerbs(*m_info.clsid, out); }

STDMETHODIMP ActiveXControl::GetUserClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = *m_info.clsid;
    return S_OK;
}

STDMETHODIMP ActiveXControl::GetUserType(DWORD form, LPOLESTR* type) {
    return ::OleRegGetUserType(*m_info.clsid, form, type);
}

STDMETHODIMP ActiveXControl::Advise(IAdviseSink* sink, DWORD* connection) {
    if (!m_adviseHolder && FAILED(::CreateOleAdviseHolder(m_adviseHolder.put()))) return E_OUTOFMEMORY;
    return m_adviseHolder->Advise(sink, connection);
}

STDMETHODIMP ActiveXControl::Unadvise(DWORD connection) {
    return m_adviseHolder ? m_adviseHolder->Unadvise(connection) : OLE_E_NOCONNECTION;
}

STDMETHODIMP ActiveXControl::EnumAdvise(IEnumSTATDATA** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return m_adviseHolder ? m_adviseHolder->EnumAdvise(out) : S_OK;
}

STDMETHODIMP ActiveXControl::GetMiscStatus(DWORD, DWORD* status) {
    if (!status) return E_POINTER;
    *status = m_info.miscStatus;
    return S_OK;
}

// --- IOleControl ------------------------------------------------------

STDMETHODIMP ActiveXControl::GetControlInfo(CONTROLINFO* info) {
    if (!info) return E_POINTER;
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
}

STDMETHODIMP ActiveXControl::OnAmbientPropertyChange(DISPID dispid) {
    const wchar_t* name = L"";
    switch (dispid) {
        case DISPID_AMBIENT_DISPLAYNAME: name = L"DisplayName"; break;
        case DISPID_AMBIENT_USERMODE: name = L"UserMode"; break;
        case DISPID_AMBIENT_FONT: name = L"Font"; break;
        case DISPID_AMBIENT_BACKCOLOR: name = L"BackColor"; break;
        case DISPID_AMBIENT_FORECOLOR: name = L"ForeColor"; break;
        default: break;
    }
    com_ptr<IUnknown> self(static_cast<IOleObject*>(this));
    try {
        UserControl_AmbientChanged(name);
    } catch (...) {
    }
    return S_OK;
}

STDMETHODIMP ActiveXControl::FreezeEvents(BOOL freeze) {
    m_freezeEvents += freeze ? 1 : (m_freezeEvents > 0 ? -1 : 0);
    return S_OK;
}

// --- Connection points, class information, error information -----------

STDMETHODIMP ActiveXControl::EnumConnectionPoints(IEnumConnectionPoints** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return GuardedCall(IID_IConnectionPointContainer, [&] {
        return CreateConnectionPointEnumerator(*static_cast<IOleObject*>(this),
                                               {m_events.get(), m_propertyNotify.get()}, out);
    });
}

STDMETHODIMP ActiveXControl::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, m_events->Iid()))
        *out = m_events.get();
    else if (IsEqualIID(iid, IID_IPropertyNotifySink))
        *out = m_propertyNotify.get();
    if (!*out) return CONNECT_E_NOCONNECTION;
    (*out)->AddRef();
    return S_OK;
}

STDMETHODIMP ActiveXControl::GetClassInfo(ITypeInfo** out) {
    if (!out) return E_POINTER;
    com_ptr<ITypeInfo> info = TypeInfoOf(*m_info.clsid);
    *out = info.detach();
    return *out ? S_OK : TYPE_E_ELEMENTNOTFOUND;
}

STDMETHODIMP ActiveXControl::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = *m_info.eventInterface;
    return S_OK;
}

STDMETHODIMP ActiveXControl::InterfaceSupportsErrorInfo(REFIID iid) {
    return IsEqualIID(iid, *m_info.defaultInterface) ? S_OK : S_FALSE;
}

void ActiveXControl::PropertyChanged(const wchar_t* propertyName) noexcept {
    m_dirty = true;
    const DISPID dispid = DispIdOfName(*m_info.defaultInterface, propertyName);
    com_ptr<IUnknown> self(static_cast<IOleObject*>(this));
    // A notification that cannot be delivered is dropped; the change stands.
    (void)GuardedCall(IID_IPropertyNotifySink, [&] {
        m_propertyNotify->ForEachSink(
            [dispid](IUnknown& sink) { static_cast<IPropertyNotifySink&>(sink).OnChanged(dispid); });
    });
    NotifyViewChange();
}

void ActiveXControl::RaiseControlEvent(DISPID dispid, EventArgs& args) noexcept {
    if (m_freezeEvents > 0 || m_terminated) return;
    com_ptr<IUnknown> self(static_cast<IOleObject*>(this));
    RaiseEvent(*m_events, dispid, args);
}

void ActiveXControl::NotifyViewChange() noexcept {
    if (m_viewSink) m_viewSink->OnViewChange(DVASPECT_CONTENT, -1);
}

}  // namespace zo
