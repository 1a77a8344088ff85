// The intrinsic list box over the native LISTBOX control.
#include "runtime/child_controls.h"

namespace zo {

namespace {

// The list box's own procedure, kept on the window itself so that it is
// found even after the ListBox object has let go of the window.
constexpr wchar_t kListProcProperty[] = L"ZoListBoxProc";

bool IsButtonPress(UINT message) noexcept {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
           message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
}

}  // namespace

ListBox::~ListBox() {
    if (HWND window = hWnd(); window && m_previous) {
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
        ::RemovePropW(window, kListProcProperty);
    }
}

void ListBox::Create(HWND parent, bool ownerDrawn) noexcept {
    DWORD style = WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;
    if (ownerDrawn) style |= LBS_OWNERDRAWFIXED;
    CreateWindowOf(parent, L"LISTBOX", style, 0);
    HWND window = hWnd();
    if (!window) return;
    m_previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (!::SetPropW(window, kListProcProperty, reinterpret_cast<HANDLE>(m_previous))) {
        m_previous = nullptr;
        return;
    }
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc));
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
    const auto previous = reinterpret_cast<WNDPROC>(::GetPropW(window, kListProcProperty));
    if (!previous) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        ::RemovePropW(window, kListProcProperty);
        if (auto* self = static_cast<ListBox*>(FromWindow(window))) self->m_previous = nullptr;
        return ::CallWindowProcW(previous, window, message, wParam, lParam);
    }
    const LRESULT result = ::CallWindowProcW(previous, window, message, wParam, lParam);
    if (IsButtonPress(message)) {
        auto* self = static_cast<ListBox*>(FromWindow(window));
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
