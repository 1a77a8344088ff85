#include "runtime/list_box_accessible.h"

#include <vector>

namespace zo {

namespace {

LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) noexcept {
    return ::SendMessageW(window, message, wParam, lParam);
}

}  // namespace

com_ptr<IAccessible> ListBoxAccessible::Create(HWND listBox) {
    return com_ptr<IAccessible>::attach(new ListBoxAccessible(listBox));
}

long ListBoxAccessible::ChildCount() {
    const LRESULT count = Ask(Window(), LB_GETCOUNT);
    return count > 0 ? static_cast<long>(count) : 0;
}

std::wstring ListBoxAccessible::ChildName(long id) {
    const WPARAM item = static_cast<WPARAM>(id - 1);
    const LRESULT length = Ask(Window(), LB_GETTEXTLEN, item);
    if (length <= 0) return {};
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
    const LRESULT copied = Ask(Window(), LB_GETTEXT, item, reinterpret_cast<LPARAM>(text.data()));
    return copied > 0 ? std::wstring(text.data(), static_cast<size_t>(copied)) : std::wstring();
}

long ListBoxAccessible::ChildState(long id) {
    long state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if (Ask(Window(), LB_GETCURSEL) == id - 1) state |= STATE_SYSTEM_SELECTED;
    if (FocusedChild() == id) state |= STATE_SYSTEM_FOCUSED;
    RECT client{}, item{};
    ::GetClientRect(Window(), &client);
    if (const std::optional<RECT> rect = ChildRect(id); !rect || !::IntersectRect(&item, &client, &*rect))
        state |= STATE_SYSTEM_OFFSCREEN;
    return state;
}

std::optional<RECT> ListBoxAccessible::ChildRect(long id) {
    RECT rect{};
    if (Ask(Window(), LB_GETITEMRECT, static_cast<WPARAM>(id - 1), reinterpret_cast<LPARAM>(&rect)) == LB_ERR)
        return std::nullopt;
    return rect;
}

// Selecting an item moves the list's selection as the keyboard does, without
// the click that picks it.
HRESULT ListBoxAccessible::SelectChild(long id, long flags) {
    constexpr long kOffered = SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION;
    if (flags == 0 || (flags & ~kOffered) != 0) return E_INVALIDARG;
    if (flags & SELFLAG_TAKEFOCUS) ::SetFocus(Window());
    if (flags & SELFLAG_TAKESELECTION) Ask(Window(), LB_SETCURSEL, static_cast<WPARAM>(id - 1));
    return S_OK;
}

long ListBoxAccessible::ChildAt(POINT client) {
    const LRESULT hit = Ask(Window(), LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
    if (HIWORD(hit) != 0) return CHILDID_SELF;  // outside every item
    return static_cast<long>(LOWORD(hit)) + 1;
}

long ListBoxAccessible::FocusedChild() {
    if (::GetFocus() != Window()) return 0;
    const LRESULT caret = Ask(Window(), LB_GETCARETINDEX);
    return caret >= 0 ? static_cast<long>(caret) + 1 : 0;
}

long ListBoxAccessible::SelectedChild() {
    const LRESULT selected = Ask(Window(), LB_GETCURSEL);
    return selected >= 0 ? static_cast<long>(selected) + 1 : 0;
}

}  // namespace zo
