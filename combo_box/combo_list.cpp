// The rows of a combo box. They live only in the native list box of the
// drop-down window: every operation here is a list-box message to it.
#include <algorithm>

#include "combo_box/zo_combo_box.h"
#include "common/vb_conversions.h"
#include "common/vb_error.h"

namespace zo {

void ZoComboBox::CreateListWindow() noexcept {
    // A child of the desktop with the top-most and tool-window styles, so
    // that it hangs below the control over any other window and shows no
    // taskbar button. The style steps start from CControl's initial style.
    try {
        m_lstValue.SetClassName(L"ListBox");
    } catch (...) {
        return;
    }
    m_lstValue.SetParent(::GetDesktopWindow());
    m_lstValue.SetStyle(WS_CLIPCHILDREN, false);
    m_lstValue.SetStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | WS_VSCROLL | LBS_DISABLENOSCROLL | LBS_COMBOBOX |
                            LBS_HASSTRINGS | LBS_NOTIFY,
                        true);
    m_lstValue.SetStyle(LBS_DISABLENOSCROLL, false);
    m_lstValue.SetStyleEx(WS_EX_TOOLWINDOW, true);
    m_lstValue.SetStyleEx(WS_EX_TOPMOST, true);
    m_lstValue.Create();
}

LRESULT ZoComboBox::SendToList(UINT message, WPARAM wParam, LPARAM lParam) const noexcept {
    HWND list = m_lstValue.hWnd();
    return list ? ::SendMessageW(list, message, wParam, lParam) : 0;
}

void ZoComboBox::Add(const std::wstring& item) noexcept {
    SendToList(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void ZoComboBox::Clear() noexcept { SendToList(LB_RESETCONTENT); }

void ZoComboBox::Remove(int16_t index) noexcept { SendToList(LB_DELETESTRING, static_cast<WPARAM>(index)); }

int16_t ZoComboBox::ListCount() const { return CInt(static_cast<int64_t>(SendToList(LB_GETCOUNT))); }

std::wstring ZoComboBox::List(long index) const {
    // WPARAM carries the index sign-extended, so -1 names no row on 64-bit too.
    const auto row = static_cast<WPARAM>(static_cast<intptr_t>(index));
    const LRESULT length = SendToList(LB_GETTEXTLEN, row);
    if (length < 0 || !m_lstValue.hWnd()) throw VbError::Runtime(vb_error::kInvalidProcedureCall);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendToList(LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
    if (const size_t nul = text.find(L'\0'); nul != std::wstring::npos) text.resize(nul);
    return text;
}

std::vector<std::wstring> ZoComboBox::List() const {
    std::vector<std::wstring> rows;
    const int16_t count = ListCount();
    rows.reserve(static_cast<size_t>(count));
    for (int16_t i = 0; i < count; ++i) rows.push_back(List(i));
    return rows;
}

int32_t ZoComboBox::ItemData(int16_t index) const noexcept {
    return static_cast<int32_t>(SendToList(LB_GETITEMDATA, static_cast<WPARAM>(index)));
}

void ZoComboBox::SetItemData(int16_t index, int32_t data) noexcept {
    SendToList(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}

int32_t ZoComboBox::Selected() const noexcept { return static_cast<int32_t>(SendToList(LB_GETCURSEL)); }

void ZoComboBox::SetSelected(int32_t index) {
    SendToList(LB_SETCURSEL, static_cast<WPARAM>(static_cast<intptr_t>(index)));
    ShowText(List(index));
}

int ZoComboBox::NextIndex() const {
    const int16_t count = ListCount();
    if (count < 1) return -1;
    const std::wstring text = Text();
    int current = -1;
    for (int16_t i = 0; i < count; ++i) {
        if (List(i) == text) {  // exact: case and spaces count
            current = i;
            break;
        }
    }
    const int next = current + 1;
    return next >= count ? 0 : next;
}

void ZoComboBox::NextItem() {
    if (const int next = NextIndex(); next >= 0) SetSelected(next);
}

std::wstring ZoComboBox::NextItemText() const {
    const int next = NextIndex();
    return next >= 0 ? List(next) : std::wstring();
}

}  // namespace zo
