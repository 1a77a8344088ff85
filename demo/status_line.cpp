#include "demo/status_line.h"

#include "demo/report.h"

namespace zo::demo {

namespace {
constexpr COLORREF kRefusalRed = RGB(192, 0, 0);
}  // namespace

StatusLine::~StatusLine() {
    if (m_window && ::IsWindow(m_window)) ::DestroyWindow(m_window);
}

void StatusLine::Create(HWND parent, HFONT font) {
    m_window = ::CreateWindowExW(WS_EX_STATICEDGE, L"STATIC", L"",
                                 WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_CENTERIMAGE, 0, 0, 0,
                                 0, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!m_window) throw DemoError(L"Creating the status line", HRESULT_FROM_WIN32(::GetLastError()));
    ::SendMessageW(m_window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

COLORREF StatusLine::TextColour() const noexcept {
    return m_refusal ? kRefusalRed : ::GetSysColor(COLOR_BTNTEXT);
}

void StatusLine::Set(const std::wstring& text, bool refusal) noexcept {
    m_refusal = refusal;
    PrintLine((refusal ? L"refused: " : L"status: ") + text);
    if (m_window) ::SetWindowTextW(m_window, (L" " + text).c_str());
}

}  // namespace zo::demo
