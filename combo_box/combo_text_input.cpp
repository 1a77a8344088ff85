// Keys in the text box and on the button become KeyDown and KeyPress. The
// text box is subclassed for this through the window properties
// "ZoComboTextProc" and "ZoComboTextPtr".
#include "combo_box/zo_combo_box.h"

namespace zo {

namespace {

// The Shift argument of KeyDown: 1 Shift, 2 Ctrl, 4 Alt.
int16_t ShiftState() noexcept {
    int16_t shift = 0;
    if (::GetKeyState(VK_SHIFT) < 0) shift |= 1;
    if (::GetKeyState(VK_CONTROL) < 0) shift |= 2;
    if (::GetKeyState(VK_MENU) < 0) shift |= 4;
    return shift;
}

}  // namespace

void ZoComboBox::RaiseKeyDown(int16_t& keyCode) noexcept {
    if (!m_events) return;
    int16_t shift = ShiftState();
    try {
        m_events->KeyDown(keyCode, shift);
    } catch (...) {
    }
}

void ZoComboBox::RaiseKeyPress(int16_t& keyAscii) noexcept {
    if (!m_events) return;
    try {
        m_events->KeyPress(keyAscii);
    } catch (...) {
    }
}

void ZoComboBox::ButtonKeyDown(WPARAM key) noexcept {
    auto keyCode = static_cast<int16_t>(key);
    RaiseKeyDown(keyCode);
}

bool ZoComboBox::ButtonSysKeyDown(WPARAM& key) noexcept {
    const std::weak_ptr<char> alive = AliveToken();
    auto keyCode = static_cast<int16_t>(key);
    RaiseKeyDown(keyCode);
    if (alive.expired() || keyCode == 0) return false;
    key = static_cast<WPARAM>(static_cast<uint16_t>(keyCode));
    return true;
}

void ZoComboBox::ButtonChar(WPARAM character) noexcept {
    auto keyAscii = static_cast<int16_t>(character);
    RaiseKeyPress(keyAscii);
}

LRESULT CALLBACK ZoComboBox::TextWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    const WNDPROC previous = WindowSubclass::PreviousOf(window, kTextProcProperty);
    auto* self = static_cast<ZoComboBox*>(WindowSubclass::ObjectOf(window, kTextPtrProperty));
    if (message == WM_NCDESTROY) {
        if (self) self->m_textSubclass.Remove();
    } else if (self && self->m_alive) {
        return self->HandleTextMessage(window, message, wParam, lParam, previous);
    }
    return ForwardMessage(previous, window, message, wParam, lParam);
}

LRESULT ZoComboBox::HandleTextMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      WNDPROC previous) noexcept {
    const std::weak_ptr<char> alive = AliveToken();
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            auto keyCode = static_cast<int16_t>(wParam);
            RaiseKeyDown(keyCode);
            if (alive.expired() || !::IsWindow(window)) return 0;
            if (keyCode == 0) return 0;  // the handler dropped the key
            wParam = static_cast<WPARAM>(static_cast<uint16_t>(keyCode));
            break;
        }
        case WM_CHAR: {
            auto keyAscii = static_cast<int16_t>(wParam);
            RaiseKeyPress(keyAscii);
            if (alive.expired() || !::IsWindow(window)) return 0;
            // Enter ends an entry; a single-line text box would only beep.
            if (keyAscii == 13 || keyAscii == 0) return 0;
            wParam = static_cast<WPARAM>(static_cast<uint16_t>(keyAscii));
            break;
        }
        default:
            break;
    }
    return ForwardMessage(previous, window, message, wParam, lParam);
}

}  // namespace zo
