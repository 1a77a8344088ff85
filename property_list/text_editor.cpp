// The text box of a PropertyList at work: the focus that starts a text edit,
// the number row that never shows an empty text, the keys (KeyPressEdit,
// Enter, Escape, the numeric filter), and what a double-click on the list
// does to the selected row.
#include <windows.h>

#include "common/vb_conversions.h"
#include "property_list/value_editors.h"
#include "runtime/clipboard.h"

namespace zo {

namespace {

constexpr int16_t kEnter = 13, kEscape = 27, kBackspace = 8, kComma = 44, kFullStop = 46;
constexpr int16_t kCtrlC = 3, kCtrlV = 22;

// What a number row lets through: digits, the two decimal separators and
// Backspace; with Ctrl held, copying, and pasting text that reads as a number.
int16_t NumericKeyFilter(int16_t keyAscii) {
    if (::GetAsyncKeyState(VK_CONTROL) != 0) {
        if (keyAscii == kCtrlC) return keyAscii;
        if (keyAscii == kCtrlV) return IsNumeric(ClipboardText().value_or(L"")) ? keyAscii : 0;
        return 0;
    }
    if (keyAscii == kComma || keyAscii == kFullStop || keyAscii == kBackspace) return keyAscii;
    if (keyAscii <= 0) return 0;
    return IsNumeric(std::wstring(1, static_cast<wchar_t>(keyAscii))) ? keyAscii : 0;
}

}  // namespace

bool ValueEditors::TextPendingFor(const PropItem& item) const {
    return row_kind::IsTextKind(item.ItemType) && item.Id == m_textRow && m_txtValue.Text() != item.Value();
}

void ValueEditors::CloseTextBox() noexcept {
    m_txtValue.SetVisible(false);
    m_textEditActive = false;
    ReclaimFocus();
    m_host.Repaint();
}

void ValueEditors::txtValue_Change() {
    const PropItem* item = m_rows.Selected();
    if (item && item->ItemType == row_kind::Number && m_txtValue.Text().empty()) m_txtValue.SetText(L"0");
}

void ValueEditors::txtValue_KeyPress(int16_t& keyAscii) {
    m_host.RaiseKeyPressEdit(keyAscii);
    if (!m_host.AllowEdit()) {
        keyAscii = 0;
        return;
    }
    // Looked up after the event: the host may have changed the rows.
    const PropItem* item = m_rows.Selected();
    if (!item) return;
    const int32_t type = item->ItemType;
    if (keyAscii == kEnter && !item->ReadOnly) {
        keyAscii = 0;
        CommitValue(item->Id, m_rows.SelIndex(), m_txtValue.Text(), true);
        CloseTextBox();
    } else if (keyAscii == kEscape) {
        keyAscii = 0;
        CloseTextBox();  // the typed text stays in the box, still pending
    }
    if (type == row_kind::Number) keyAscii = NumericKeyFilter(keyAscii);
}

// Up and Down leave the text box for the list, committing the typed text;
// every other key stays in the box.
void ValueEditors::txtValue_KeyDown(int16_t& keyCode, int16_t& shift) {
    if (keyCode != VK_UP && keyCode != VK_DOWN) return;
    m_textEditActive = false;
    m_host.ListKeyDown(keyCode, shift);
    keyCode = 0;
}

void ValueEditors::StartTyping(const EditorPlace& place, wchar_t typed) {
    const PropItem* item = m_rows.Selected();
    if (!item) return;
    m_txtValue.SetWidth(place.right - m_txtValue.Left());
    m_textRow = item->Id;
    m_txtValue.SetLocked(item->ReadOnly);
    m_txtValue.SetTop(place.top);
    std::wstring text(1, typed);
    if (item->ItemType == row_kind::Number) text = std::to_wstring(static_cast<int>(Val(text)));
    m_txtValue.SetText(text);
    m_txtValue.SetVisible(true);
    m_txtValue.SetFocus();
    m_txtValue.SetSelStart(1);
}

void ValueEditors::CommitTypedText() {
    const PropItem* item = m_rows.Selected();
    if (!item || !TextPendingFor(*item)) return;
    int16_t enter = kEnter;
    txtValue_KeyPress(enter);
}

void ValueEditors::DoubleClickSelected() {
    PropItem* item = m_rows.Selected();
    if (!item) return;
    switch (item->ItemType) {
        case row_kind::Text:
        case row_kind::Number:
            m_txtValue.SetFocus();
            m_txtValue.SetSelStart(0);
            m_txtValue.SetSelLength(static_cast<long>(m_txtValue.Text().size()));
            break;
        case row_kind::Boolean:
        case row_kind::Custom: {
            if (item->ReadOnly) break;
            const RowId id = item->Id;
            // The value steps to the list editor's next entry, wrapping.
            if (CommitValue(id, m_rows.SelIndex(), m_cboValue.NextItemText(), true) && StillSelected(id))
                m_cboValue.NextItem();
            break;
        }
        case row_kind::Browse:
            cmdBrowse_MouseDown(1);
            break;
        case row_kind::Colour:
            cmdDown_MouseDown();
            break;
        default:
            // Owner-drawn and header rows do nothing.
            break;
    }
}

}  // namespace zo
