// The keyboard on a PropertyList: the arrows and Tab move the selection and
// keep it in view, Enter acts as a double-click does, F4 and first letters
// choose in the list editor, typing on a text row starts an edit with the
// typed character, and the keys that reach the editors come back here.
//
// With no row selected the keys select nothing: KeyDown, KeyPress and KeyUp
// are still raised (a character goes to KeyPress, as on a row without a text
// editor).
#include <cwctype>

#include "common/twips.h"
#include "common/vb_conversions.h"
#include "common/vb_error.h"
#include "property_list/property_list.h"
#include "runtime/event_args.h"
#include "runtime/skipping.h"

namespace zo {

namespace {

constexpr int16_t kTab = 9, kEnter = 13, kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kF4 = 115;

bool IsTextRow(const PropItem* item) noexcept { return item && row_kind::IsTextKind(item->ItemType); }

}  // namespace

void PropertyList::UserControl_KeyDown(int16_t& keyCode, int16_t& shift) { ListKeyDown(keyCode, shift); }

void PropertyList::UserControl_KeyPress(int16_t& keyAscii) { ListKeyPress(keyAscii); }

void PropertyList::UserControl_KeyUp(int16_t& keyCode, int16_t& shift) {
    const com_ptr<IUnknown> self = KeepAlive();
    Skipping([&] {
        const PropItem* item = m_rows.Selected();
        if (keyCode == kEnter && item && item->ItemType == row_kind::Colour) DoubleClickAction();
    });
    if (IsTerminated()) return;
    int16_t code = keyCode, state = shift;
    EventArgs args;
    args.ShortRef(code).ShortRef(state);
    RaiseControlEvent(PROPERTYLIST_EVENT_KEYUP, args);
}

// Returns normally to raise KeyDown and give the list the focus (step 5);
// a key the list editor consumed ends without either.
void PropertyList::ListKeyDown(int16_t& keyCode, int16_t& shift) {
    const com_ptr<IUnknown> self = KeepAlive();
    bool focusMoved = false;
    try {
        if (keyCode == -1) {
            ReopenEditors();
        } else if (!m_editors.TextEditActive()) {
            if (!ActOnKey(keyCode, focusMoved)) return;
        }
    } catch (...) {
        // The handling ends where it failed; KeyDown and the focus follow.
    }
    if (IsTerminated()) return;
    if (keyCode > -1) {
        int16_t code = keyCode, state = shift;
        EventArgs args;
        args.ShortRef(code).ShortRef(state);
        RaiseControlEvent(PROPERTYLIST_EVENT_KEYDOWN, args);
        if (IsTerminated()) return;
    }
    // After Enter moved the focus into an editor the user types there at once.
    if (!focusMoved) {
        if (HWND window = Surface().hWnd()) ::SetFocus(window);
    }
}

// False when the key was consumed by the list editor (no KeyDown, no focus).
bool PropertyList::ActOnKey(int16_t& keyCode, bool& focusMoved) {
    switch (keyCode) {
        case kTab:
            if (m_rows.SelIndex() == m_rows.LastIndex()) {
                WrapToFirstRow();
            } else {
                int16_t down = kDown, noShift = 0;
                ListKeyDown(down, noShift);
                if (IsTerminated()) return true;
                ReopenEditors();
            }
            return true;
        case kDown:
        case kRight:
        case kUp:
        case kLeft:
            MoveSelection(keyCode == kDown || keyCode == kRight ? 1 : -1);
            return true;
        case kEnter: {
            const PropItem* item = m_rows.Selected();
            if (!item) throw VbError::Runtime(vb_error::kSubscriptOutOfRange);
            if (item->ItemType != row_kind::Colour) {
                HWND before = ::GetFocus();
                DoubleClickAction();
                focusMoved = ::GetFocus() != before && ::GetFocus() != Surface().hWnd();
            }
            return true;
        }
        default:
            break;
    }
    const PropItem* item = m_rows.Selected();
    if (!item) throw VbError::Runtime(vb_error::kSubscriptOutOfRange);
    if (item->ItemType != row_kind::Boolean && item->ItemType != row_kind::Custom) return true;
    if (keyCode == kF4) {
        m_editors.DropDownList();
    } else {
        m_editors.ChooseByFirstLetter(keyCode);
    }
    keyCode = 0;
    return false;
}

// Tab on the last row selects row 0 without SelChange and without
// scrolling, as setting Selected does. When row 0 is scrolled out of view
// its editor stays closed, instead of showing over another row, until the
// row is selected again in view.
void PropertyList::WrapToFirstRow() {
    if (!m_rows.Select(0)) return;
    if (Geometry().IsVisible(0)) {
        RefreshEditors();
        return;
    }
    HideSinkEditor();
    if (IsTerminated()) return;
    m_editors.HideAll();
    HideColourPopup();
    DrawList();
}

// One row up or down: the typed text is committed first, the new index is
// stored before SelChange, and the list scrolls to keep the row in view.
// A host that changes the selection or the rows inside ValueChanged or
// Scroll ends the move there: no SelChange names a row that is gone.
void PropertyList::MoveSelection(int step) {
    const PropItem* item = m_rows.Selected();
    if (!item) throw VbError::Runtime(vb_error::kSubscriptOutOfRange);
    const RowId from = item->Id;
    if (m_editors.TextBoxShown()) m_editors.CommitTypedText();
    if (IsTerminated() || !m_rows.SelectedIs(from)) return;
    const int32_t old = m_rows.SelIndex();
    const int32_t target = old + step;
    if (target < 0 || target > m_rows.LastIndex()) throw VbError::Runtime(vb_error::kSubscriptOutOfRange);
    m_rows.Select(target);
    const RowId to = m_rows.Row(target)->Id;
    KeepInView(target, step);
    if (IsTerminated() || !m_rows.SelectedIs(to)) return;
    m_editors.Rollup();
    if (target != old) RaiseSelChange(old, target);
    if (IsTerminated()) return;
    ReopenEditors();
}

// The checks run in the order of the move, which decides where a list too
// low for one row ends: moving down leaves the row at the top, moving up one
// row below it.
void PropertyList::KeepInView(int32_t row, int step) {
    if (!m_vsb) return;
    // The pitch in twips: the text line and three pixels between rows.
    const int32_t pitch = CLng(Surface().TextHeight(L"Qq") + 3.0 * TwipsPerPixelY());
    const int32_t page = CInt(IntDiv(CLng(Surface().ScaleHeight()), pitch));
    int32_t value = m_vsb->Value();
    const auto below = [&] {
        if (row > value + page - 1) value = row - page + 1;
    };
    const auto above = [&] {
        if (row < value) value = row;
    };
    if (step > 0) {
        below();
        above();
    } else {
        above();
        below();
    }
    if (value != m_vsb->Value()) ScrollTo(value);
}

void PropertyList::ListKeyPress(int16_t& keyAscii) {
    const com_ptr<IUnknown> self = KeepAlive();
    const PropItem* item = m_rows.Selected();
    if (keyAscii <= 31 || !IsTextRow(item)) {
        int16_t key = keyAscii;
        EventArgs args;
        args.ShortRef(key);
        RaiseControlEvent(PROPERTYLIST_EVENT_KEYPRESS, args);
        return;
    }
    RaiseKeyPressEdit(keyAscii);
    if (IsTerminated() || !m_allowEdit || keyAscii < 32) return;
    Skipping([&] {
        const RowGeometry geometry = Geometry();
        const std::optional<double> top = geometry.EditorTopTwips(m_rows.SelIndex());
        if (!top) return;  // no editor over another row
        EditorPlace place;
        place.top = *top;
        place.right = EditorRight();
        m_editors.StartTyping(place, static_cast<wchar_t>(keyAscii));
    });
}

// What a double-click does to the selected row, without the DblClick event.
void PropertyList::DoubleClickAction() {
    if (!m_allowEdit || m_designMode) return;
    m_editors.DoubleClickSelected();
}

}  // namespace zo
