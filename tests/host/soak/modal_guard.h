// While a ModalGuard lives, any dialog box or menu of this thread (a colour
// dialog or a text box's context menu that a random right-click opened) is
// cancelled from a thread timer that the dialog's or menu's own modal loop
// dispatches, so that no random step can leave the soak waiting for a person.
#pragma once

#include <windows.h>

namespace zo::test {

class ModalGuard {
public:
    ModalGuard() noexcept;
    ModalGuard(const ModalGuard&) = delete;
    ModalGuard& operator=(const ModalGuard&) = delete;
    ~ModalGuard();

    // Dialogs and menus cancelled so far by any guard of this process.
    [[nodiscard]] static long Cancelled() noexcept;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR m_timer = 0;
};

}  // namespace zo::test
