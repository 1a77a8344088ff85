// The intrinsic list box over the native LISTBOX control.
#include "runtime/child_controls.h"
#include "runtime/list_box_accessible.h"

namespace zo {

namespace {

bool IsButtonPress(UINT message) noexcept {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
           message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
}

}  // namespace

void ListBox::Create(HWND parent, bool ownerDrawn) noexcept {
    DWORD style = WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;
    if (ownerDrawn) style |= LBS_OWNERDRAWFIXED;
    CreateWindowOf(parent, L"LISTBOX", style, 0);
    // Without the subclass the list still works; it only reports no presses.
    if (HWND window = hWnd()) (void)m_subclass.Install(window, &SubclassProc, this);
    m_accessible.Attach(hWnd(), [window = hWnd()](LONG objectId) -> com_ptr<IAccessible> {
        return objectId == OBJID_CLIENT ? ListBoxAccessible::Create(window) : nullptr;
    });
}

void ListBox::AddItem(const std::wstring& text, int32_t itemData) {
    if (!hWnd()) return;
    const LRESULT index = ::SendMessageW(hWnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0) ::SendMessageW(hWnd(), LB_SETITEMDATA, static_cast<WPARAM>(index), itemData);
}

int32_t ListBox::ListCount() const noexcept {
    return hWnd() ? static_cast<int32_t>(::SendMessageW(hWnd(), LB_GETCOUNT, 0, 0)) : 0;
}

std::wstring ListBox::List(int32_t index) const {
    if (index < 0 || index >= ListCount()) return {};
    const LRESULT length = ::SendMessageW(hWnd(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        ::SendMessageW(hWnd(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::optional<int32_t> ListBox::ItemData(int32_t index) const noexcept {
    if (index < 0 || index >= ListCount()) return std::nullopt;
    return static_cast<int32_t>(::SendMessageW(hWnd(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

int32_t ListBox::ListIndex() const noexcept {
    return hWnd() ? static_cast<int32_t>(::SendMessageW(hWnd(), LB_GETCURSEL, 0, 0)) : -1;
}

void ListBox::SetListIndex(int32_t index) noexcept {
    if (hWnd()) ::SendMessageW(hWnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ListBox::SetItemHeight(int pixels) noexcept {
    if (hWnd() && pixels > 0) ::SendMessageW(hWnd(), LB_SETITEMHEIGHT, 0, MAKELPARAM(pixels, 0));
}

LRESULT CALLBACK ListBox::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    // The previous procedure is read before anything runs: the list box's
    // own handling may end the ListBox object, which takes the subclass out.
    const WNDPROC previous = WindowSubclass::PreviousOf(window, kProcProperty);
    if (message == WM_NCDESTROY) {
        if (auto* self = static_cast<ListBox*>(WindowSubclass::ObjectOf(window, kObjectProperty)))
            self->m_subclass.Remove();
        return ForwardMessage(previous, window, message, wParam, lParam);
    }
    const LRESULT result = ForwardMessage(previous, window, message, wParam, lParam);
    if (IsButtonPress(message)) {
        // Found afresh: the notifications the press sent may have ended it.
        auto* self = static_cast<ListBox*>(WindowSubclass::ObjectOf(window, kObjectProperty));
        if (self && self->m_mouseDown) {
            try {
                self->m_mouseDown(MouseEventOf(message, wParam, lParam));  // may end the list box
            } catch (...) {
            }
        }
    }
    return result;
}

}  // namespace zo
