#include "demo/event_log.h"

#include <string>

#include "demo/report.h"

namespace zo::demo {

namespace {
// Older lines go once the pane holds this many.
constexpr LRESULT kMaxLines = 2000;
}  // namespace

EventLog::~EventLog() {
    if (m_window && ::IsWindow(m_window)) ::DestroyWindow(m_window);
}

void EventLog::Create(HWND parent, HFONT font) {
    m_window = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"Event log",
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS |
                                     LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
                                 0, 0, 0, 0, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!m_window) throw DemoError(L"Creating the event log", HRESULT_FROM_WIN32(::GetLastError()));
    ::SendMessageW(m_window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void EventLog::Add(std::wstring_view line) noexcept {
    PrintLine(line);
    if (!m_window) return;
    const std::wstring text(line);
    if (::SendMessageW(m_window, LB_GETCOUNT, 0, 0) >= kMaxLines) ::SendMessageW(m_window, LB_DELETESTRING, 0, 0);
    const LRESULT index = ::SendMessageW(m_window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0) ::SendMessageW(m_window, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

}  // namespace zo::demo
