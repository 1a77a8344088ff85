#include "tests/host/accessible_client.h"

#include "common/handles.h"

namespace zo::test {

namespace {

HWND g_recordedWindow = nullptr;
std::vector<std::wstring> g_recorded;

const wchar_t* EventName(DWORD event) {
    switch (event) {
        case EVENT_OBJECT_FOCUS: return L"Focus";
        case EVENT_OBJECT_SELECTION: return L"Selection";
        case EVENT_OBJECT_SELECTIONREMOVE: return L"SelectionRemove";
        case EVENT_OBJECT_VALUECHANGE: return L"ValueChange";
        case EVENT_OBJECT_REORDER: return L"Reorder";
        case EVENT_OBJECT_SHOW: return L"Show";
        case EVENT_OBJECT_HIDE: return L"Hide";
        default: return nullptr;
    }
}

std::wstring TextOf(HRESULT hr, BSTR raw) {
    unique_bstr text(raw);
    return hr == S_OK && text ? std::wstring(text.get()) : std::wstring();
}

}  // namespace

VARIANT ChildVariant(long id) {
    VARIANT child;
    ::VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

com_ptr<IAccessible> AccessibleOf(HWND window, LONG objectId) {
    com_ptr<IAccessible> object;
    if (FAILED(::AccessibleObjectFromWindow(window, static_cast<DWORD>(objectId), __uuidof(IAccessible),
                                            object.put_void())))
        return {};
    return object;
}

std::wstring AccName(IAccessible& object, long id) {
    BSTR raw = nullptr;
    const HRESULT hr = object.get_accName(ChildVariant(id), &raw);
    return TextOf(hr, raw);
}

std::wstring AccValue(IAccessible& object, long id) {
    BSTR raw = nullptr;
    const HRESULT hr = object.get_accValue(ChildVariant(id), &raw);
    return TextOf(hr, raw);
}

std::wstring AccDefaultAction(IAccessible& object, long id) {
    BSTR raw = nullptr;
    const HRESULT hr = object.get_accDefaultAction(ChildVariant(id), &raw);
    return TextOf(hr, raw);
}

long AccRole(IAccessible& object, long id) {
    unique_variant role;
    if (object.get_accRole(ChildVariant(id), &role) != S_OK || role.vt != VT_I4) return -1;
    return role.lVal;
}

long AccState(IAccessible& object, long id) {
    unique_variant state;
    if (object.get_accState(ChildVariant(id), &state) != S_OK || state.vt != VT_I4) return -1;
    return state.lVal;
}

long AccChildCount(IAccessible& object) {
    long count = -1;
    return object.get_accChildCount(&count) == S_OK ? count : -1;
}

RECT AccLocation(IAccessible& object, long id) {
    long left = 0, top = 0, width = 0, height = 0;
    if (object.accLocation(&left, &top, &width, &height, ChildVariant(id)) != S_OK) return RECT{};
    return RECT{left, top, left + width, top + height};
}

long AccHitTest(IAccessible& object, POINT screen) {
    unique_variant hit;
    if (FAILED(object.accHitTest(screen.x, screen.y, &hit))) return -3;
    if (hit.vt == VT_I4) return hit.lVal;
    return hit.vt == VT_DISPATCH ? -2 : -1;
}

long AccNavigate(IAccessible& object, long direction, long start) {
    unique_variant end;
    if (object.accNavigate(direction, ChildVariant(start), &end) != S_OK || end.vt != VT_I4) return -1;
    return end.lVal;
}

WinEventRecorder::WinEventRecorder(HWND window) {
    g_recordedWindow = window;
    g_recorded.clear();
    m_hook = ::SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, &OnEvent, ::GetCurrentProcessId(), 0,
                               WINEVENT_OUTOFCONTEXT);
}

WinEventRecorder::~WinEventRecorder() {
    if (m_hook) ::UnhookWinEvent(m_hook);
    g_recordedWindow = nullptr;
    g_recorded.clear();
}

void CALLBACK WinEventRecorder::OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG objectId, LONG childId, DWORD,
                                        DWORD) {
    if (!g_recordedWindow || window != g_recordedWindow || objectId != OBJID_CLIENT) return;
    // The system's own event for the window taking the focus is not the control's.
    if (event == EVENT_OBJECT_FOCUS && childId == CHILDID_SELF) return;
    if (const wchar_t* name = EventName(event))
        g_recorded.push_back(std::wstring(name) + L"(" + std::to_wstring(childId) + L")");
}

std::vector<std::wstring> WinEventRecorder::Take() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    std::vector<std::wstring> taken = std::move(g_recorded);
    g_recorded.clear();
    return taken;
}

}  // namespace zo::test
