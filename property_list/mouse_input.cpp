// The mouse on the list's own surface: a press with any button, in either
// column, selects the row under it and opens that row's editor; the mouse
// events reach the host afterwards. A double-click acts on the selected row.
//
// Rows past 32,767 have no index the events' Integer arguments can carry, so
// the mouse cannot select them: a press there leaves the selection as it is.
#include "common/item_index.h"
#include "common/twips.h"
#include "common/vb_conversions.h"
#include "property_list/property_list.h"
#include "runtime/event_args.h"

namespace zo {

namespace {
constexpr int32_t kLargestEventIndex = INT16_MAX;
}  // namespace

void PropertyList::UserControl_MouseDown(SurfaceMouse& mouse) {
    const com_ptr<IUnknown> self = KeepAlive();
    try {
        PressRowAt(mouse.y);
    } catch (...) {
        // The selection work ends where it failed; MouseDown is still raised.
    }
    RaiseMouseEvent(PROPERTYLIST_EVENT_MOUSEDOWN, mouse);
}

void PropertyList::UserControl_MouseMove(SurfaceMouse& mouse) {
    if (m_designMode) return;
    RaiseMouseEvent(PROPERTYLIST_EVENT_MOUSEMOVE, mouse);
}

void PropertyList::UserControl_MouseUp(SurfaceMouse& mouse) { RaiseMouseEvent(PROPERTYLIST_EVENT_MOUSEUP, mouse); }

void PropertyList::UserControl_Click() {
    EventArgs args;
    RaiseControlEvent(PROPERTYLIST_EVENT_CLICK, args);
}

void PropertyList::UserControl_DblClick() {
    if (!m_allowEdit) return;
    const com_ptr<IUnknown> self = KeepAlive();
    try {
        if (!m_designMode) m_editors.DoubleClickSelected();
    } catch (...) {
    }
    EventArgs args;
    RaiseControlEvent(PROPERTYLIST_EVENT_DBLCLICK, args);
}

// Every step after an event looks at the rows afresh: the host may have
// cleared the list, moved or removed the pressed row, or released the control.
// The row is found after the typed text is committed: the host may change
// the rows in ValueChanged.
void PropertyList::PressRowAt(float yTwips) {
    if (!CommitBeforePress()) return;
    const int32_t yPixels = CLng(yTwips) / TwipsPerPixelY();
    PressRow(Geometry().RowAtPx(yPixels).value_or(kNoItem));
}

bool PropertyList::CommitBeforePress() {
    if (m_editors.TextEditActive()) {
        m_editors.CommitTypedText();
        m_editors.EndTextEdit();
        if (IsTerminated()) return false;
    }
    return true;
}

void PropertyList::PressRow(int32_t pressed) {
    if (pressed > kLargestEventIndex) return;
    const RowId pressedId = pressed >= 0 ? m_rows.Row(pressed)->Id : 0;
    if (pressed != m_rows.SelIndex()) {
        RaiseSelChange(m_rows.SelIndex(), pressed);
        if (IsTerminated()) return;
        if (pressed >= 0) {
            const std::optional<int32_t> now = m_rows.IndexOf(pressedId, pressed);
            if (!now || *now > kLargestEventIndex) return;  // the pressed row went: the press ends
            pressed = *now;
        }
    }
    m_rows.Select(pressed);
    // The editors close before the list is repainted, so that one repaint
    // also covers the places they leave.
    HideSinkEditor();
    if (IsTerminated()) return;
    // A designer shows the list, never an editor.
    const PropItem* next = pressed >= 0 && !m_designMode ? m_rows.Selected() : nullptr;
    const bool opens = next != nullptr;
    const bool textBoxMoves = m_editors.HideAllButReusedTextBox(next);
    if (pressed >= 0) HideColourPopup();
    if (pressed >= 0 && m_rows.Selected()) m_editors.EndTextEdit();
    // The list's drawing leaves out a text box already in its new place.
    if (textBoxMoves) OpenSelectedEditor();
    DrawList();
    if (opens && !textBoxMoves) OpenSelectedEditor();
}

void PropertyList::RaiseSelChange(int32_t oldSel, int32_t newSel) {
    EventArgs args;
    args.Short(CInt(oldSel)).Short(CInt(newSel));
    RaiseControlEvent(PROPERTYLIST_EVENT_SELCHANGE, args);
}

// The arguments go by reference; what the host writes into them is not read.
void PropertyList::RaiseMouseEvent(DISPID id, const SurfaceMouse& mouse) {
    SurfaceMouse copy = mouse;
    EventArgs args;
    args.ShortRef(copy.button).ShortRef(copy.shift).SingleRef(copy.x).SingleRef(copy.y);
    RaiseControlEvent(id, args);
}

}  // namespace zo
