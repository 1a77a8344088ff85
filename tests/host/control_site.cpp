#include "tests/host/control_site.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "tests/host/client_site.h"
#include "tests/host/com_object.h"
#include "tests/host/in_place_frame.h"
#include "tests/host/message_pump.h"
#include "tests/host/site_state.h"

namespace zo::test {

namespace {

SIZEL PixelsToHimetric(const RECT& rect) {
    HDC screen = ::GetDC(nullptr);
    const int dpiX = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
    const int dpiY = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    return SIZEL{::MulDiv(rect.right - rect.left, 2540, dpiX), ::MulDiv(rect.bottom - rect.top, 2540, dpiY)};
}

}  // namespace

std::string HostResult::Describe() const {
    if (ok()) return "hosted";
    char code[16];
    std::snprintf(code, sizeof(code), "0x%08lX", static_cast<unsigned long>(hr));
    return step + " failed with " + code;
}

void PrintTo(const HostResult& result, std::ostream* out) { *out << result.Describe(); }

TestContainer::TestContainer(SIZE clientSize)
    : m_state(std::make_shared<SiteState>()), m_frame(clientSize, L"ZoTestContainer") {
    m_state->frame = m_frame.hwnd();
    m_state->ambient.font = DefaultAmbientFont();
}

TestContainer::~TestContainer() { Close(); }

AmbientProperties& TestContainer::Ambient() noexcept { return m_state->ambient; }

HostResult TestContainer::Host(std::wstring_view progId, const HostOptions& options) {
    CLSID clsid;
    const std::wstring name(progId);
    const HRESULT hr = ::CLSIDFromProgID(name.c_str(), &clsid);
    if (FAILED(hr)) return {hr, "CLSIDFromProgID"};
    return Host(clsid, options);
}

HostResult TestContainer::Host(REFCLSID clsid, const HostOptions& options) {
    Close();
    m_state->calls.clear();
    m_state->ambientReads.clear();
    m_state->viewChanges = 0;
    m_state->position = options.position;
    m_frameObject = InPlaceFrame::Create(m_state);
    m_site = ClientSite::Create(m_state, com_ptr<IOleInPlaceFrame>(m_frameObject.get()));

    HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, m_control.put_void());
    if (FAILED(hr)) return {hr, "CoCreateInstance"};
    m_oleObject = m_control.query<IOleObject>();
    if (!m_oleObject && options.clientSite) return {E_NOINTERFACE, "QueryInterface(IOleObject)"};

    std::string step;
    DWORD miscStatus = 0;
    if (m_oleObject) (void)m_oleObject->GetMiscStatus(DVASPECT_CONTENT, &miscStatus);
    const bool siteFirst = options.clientSite && (miscStatus & OLEMISC_SETCLIENTSITEFIRST);
    if (siteFirst && FAILED(hr = ConnectSite(step))) return {hr, step};
    if (FAILED(hr = InitPersistence(options, step))) return {hr, step};
    if (options.clientSite && !siteFirst && FAILED(hr = ConnectSite(step))) return {hr, step};
    if (!options.clientSite) return {};

    // Like a form: tell the control its size before showing it. A control
    // may refuse a size; hosting goes on with the one it keeps.
    (void)SetExtentFromPosition();
    if (options.activate) {
        if (FAILED(hr = DoVerb(OLEIVERB_INPLACEACTIVATE))) return {hr, "DoVerb(OLEIVERB_INPLACEACTIVATE)"};
        if (FAILED(hr = DoVerb(OLEIVERB_SHOW))) return {hr, "DoVerb(OLEIVERB_SHOW)"};
    }
    return {};
}

HRESULT TestContainer::ConnectSite(std::string& step) {
    step = "SetClientSite";
    const HRESULT hr = m_oleObject->SetClientSite(static_cast<IOleClientSite*>(m_site.get()));
    if (FAILED(hr)) return hr;
    m_siteSet = true;
    // The container's name, as a host sets it; not every control cares.
    (void)m_oleObject->SetHostNames(L"ZoTestContainer", nullptr);
    // View notifications are optional: a control without them is still hosted.
    IAdviseSink* sink = static_cast<IAdviseSink*>(m_site.get());
    if (FAILED(m_oleObject->Advise(sink, &m_adviseCookie))) m_adviseCookie = 0;
    if (auto view = m_control.query<IViewObject>())
        m_viewAdvised = SUCCEEDED(view->SetAdvise(DVASPECT_CONTENT, 0, sink));
    // A control that asks for another rectangle gets it, as in any container.
    m_state->onPosRectChange = [this](const RECT& position) {
        // A control that asks again from inside SetObjectRects is not answered twice.
        if (!m_moving) (void)Move(position);
    };
    return S_OK;
}

HRESULT TestContainer::InitPersistence(const HostOptions& options, std::string& step) {
    switch (options.persistence) {
    case Persistence::PropertyBag: {
        auto persist = m_control.query<IPersistPropertyBag>();
        step = "QueryInterface(IPersistPropertyBag)";
        if (!persist) return E_NOINTERFACE;
        step = options.bag ? "IPersistPropertyBag::Load" : "IPersistPropertyBag::InitNew";
        return options.bag ? persist->Load(options.bag, nullptr) : persist->InitNew();
    }
    case Persistence::StreamInit: {
        auto persist = m_control.query<IPersistStreamInit>();
        step = "QueryInterface(IPersistStreamInit)";
        if (!persist) return E_NOINTERFACE;
        step = options.stream ? "IPersistStreamInit::Load" : "IPersistStreamInit::InitNew";
        return options.stream ? persist->Load(options.stream) : persist->InitNew();
    }
    case Persistence::Storage: {
        auto persist = m_control.query<IPersistStorage>();
        step = "QueryInterface(IPersistStorage)";
        if (!persist) return E_NOINTERFACE;
        step = "IPersistStorage storage";
        if (!options.storage) return E_INVALIDARG;
        step = "IPersistStorage::Load";
        // A new storage holds no class: InitNew; a saved one is loaded.
        STATSTG stat{};
        if (SUCCEEDED(options.storage->Stat(&stat, STATFLAG_NONAME)) && stat.clsid == GUID_NULL) {
            step = "IPersistStorage::InitNew";
            return persist->InitNew(options.storage);
        }
        return persist->Load(options.storage);
    }
    case Persistence::None: return S_OK;
    }
    return E_INVALIDARG;
}

HRESULT TestContainer::SetExtentFromPosition() {
    if (!m_oleObject) return E_UNEXPECTED;
    SIZEL extent = PixelsToHimetric(m_state->position);
    return m_oleObject->SetExtent(DVASPECT_CONTENT, &extent);
}

HRESULT TestContainer::AmbientChanged(DISPID dispid) {
    auto control = m_control.query<IOleControl>();
    return control ? control->OnAmbientPropertyChange(dispid) : E_NOINTERFACE;
}

HRESULT TestContainer::FreezeEvents(bool freeze) {
    auto control = m_control.query<IOleControl>();
    return control ? control->FreezeEvents(freeze) : E_NOINTERFACE;
}

HRESULT TestContainer::DoVerb(LONG verb) {
    if (!m_oleObject || !m_siteSet) return E_UNEXPECTED;
    // Held: the control may close itself from inside the verb.
    com_ptr<IOleObject> object = m_oleObject;
    RECT position = m_state->position;
    return object->DoVerb(verb, nullptr, static_cast<IOleClientSite*>(m_site.get()), 0, m_frame.hwnd(),
                          &position);
}

HRESULT TestContainer::Move(const RECT& position) {
    m_state->position = position;
    if (!m_oleObject) return E_UNEXPECTED;
    (void)SetExtentFromPosition();
    auto inPlace = m_control.query<IOleInPlaceObject>();
    if (!inPlace) return E_NOINTERFACE;
    RECT clip;
    ::GetClientRect(m_frame.hwnd(), &clip);
    const RECT requested = position;  // `position` may be the site's own copy
    m_moving = true;
    const HRESULT hr = inPlace->SetObjectRects(&requested, &clip);
    m_moving = false;
    return hr;
}

HRESULT TestContainer::Save(IPropertyBag* bag, bool clearDirty, bool saveAllProperties) {
    auto persist = m_control.query<IPersistPropertyBag>();
    return persist ? persist->Save(bag, clearDirty, saveAllProperties) : E_NOINTERFACE;
}

HRESULT TestContainer::Save(IStream* stream, bool clearDirty) {
    auto persist = m_control.query<IPersistStreamInit>();
    return persist ? persist->Save(stream, clearDirty) : E_NOINTERFACE;
}

HRESULT TestContainer::Save(IStorage* storage) {
    auto persist = m_control.query<IPersistStorage>();
    if (!persist) return E_NOINTERFACE;
    HRESULT hr = ::OleSave(persist.get(), storage, TRUE);
    const HRESULT completed = persist->SaveCompleted(nullptr);
    return FAILED(hr) ? hr : completed;
}

int TestContainer::Pump() {
    std::shared_ptr<SiteState> state = m_state;
    return PumpMessages([state](MSG& message) {
        if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
        com_ptr<IOleInPlaceActiveObject> active = state->activeObject;
        return active && active->TranslateAccelerator(&message) == S_OK;
    });
}

bool TestContainer::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    std::shared_ptr<SiteState> state = m_state;
    return zo::test::PumpUntil(done, timeoutMs, [state](MSG& message) {
        if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
        com_ptr<IOleInPlaceActiveObject> active = state->activeObject;
        return active && active->TranslateAccelerator(&message) == S_OK;
    });
}

void TestContainer::Close() {
    if (!m_control && !m_site) return;
    if (m_oleObject) {
        com_ptr<IOleObject> object = m_oleObject;
        // Advises stay until after Close, so that the site hears OnClose.
        (void)object->Close(OLECLOSE_NOSAVE);
        if (m_adviseCookie) (void)object->Unadvise(std::exchange(m_adviseCookie, 0));
        if (m_viewAdvised) {
            if (auto view = m_control.query<IViewObject>()) (void)view->SetAdvise(DVASPECT_CONTENT, 0, nullptr);
            m_viewAdvised = false;
        }
        if (m_siteSet) (void)object->SetClientSite(nullptr);
    }
    m_siteSet = false;
    m_state->onPosRectChange = nullptr;
    m_state->activeObject = nullptr;
    m_state->inPlaceActive = false;
    m_state->uiActive = false;
    m_oleObject = nullptr;
    m_controlRefsAfterClose = ReleaseLast(m_control);
    m_siteRefsAfterClose = ReleaseLast(m_site);
    m_frameObject = nullptr;
}

HWND TestContainer::ControlHwnd() const {
    auto window = m_control.query<IOleInPlaceObject>();
    HWND hwnd = nullptr;
    if (!window || FAILED(window->GetWindow(&hwnd))) return nullptr;
    return hwnd;
}

RECT TestContainer::Position() const noexcept { return m_state->position; }
const std::vector<std::wstring>& TestContainer::SiteCalls() const noexcept { return m_state->calls; }
size_t TestContainer::CountSiteCalls(std::wstring_view call) const { return m_state->CountCalls(call); }
void TestContainer::ClearSiteCalls() { m_state->calls.clear(); }
const std::vector<DISPID>& TestContainer::AmbientReads() const noexcept { return m_state->ambientReads; }

bool TestContainer::AmbientWasRead(DISPID dispid) const {
    return std::find(m_state->ambientReads.begin(), m_state->ambientReads.end(), dispid) !=
           m_state->ambientReads.end();
}

int TestContainer::ViewChanges() const noexcept { return m_state->viewChanges; }
bool TestContainer::InPlaceActive() const noexcept { return m_state->inPlaceActive; }
bool TestContainer::UIActive() const noexcept { return m_state->uiActive; }
IOleInPlaceActiveObject* TestContainer::ActiveObject() const noexcept { return m_state->activeObject.get(); }

}  // namespace zo::test
