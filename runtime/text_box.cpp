// The intrinsic text box over the native EDIT control.
#include "runtime/child_controls.h"
#include "runtime/control_window.h"

namespace zo {

int16_t KeyboardShiftState() noexcept {
    return static_cast<int16_t>((::GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (::GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                                (::GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

void TextBox::Create(HWND parent) noexcept {
    CreateWindowOf(parent, L"EDIT", ES_AUTOHSCROLL | ES_LEFT, 0);
    // Without the subclass the box still edits; it only raises no key or
    // focus events.
    if (HWND window = hWnd()) (void)m_subclass.Install(window, &SubclassProc, this);
}

void TextBox::OnCommand(WORD code) noexcept {
    if (code != EN_CHANGE || !m_change) return;
    try {
        m_change();
    } catch (...) {
    }
}

bool TextBox::OnKeyDown(WPARAM& key) noexcept {
    if (!m_keyDown) return true;
    try {
        auto code = static_cast<int16_t>(key);
        int16_t shift = KeyboardShiftState();
        m_keyDown(code, shift);
        key = static_cast<WPARAM>(static_cast<uint16_t>(code));
        return code != 0;
    } catch (...) {
        return false;
    }
}

bool TextBox::OnChar(WPARAM& key) noexcept {
    if (!m_keyPress) return true;
    try {
        auto ascii = static_cast<int16_t>(key);
        m_keyPress(ascii);
        key = static_cast<WPARAM>(static_cast<uint16_t>(ascii));
        return ascii != 0;
    } catch (...) {
        return false;
    }
}

LRESULT CALLBACK TextBox::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    // Read first: a handler may end the TextBox, which takes the subclass out.
    const WNDPROC previous = WindowSubclass::PreviousOf(window, kProcProperty);
    auto* self = static_cast<TextBox*>(WindowSubclass::ObjectOf(window, kObjectProperty));
    switch (message) {
        case WM_NCDESTROY:
            if (self) self->m_subclass.Remove();
            break;
        case WM_KEYDOWN:
            if (self && !self->OnKeyDown(wParam)) return 0;
            // The handler may have ended the box; the window then has gone.
            if (!::IsWindow(window)) return 0;
            break;
        case WM_CHAR:
            if (self && !self->OnChar(wParam)) return 0;
            if (!::IsWindow(window)) return 0;
            break;
        case WM_SETFOCUS: {
            const LRESULT result = ForwardMessage(previous, window, message, wParam, lParam);
            ReportChildFocus(window, true, reinterpret_cast<HWND>(wParam));
            self = static_cast<TextBox*>(WindowSubclass::ObjectOf(window, kObjectProperty));
            if (self && self->m_gotFocus) {
                try {
                    self->m_gotFocus();
                } catch (...) {
                }
            }
            return result;
        }
        case WM_KILLFOCUS:
            ReportChildFocus(window, false, reinterpret_cast<HWND>(wParam));
            break;
        case WM_GETDLGCODE:
            // Enter, Escape, Tab and the arrows reach the box in a dialog too.
            return ForwardMessage(previous, window, message, wParam, lParam) | DLGC_WANTALLKEYS | DLGC_WANTARROWS;
        default:
            break;
    }
    return ForwardMessage(previous, window, message, wParam, lParam);
}

std::wstring TextBox::Text() const {
    if (!hWnd()) return {};
    const int length = ::GetWindowTextLengthW(hWnd());
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(hWnd(), text.data(), length + 1);
    text.resize(static_cast<size_t>(copied));
    return text;
}

void TextBox::SetText(const std::wstring& text) noexcept {
    if (hWnd()) ::SetWindowTextW(hWnd(), text.c_str());
}

void TextBox::SetLocked(bool locked) noexcept {
    if (locked == m_locked) return;
    m_locked = locked;
    if (hWnd()) ::SendMessageW(hWnd(), EM_SETREADONLY, locked ? TRUE : FALSE, 0);
}

long TextBox::SelStart() const noexcept {
    DWORD start = 0;
    if (hWnd()) ::SendMessageW(hWnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<long>(start);
}

void TextBox::SetSelStart(long start) noexcept {
    if (hWnd()) ::SendMessageW(hWnd(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start));
}

long TextBox::SelLength() const noexcept {
    DWORD start = 0, end = 0;
    if (hWnd()) ::SendMessageW(hWnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<long>(end - start);
}

void TextBox::SetSelLength(long length) noexcept {
    const long start = SelStart();
    if (hWnd()) ::SendMessageW(hWnd(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + length));
}

}  // namespace zo
