// The ActiveX control base: everything that makes one of our controls an
// OLE control in any container. It sites the control, activates it in place
// inside the container's window, renders it for snapshots, keeps its
// connection points, reads the container's ambient properties and routes
// persistence (property bag, stream, storage) to the control's own
// InitProperties / ReadProperties / WriteProperties handlers.
//
// A derived control adds its dual interface and overrides the handlers.
#pragma once

#include <ocidl.h>
#include <olectl.h>

#include <memory>
#include <string>

#include "common/com_ptr.h"
#include "runtime/ambient.h"
#include "runtime/connection_point.h"
#include "runtime/control_surface.h"
#include "runtime/mouse_route.h"

namespace zo {

struct ControlClassInfo {
    const CLSID* clsid;
    const IID* defaultInterface;
    const IID* eventInterface;
    DWORD miscStatus;
};

class ActiveXControl : public IOleObject,
                       public IOleInPlaceObject,
                       public IOleInPlaceActiveObject,
                       public IOleControl,
                       public IViewObject2,
                       public IPersistPropertyBag,
                       public IPersistStreamInit,
                       public IPersistStorage,
                       public IConnectionPointContainer,
                       public IProvideClassInfo2,
                       public ISupportErrorInfo,
                       protected WindowMessageHandler,
                       private SurfaceMouseHandler {
public:
    explicit ActiveXControl(const ControlClassInfo& info);
    ActiveXControl(const ActiveXControl&) = delete;
    ActiveXControl& operator=(const ActiveXControl&) = delete;

    // IUnknown, shared by every interface of the control.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override;
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject** out) override;
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT position) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** out) override;
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override;
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
    STDMETHODIMP Unadvise(DWORD connection) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** out) override;
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow / IOleInPlaceObject / IOleInPlaceActiveObject
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(LPMSG message) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

    // IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
    STDMETHODIMP OnMnemonic(LPMSG) override { return S_OK; }
    STDMETHODIMP OnAmbientPropertyChange(DISPID dispid) override;
    STDMETHODIMP FreezeEvents(BOOL freeze) override;

    // IViewObject2
    STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetInfo,
                      HDC drawDc, LPCRECTL bounds, LPCRECTL windowBounds, BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR),
                      ULONG_PTR contArg) override;
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colours) override;
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;

    // IPersist, IPersistPropertyBag, IPersistStreamInit, IPersistStorage
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP InitNew() override;
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Load(LPSTREAM stream) override;
    STDMETHODIMP Save(LPSTREAM stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
    STDMETHODIMP InitNew(IStorage* storage) override;
    STDMETHODIMP Load(IStorage* storage) override;
    STDMETHODIMP Save(IStorage* storage, BOOL sameAsLoad) override;
    STDMETHODIMP SaveCompleted(IStorage*) override { return S_OK; }
    STDMETHODIMP HandsOffStorage() override { return S_OK; }

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override;
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

    // IProvideClassInfo2
    STDMETHODIMP GetClassInfo(ITypeInfo** out) override;
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

    // ISupportErrorInfo
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;

protected:
    virtual ~ActiveXControl();

    // The control's dual interface, for IDispatch and the default interface.
    virtual IDispatch* DefaultDispatch() noexcept = 0;

    // Handlers of the container events, in the order a container causes them.
    virtual void UserControl_InitProperties() {}
    virtual void UserControl_ReadProperties(IPropertyBag& bag) { (void)bag; }
    virtual void UserControl_WriteProperties(IPropertyBag& bag) { (void)bag; }
    virtual void UserControl_Show() {}
    virtual void UserControl_Paint() {}
    virtual void UserControl_Resize() {}
    virtual void UserControl_AmbientChanged(const std::wstring& propertyName) { (void)propertyName; }
    virtual void UserControl_Terminate() {}
    // A client site arrived after the properties were initialised or loaded
    // (containers that initialise a control before siting it).
    virtual void UserControl_Sited() {}
    // The mouse on the control's own surface, in twips (runtime/mouse_route.h).
    virtual void UserControl_MouseDown(SurfaceMouse& mouse) { (void)mouse; }
    virtual void UserControl_MouseMove(SurfaceMouse& mouse) { (void)mouse; }
    virtual void UserControl_MouseUp(SurfaceMouse& mouse) { (void)mouse; }
    virtual void UserControl_Click() {}
    virtual void UserControl_DblClick() {}
    // Keys reaching the control's own window: a handler may change the key
    // or drop it (0).
    virtual void UserControl_KeyDown(int16_t& keyCode, int16_t& shift) { (void)keyCode, (void)shift; }
    virtual void UserControl_KeyPress(int16_t& keyAscii) { (void)keyAscii; }
    virtual void UserControl_KeyUp(int16_t& keyCode, int16_t& shift) { (void)keyCode, (void)shift; }
    // Messages the control wants before the base handles them.
    virtual bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) noexcept;

    // Reports a changed persisted property to the container and marks the
    // control dirty.
    void PropertyChanged(const wchar_t* propertyName) noexcept;
    // Raises an event on the event interface (nothing while events are frozen).
    void RaiseControlEvent(DISPID dispid, class EventArgs& args) noexcept;

    [[nodiscard]] ControlSurface& Surface() noexcept { return m_surface; }
    [[nodiscard]] const ControlSurface& Surface() const noexcept { return m_surface; }
    [[nodiscard]] Ambient& AmbientProperties() noexcept { return m_ambient; }
    [[nodiscard]] bool IsInPlaceActive() const noexcept { return m_inPlaceActive; }
    [[nodiscard]] bool IsInitialised() const noexcept { return m_initialised; }
    // The control is being torn down (or has been): a handler that raised an
    // event checks this before it goes on.
    [[nodiscard]] bool IsTerminated() const noexcept { return m_terminated; }
    // A reference to the control for the length of a call that can raise an
    // event, since a host may release the control inside it; none once the
    // control is being torn down.
    [[nodiscard]] com_ptr<IUnknown> KeepAlive() noexcept {
        if (m_terminated) return {};
        return com_ptr<IUnknown>(static_cast<IOleObject*>(this));
    }

    // Asks the container for a new size of the control, in twips (the
    // Width and Height extender properties).
    void SetExtentTwips(double widthTwips, double heightTwips) noexcept;
    [[nodiscard]] double WidthTwips() const noexcept;
    [[nodiscard]] double HeightTwips() const noexcept;

    // Shows a popup menu at a position in twips of the control (the
    // cursor position when not given).
    void ShowPopupMenu(HMENU menu, UINT flags, const POINT* twips, UINT defaultItem) noexcept;

    // WindowMessageHandler
    bool HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT* result) noexcept override;
    void OnWindowDestroyed() noexcept override {}

private:
    HRESULT InPlaceActivate(LONG verb, IOleClientSite* site, HWND parent, LPCRECT position) noexcept;
    HRESULT UIActivate() noexcept;
    HRESULT LoadFromBag(IPropertyBag& bag) noexcept;
    HRESULT InitNewOnce() noexcept;
    void Terminate() noexcept;
    void PaintInto(HDC dc) noexcept;
    [[nodiscard]] bool EnsureInitialised() noexcept;
    void NotifyViewChange() noexcept;
    // The focus entered the control's window or one of its children: the
    // control becomes UI-active and tells its site; and the focus left both.
    void FocusEntered() noexcept;
    void FocusLeft(HWND newFocus) noexcept;
    bool RouteMouse(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    // WM_KEYDOWN, WM_CHAR, WM_KEYUP (and their system forms) to the key
    // handlers; false when a handler dropped the key.
    bool RouteKey(UINT message, WPARAM& wParam) noexcept;

    // SurfaceMouseHandler: the mouse events go to the UserControl_ handlers.
    void OnMouseDown(SurfaceMouse& mouse) override;
    void OnMouseMove(SurfaceMouse& mouse) override;
    void OnMouseUp(SurfaceMouse& mouse) override;
    void OnClick() override;
    void OnDblClick() override;

    LONG m_refs = 1;
    ControlClassInfo m_info;
    ControlSurface m_surface;
    Ambient m_ambient;
    com_ptr<IOleClientSite> m_site;
    com_ptr<IOleInPlaceSite> m_inPlaceSite;
    com_ptr<IOleAdviseHolder> m_adviseHolder;
    com_ptr<IAdviseSink> m_viewSink;
    DWORD m_viewAdviseFlags = 0;
    std::unique_ptr<ConnectionPoint> m_events;
    std::unique_ptr<ConnectionPoint> m_propertyNotify;
    SIZEL m_extent{2540, 2540};  // HIMETRIC
    bool m_initialised = false;
    bool m_dirty = false;
    bool m_inPlaceActive = false;
    bool m_uiActive = false;
    bool m_terminated = false;
    bool m_hasFocus = false;
    int m_freezeEvents = 0;
    MouseRoute m_mouse;
};

}  // namespace zo

// Every COM method of a control runs its body through GuardedCall.
#include "runtime/guarded_call.h"
