// TestContainer: a real OLE control container with one control in a visible
// top-level frame, hosted the way a forms package hosts it: create, site,
// initialise persistence (new or loaded), in-place activate and show.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/com_ptr.h"
#include "tests/host/ambient_properties.h"
#include "tests/host/in_place_frame.h"

namespace zo::test {

class ClientSite;
class InPlaceFrame;
struct SiteState;

// How the control's persistent state is initialised.
enum class Persistence {
    PropertyBag,  // IPersistPropertyBag: Load(bag) or InitNew
    StreamInit,   // IPersistStreamInit: Load(stream) or InitNew
    Storage,      // IPersistStorage: Load(storage) or InitNew(storage)
    None,         // no persistence call at all
};

struct HostOptions {
    RECT position{10, 10, 330, 250};  // in the frame's client area, pixels
    Persistence persistence = Persistence::PropertyBag;
    IPropertyBag* bag = nullptr;  // loaded from when set, else InitNew
    IStream* stream = nullptr;    // loaded from when set, else InitNew
    IStorage* storage = nullptr;  // required for Persistence::Storage
    // False: the control never gets a client site (no ambient properties at
    // all, no activation), as when an object is created outside any form.
    bool clientSite = true;
    // DoVerb(OLEIVERB_INPLACEACTIVATE) then DoVerb(OLEIVERB_SHOW).
    bool activate = true;
};

struct HostResult {
    HRESULT hr = S_OK;
    std::string step;  // the hosting step that failed, empty on success

    [[nodiscard]] bool ok() const noexcept { return SUCCEEDED(hr); }
    [[nodiscard]] std::string Describe() const;
};
void PrintTo(const HostResult& result, std::ostream* out);

class TestContainer {
public:
    explicit TestContainer(SIZE clientSize = {640, 480});
    TestContainer(const TestContainer&) = delete;
    TestContainer& operator=(const TestContainer&) = delete;
    ~TestContainer();

    // Set before Host, or change later and call AmbientChanged.
    [[nodiscard]] AmbientProperties& Ambient() noexcept;

    [[nodiscard]] HostResult Host(REFCLSID clsid, const HostOptions& options = {});
    [[nodiscard]] HostResult Host(std::wstring_view progId, const HostOptions& options = {});

    // IOleControl::OnAmbientPropertyChange.
    [[nodiscard]] HRESULT AmbientChanged(DISPID dispid);
    // IOleControl::FreezeEvents.
    [[nodiscard]] HRESULT FreezeEvents(bool freeze);
    // IOleObject::DoVerb with this container's site, frame and rectangle.
    [[nodiscard]] HRESULT DoVerb(LONG verb);
    // Moves and sizes the control as a container does: SetExtent, then SetObjectRects.
    [[nodiscard]] HRESULT Move(const RECT& position);

    // Saves the control's state through IPersistPropertyBag / IPersistStreamInit / IPersistStorage.
    [[nodiscard]] HRESULT Save(IPropertyBag* bag, bool clearDirty = true, bool saveAllProperties = true);
    [[nodiscard]] HRESULT Save(IStream* stream, bool clearDirty = true);
    [[nodiscard]] HRESULT Save(IStorage* storage);

    // The message loop of this container: keyboard messages go to the active
    // object's TranslateAccelerator first, as a host's loop does.
    int Pump();
    [[nodiscard]] bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

    // Close(OLECLOSE_NOSAVE), SetClientSite(nullptr) and release everything.
    // Idempotent; the destructor calls it.
    void Close();

    [[nodiscard]] IUnknown* Control() const noexcept { return m_control.get(); }
    [[nodiscard]] com_ptr<IDispatch> Dispatch() const { return m_control.query<IDispatch>(); }
    template <typename I>
    [[nodiscard]] com_ptr<I> Query() const { return m_control.query<I>(); }
    // The control's window (IOleWindow::GetWindow); null when it has none.
    [[nodiscard]] HWND ControlHwnd() const;
    [[nodiscard]] HWND FrameHwnd() const noexcept { return m_frame.hwnd(); }
    [[nodiscard]] RECT Position() const noexcept;

    // Calls the control made on the site and frame since Host (or the last clear).
    [[nodiscard]] const std::vector<std::wstring>& SiteCalls() const noexcept;
    [[nodiscard]] size_t CountSiteCalls(std::wstring_view call) const;
    void ClearSiteCalls();
    // Ambient DISPIDs the control asked for, in order.
    [[nodiscard]] const std::vector<DISPID>& AmbientReads() const noexcept;
    [[nodiscard]] bool AmbientWasRead(DISPID dispid) const;
    [[nodiscard]] int ViewChanges() const noexcept;
    [[nodiscard]] bool InPlaceActive() const noexcept;
    [[nodiscard]] bool UIActive() const noexcept;
    [[nodiscard]] IOleInPlaceActiveObject* ActiveObject() const noexcept;

    // What the last Close found: the references left on the control after the
    // container dropped its own (0: the control was destroyed), and those left
    // on the site object (0: the control released its site).
    [[nodiscard]] ULONG ControlRefsAfterClose() const noexcept { return m_controlRefsAfterClose; }
    [[nodiscard]] ULONG SiteRefsAfterClose() const noexcept { return m_siteRefsAfterClose; }

private:
    [[nodiscard]] HRESULT InitPersistence(const HostOptions& options, std::string& step);
    [[nodiscard]] HRESULT ConnectSite(std::string& step);
    [[nodiscard]] HRESULT SetExtentFromPosition();

    std::shared_ptr<SiteState> m_state;
    FrameWindow m_frame;
    com_ptr<InPlaceFrame> m_frameObject;
    com_ptr<ClientSite> m_site;
    com_ptr<IUnknown> m_control;
    com_ptr<IOleObject> m_oleObject;
    bool m_siteSet = false;
    DWORD m_adviseCookie = 0;
    bool m_viewAdvised = false;
    bool m_moving = false;
    ULONG m_controlRefsAfterClose = 0;
    ULONG m_siteRefsAfterClose = 0;
};

}  // namespace zo::test
