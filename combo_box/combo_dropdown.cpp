// Opening, tracking and closing the drop-down list. The list window is
// subclassed with ComboWndProc, which finds its combo box through the window
// property "ZoComboPtr". While the list is open after a release on the
// button it holds the mouse capture, so that a click anywhere reaches it
// first: a click outside closes it, a release on a row picks that row, and
// a press in its scroll-bar strip scrolls it.
#include <windowsx.h>

#include "combo_box/zo_combo_box.h"
#include "common/vb_conversions.h"

namespace zo {

namespace {

// The list shows at most this many rows; a longer list scrolls.
constexpr LRESULT kMaxVisibleRows = 8;

// True while the mouse was last seen over the scroll-bar strip of a list
// long enough to scroll. One flag serves every combo box of the thread: only
// one list can hold the mouse at a time.
thread_local bool t_overListScrollBar = false;

std::wstring TrimSpaces(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

}  // namespace

void ZoComboBox::Dropdown() { ButtonPress(); }

void ZoComboBox::ButtonPress() {
    HWND list = m_lstValue.hWnd();
    const LRESULT count = SendToList(LB_GETCOUNT);
    if (m_droppedDown || count < 1) {
        m_droppedDown = false;
        if (list) ::ShowWindow(list, SW_HIDE);
        m_cmdDown.Refresh();
        return;
    }
    bool cancel = false;
    if (m_events) {
        const std::weak_ptr<char> alive = AliveToken();
        try {
            m_events->BeforeDropdown(cancel);
        } catch (...) {
        }
        if (alive.expired()) return;
    }
    if (cancel || !list) return;
    // The count read before the event sizes the list, even if the handler
    // changed the rows.
    m_droppedDown = true;
    t_overListScrollBar = false;
    m_lstValue.SetHeight(RowHeightPixels() * static_cast<int>(count < kMaxVisibleRows + 1 ? count : kMaxVisibleRows));
    // The list's top-left corner goes to the control's bottom-left corner,
    // and to the top of the z-order.
    RECT control{};
    ::GetWindowRect(hWnd(), &control);
    ::SetWindowPos(list, HWND_TOP, control.left, control.bottom, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ::ShowWindow(list, SW_SHOWNORMAL);
    SelectRowMatchingText();
}

void ZoComboBox::ButtonRelease() noexcept {
    if (m_droppedDown && m_lstValue.hWnd()) ::SetCapture(m_lstValue.hWnd());
}

void ZoComboBox::SelectRowMatchingText() noexcept {
    try {
        const std::wstring wanted = TrimSpaces(Text());
        const int16_t count = ListCount();
        int16_t row = 0;
        for (int16_t i = 0; i < count; ++i) {
            if (TextEqualsNoCase(TrimSpaces(List(i)), wanted)) {
                row = i;
                break;
            }
        }
        SendToList(LB_SETCURSEL, static_cast<WPARAM>(row));
    } catch (...) {
        // A row that cannot be read leaves the selection as it is.
    }
}

void ZoComboBox::Rollup() noexcept { CloseList(true); }

void ZoComboBox::CloseList(bool focusButton) noexcept {
    HWND list = m_lstValue.hWnd();
    if (list) ::ShowWindow(list, SW_HIDE);
    m_droppedDown = false;
    m_cmdDown.Refresh();
    if (focusButton) FocusButton();
    // Only the list's own capture is ours to end: the host may hold the
    // mouse for reasons of its own.
    if (list && ::GetCapture() == list) ::ReleaseCapture();
}

void ZoComboBox::FocusButton() const noexcept {
    // SetFocus succeeds on a hidden or disabled window too, and would leave
    // the keyboard with a control the user cannot see or use.
    HWND button = m_cmdDown.hWnd();
    if (!button || !::IsWindowVisible(button) || !::IsWindowEnabled(button) || !::IsWindowEnabled(hWnd())) return;
    ::SetFocus(button);  // a refusal is of no consequence
}

void ZoComboBox::TextGotFocus() noexcept {
    // Typing in the text box ends the drop-down: a list left showing would
    // no longer answer the mouse.
    if (m_droppedDown) CloseList(false);
}

void ZoComboBox::Subclass() noexcept {
    if (!m_listSubclass.Installed()) (void)m_listSubclass.Install(m_lstValue.hWnd(), ComboWndProc, this);
}

void ZoComboBox::UnSubclass() noexcept { m_listSubclass.Remove(); }

void ZoComboBox::ListWindowDestroyed() noexcept {
    m_listSubclass.Remove();
    m_droppedDown = false;
}

bool ZoComboBox::OverScrollStrip(HWND list, int x, int y) const noexcept {
    if (SendToList(LB_GETCOUNT) <= kMaxVisibleRows) return false;
    RECT strip{};
    ::GetWindowRect(list, &strip);
    strip.left = strip.right - ::GetSystemMetrics(SM_CXVSCROLL);
    POINT point{x, y};
    ::ClientToScreen(list, &point);
    return ::PtInRect(&strip, point) != FALSE;
}

bool ZoComboBox::ListMouseDown(int16_t code, int16_t keys, int x, int y) noexcept {
    (void)keys;
    HWND list = m_lstValue.hWnd();
    RECT client{};
    ::GetClientRect(list, &client);
    // Points on the right and bottom edges count as inside.
    if (code == 1 && (x < 0 || y < 0 || x > client.right || y > client.bottom)) {
        CloseList(true);
        return false;
    }
    // LB_ITEMFROMPOINT answers the nearest row in its low word and sets the
    // high word when the point is below the last row: the row is the low
    // word alone.
    const LRESULT answer = SendToList(LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
    const LRESULT count = SendToList(LB_GETCOUNT);
    LRESULT hit = LOWORD(answer);
    if (hit >= count) hit = count - 1;
    if (hit != SendToList(LB_GETCURSEL)) {
        SendToList(LB_SETCURSEL, static_cast<WPARAM>(hit));
        RECT window{};
        ::GetWindowRect(list, &window);
        const RECT whole{0, 0, window.right - window.left, window.bottom - window.top};
        ::InvalidateRect(list, &whole, TRUE);
    }
    return true;
}

void ZoComboBox::PickFromList(int16_t code, int16_t keys, int x, int y) noexcept {
    (void)keys, (void)x, (void)y;
    // A release that reaches a list already closed picks nothing.
    if (code != 1 || !m_droppedDown) return;
    const std::weak_ptr<char> alive = AliveToken();
    const int32_t selected = Selected();
    std::wstring text;
    try {
        if (SendToList(LB_GETTEXTLEN, static_cast<WPARAM>(static_cast<intptr_t>(selected))) > 0)
            text = TrimSpaces(List(selected));
    } catch (...) {
    }
    HWND list = m_lstValue.hWnd();
    ::ShowWindow(list, SW_HIDE);
    m_droppedDown = false;
    m_cmdDown.Refresh();
    ShowText(text);  // Change runs here when the text differs
    if (alive.expired()) return;
    FocusButton();
    if (list && ::GetCapture() == list) ::ReleaseCapture();
    if (m_events) {
        try {
            m_events->PickItem(static_cast<int16_t>(selected));
        } catch (...) {
        }
    }
}

LRESULT CALLBACK ZoComboBox::ComboWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    // Both properties are read before any handler runs: a handler may take
    // the subclass out, or end the combo box.
    const WNDPROC previous = WindowSubclass::PreviousOf(window, kListProcProperty);
    auto* self = static_cast<ZoComboBox*>(WindowSubclass::ObjectOf(window, kListPtrProperty));
    const auto forward = [&]() noexcept { return ForwardMessage(previous, window, message, wParam, lParam); };
    if (message == WM_NCDESTROY) {
        if (self) self->ListWindowDestroyed();
        return forward();
    }
    if (!self || !self->m_alive) return forward();

    const std::weak_ptr<char> alive = self->AliveToken();
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    const auto keys = static_cast<int16_t>(wParam);
    switch (message) {
        case WM_LBUTTONDOWN:
            if (!t_overListScrollBar) {
                // A press that closed the list is not the list box's business:
                // it would take the mouse again for a hidden window.
                if (!self->ListMouseDown(1, keys, x, y)) return 0;
                break;
            }
            {
                // The list box's own scroll-bar tracking runs until the button
                // is released; the list then takes the mouse back. The press
                // itself is not passed on: it would select the row beside it.
                ::ReleaseCapture();
                POINT screen{x, y};
                ::ClientToScreen(window, &screen);
                ::SendMessageW(window, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(screen.x, screen.y));
                if (!alive.expired() && ::IsWindow(window) && self->m_droppedDown) ::SetCapture(window);
                return 0;
            }
        case WM_MOUSEMOVE:
            t_overListScrollBar = self->OverScrollStrip(window, x, y);
            break;
        case WM_LBUTTONUP:
            if (!t_overListScrollBar) {
                self->PickFromList(1, keys, x, y);
                // The host's PickItem handler may have ended the combo box
                // and its list with it.
                if (alive.expired() || !::IsWindow(window)) return 0;
            }
            break;
        default:
            break;
    }
    return forward();
}

}  // namespace zo
