// The PropertyList's side of accessibility: its accessible object answers
// WM_GETOBJECT, and the changes a screen reader follows (the selected row,
// a stored value, rows added or removed) are announced as win events about
// the rows' child ids (row index + 1).
#include "property_list/property_list.h"
#include "runtime/accessible_hook.h"

namespace zo {

namespace {
constexpr int32_t kLargestPressableRow = INT16_MAX;
}  // namespace

bool PropertyList::OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) noexcept {
    if (message != WM_GETOBJECT || ObjectIdOf(lParam) != OBJID_CLIENT) return false;
    try {
        HWND window = Surface().hWnd();
        ListAccessible* object = m_accessible.GetOrMake([&] { return ListAccessible::Create(window, *this); });
        *result = AnswerGetObject(object, wParam);
        return *result != 0;
    } catch (...) {
        return false;
    }
}

bool PropertyList::FocusInList() const noexcept {
    HWND window = Surface().hWnd();
    HWND focus = ::GetFocus();
    return window && focus && (focus == window || ::IsChild(window, focus));
}

// A designer shows the list without editors and takes no presses; rows past
// the events' Integer reach cannot be pressed either.
bool PropertyList::SelectRowAsPress(int32_t row) {
    if (m_designMode || !m_rows.Row(row) || row > kLargestPressableRow) return false;
    const com_ptr<IUnknown> self = KeepAlive();
    if (!self || !CommitBeforePress()) return false;
    if (!m_rows.Row(row)) return false;
    PressRow(row);
    return !IsTerminated();
}

void PropertyList::NotifyAccessible(DWORD event, LONG child) const noexcept {
    if (HWND window = Surface().hWnd()) ::NotifyWinEvent(event, window, OBJID_CLIENT, child);
}

// A row added or removed is shown or hidden, then the children reordered;
// a clear, and everything done while the drawing is held, is one reorder.
void PropertyList::RowsChanged(RowChange change, int32_t index) noexcept {
    if (m_holdDraw) {
        m_rowsChangedWhileHeld = true;
        return;
    }
    if (change == RowChange::Inserted) NotifyAccessible(EVENT_OBJECT_SHOW, index + 1);
    if (change == RowChange::Removed) NotifyAccessible(EVENT_OBJECT_HIDE, index + 1);
    NotifyAccessible(EVENT_OBJECT_REORDER, CHILDID_SELF);
}

void PropertyList::AnnounceHeldRowChanges() noexcept {
    if (!m_rowsChangedWhileHeld) return;
    m_rowsChangedWhileHeld = false;
    NotifyAccessible(EVENT_OBJECT_REORDER, CHILDID_SELF);
}

// The focus moves with the selection only while the list (or an editor of
// it) has the keyboard focus; otherwise the row is only selected.
void PropertyList::SelectionChanged(int32_t before, int32_t now) noexcept {
    if (now < 0) {
        if (before >= 0) NotifyAccessible(EVENT_OBJECT_SELECTIONREMOVE, before + 1);
        return;
    }
    if (FocusInList()) NotifyAccessible(EVENT_OBJECT_FOCUS, now + 1);
    NotifyAccessible(EVENT_OBJECT_SELECTION, now + 1);
}

void PropertyList::ValueStored(int32_t index) noexcept { NotifyAccessible(EVENT_OBJECT_VALUECHANGE, index + 1); }

}  // namespace zo
