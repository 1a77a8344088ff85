#include "tests/host/soak/modal_guard.h"

#include <cwchar>

namespace zo::test {

namespace {

long g_cancelled = 0;

BOOL CALLBACK CancelDialog(HWND window, LPARAM) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (!::IsWindowVisible(window)) return TRUE;
    if (std::wcscmp(name, L"#32770") == 0) {
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        ++g_cancelled;
    } else if (std::wcscmp(name, L"#32768") == 0) {
        // A context menu (the text box's own, on a right-click).
        ::EndMenu();
        ++g_cancelled;
    }
    return TRUE;
}

}  // namespace

ModalGuard::ModalGuard() noexcept : m_timer(::SetTimer(nullptr, 0, 20, &Tick)) {}

ModalGuard::~ModalGuard() {
    if (m_timer) ::KillTimer(nullptr, m_timer);
}

long ModalGuard::Cancelled() noexcept { return g_cancelled; }

void CALLBACK ModalGuard::Tick(HWND, UINT, UINT_PTR, DWORD) {
    ::EnumThreadWindows(::GetCurrentThreadId(), &CancelDialog, 0);
}

}  // namespace zo::test
