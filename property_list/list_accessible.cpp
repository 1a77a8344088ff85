#include "property_list/list_accessible.h"

#include "common/vb_conversions.h"
#include "common/vb_error.h"

namespace zo {

namespace {
constexpr wchar_t kEditAction[] = L"Edit";
}  // namespace

// The painter draws "&&H" + Hex through DrawText, which shows "&H...". A
// colour row holding text beyond a Long paints no value; the stored text is
// said instead.
std::wstring ShownValue(const PropItem& item) {
    if (item.ItemType == row_kind::Header) return {};
    if (item.ItemType == row_kind::Colour) {
        try {
            return L"&H" + Hex(CLng(Val(std::wstring(item.Value()))));
        } catch (const VbError&) {
        }
    }
    return std::wstring(item.Value());
}

com_ptr<ListAccessible> ListAccessible::Create(HWND window, AccessibleListHost& host) {
    return com_ptr<ListAccessible>::attach(new ListAccessible(window, host));
}

const PropItem& ListAccessible::RowOf(long id) const {
    const PropItem* item = m_host->AccessibleRows().Row(static_cast<int32_t>(id - 1));
    if (!item) throw VbError::Runtime(vb_error::kSubscriptOutOfRange);
    return *item;
}

bool ListAccessible::Editable(const PropItem& item) const noexcept {
    return m_host->AccessibleAllowEdit() && item.ItemType != row_kind::Header;
}

std::wstring ListAccessible::ChildName(long id) { return std::wstring(RowOf(id).Name()); }

std::wstring ListAccessible::ChildValue(long id) { return ShownValue(RowOf(id)); }

long ListAccessible::ChildRole(long id) {
    return RowOf(id).ItemType == row_kind::Header ? ROLE_SYSTEM_GROUPING : ROLE_SYSTEM_LISTITEM;
}

long ListAccessible::ChildState(long id) {
    const PropItem& item = RowOf(id);
    const int32_t row = static_cast<int32_t>(id - 1);
    long state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if (row == m_host->AccessibleRows().SelIndex()) {
        state |= STATE_SYSTEM_SELECTED;
        if (m_host->FocusInList()) state |= STATE_SYSTEM_FOCUSED;
    }
    if (item.ReadOnly) state |= STATE_SYSTEM_READONLY;
    if (!m_host->AccessibleAllowEdit()) state |= STATE_SYSTEM_UNAVAILABLE;
    if (!m_host->AccessibleGeometry().IsVisible(row)) state |= STATE_SYSTEM_OFFSCREEN;
    return state;
}

// The row's band: from its top line down to its separator, across the list;
// rows scrolled out of view lie above or below the client area.
std::optional<RECT> ListAccessible::ChildRect(long id) {
    (void)RowOf(id);
    const RowGeometry geometry = m_host->AccessibleGeometry();
    const int32_t top = geometry.RowTopPx(static_cast<int32_t>(id - 1));
    return RECT{0, top, geometry.WidthPx(), top + geometry.PitchPx()};
}

std::wstring ListAccessible::ChildDefaultAction(long id) {
    return Editable(RowOf(id)) ? kEditAction : std::wstring();
}

HRESULT ListAccessible::DoChildDefaultAction(long id) {
    if (!Editable(RowOf(id))) return DISP_E_MEMBERNOTFOUND;
    if (m_host->AccessibleRows().SelIndex() != id - 1 && !m_host->SelectRowAsPress(static_cast<int32_t>(id - 1)))
        return E_FAIL;
    // The host may have released the list inside SelChange.
    if (!m_host) return RPC_E_DISCONNECTED;
    m_host->DoubleClickSelectedRow();
    return S_OK;
}

// One row at a time: taking the selection or the focus selects the row as a
// press does; adding to, extending or removing the selection is not offered.
HRESULT ListAccessible::SelectChild(long id, long flags) {
    (void)RowOf(id);
    constexpr long kOffered = SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION;
    if (flags == 0 || (flags & ~kOffered) != 0) return E_INVALIDARG;
    if (!m_host->SelectRowAsPress(static_cast<int32_t>(id - 1))) return E_FAIL;
    if (m_host && (flags & SELFLAG_TAKEFOCUS) && !m_host->FocusInList()) ::SetFocus(Window());
    return S_OK;
}

long ListAccessible::ChildAt(POINT client) {
    const std::optional<int32_t> row = m_host->AccessibleGeometry().RowAtPx(client.y);
    return row ? *row + 1 : CHILDID_SELF;
}

long ListAccessible::FocusedChild() {
    const int32_t selected = m_host->AccessibleRows().SelIndex();
    return selected >= 0 && m_host->FocusInList() ? selected + 1 : 0;
}

long ListAccessible::SelectedChild() {
    const RowStore& rows = m_host->AccessibleRows();
    return rows.Row(rows.SelIndex()) ? rows.SelIndex() + 1 : 0;
}

}  // namespace zo
