// The control's side of the rows: what adding, removing, clearing, selecting
// and storing a value do to the editors, the scroll bar and the picture.
// The rules of the rows themselves are the RowStore's.
#include "common/twips.h"
#include "common/vb_conversions.h"
#include "property_list/property_list.h"
#include "runtime/message_box.h"

namespace zo {

namespace {
constexpr wchar_t kNegativeIndexText[] = L"'Index' cannot be a negative value.";
constexpr UINT kInformationIcon = MB_ICONINFORMATION;  // 64
}  // namespace

void PropertyList::AddItem(const std::wstring& name, const std::wstring& content, bool readOnly, int32_t itemType,
                           int32_t index) {
    if (index < -1) {
        ShowMessageBox(Surface().hWnd(), kNegativeIndexText, kInformationIcon, L"ZoPropertyList");
        return;
    }
    m_rows.Insert(name, content, readOnly, itemType, index);
    if (itemType != row_kind::Header) m_rows.WidenLongestItem(Surface().TextWidth(name) + 3.0 * TwipsPerPixelX());
    UserControl_Resize();
    m_editors.EndTextEdit();
}

void PropertyList::RemoveItem(int32_t index) {
    if (!m_rows.Row(index)) return;
    m_editors.DropText();
    m_rows.Remove(index);
    ResetScrollAfterRemove();
    Surface().Refresh();
}

void PropertyList::ResetScrollAfterRemove() {
    if (!m_vsb) return;
    const double lineHeight = Surface().TextHeight(L"Qq");
    const int32_t lastIndex = m_rows.LastIndex();
    try {
        // Rows are the text line and 3 pixels apart, as the geometry has them.
        const int32_t rows = CInt(IntDiv(CLng(Surface().ScaleHeight()), CLng(lineHeight + TwipsFromPixelsY(3))));
        if ((lineHeight + 3) * lastIndex > Surface().ScaleHeight()) {
            m_vsb->SetMax(lastIndex - rows + 1);
            m_vsb->SetValue(0);
            m_vsb->SetEnabled(true);
        } else {
            m_vsb->SetMax(0);
            m_vsb->SetValue(0);
            m_vsb->SetEnabled(false);
        }
    } catch (const VbError&) {
        m_vsb->SetValue(0);
    }
}

void PropertyList::ClearItems() {
    m_rows.Clear();
    m_rows.ResetLongestItem(Surface().TextWidth(L"Property") + 4.0 * TwipsPerPixelX());
    m_editors.HideValueEditors();
    if (m_vsb) m_vsb->SetVisible(false);
    m_scrollShown = false;
    Surface().Refresh();
}

void PropertyList::SetSelected(int32_t index) {
    if (!m_rows.Select(index)) return;
    RefreshEditors();
    DrawList();
}

void PropertyList::StoreValue(int32_t index, const std::wstring& value) {
    PropItem& item = m_rows.At(index);
    const int32_t itemType = item.ItemType;
    const RowId id = item.Id;
    const std::wstring newValue = m_rows.ValueToStore(itemType, value);
    if (itemType == row_kind::OwnerDraw) {
        // A host that cancels keeps the value it had.
        if (!m_editors.CommitValue(id, index, newValue, true)) return;
        HideSinkEditor();
        DrawList();
        return;
    }
    m_rows.StoreValue(index, newValue);
    if (row_kind::IsTextKind(itemType)) {
        m_editors.ShowStoredText(id, newValue);
        DrawList();
        return;
    }
    DoCommitPending(false);
    if (!m_editors.TextEditActive())
        RefreshEditors();
    else
        DrawList();
}

void PropertyList::SetHoldDraw(bool hold) {
    m_holdDraw = hold;
    // A host holding the drawing while it fills the list does not pay for
    // repainting the scroll bar after every row either.
    if (m_vsb) m_vsb->HoldRedraw(hold);
    UserControl_Resize();
    if (!hold) AnnounceHeldRowChanges();
}

void PropertyList::SetTextTrue(const std::wstring& text) {
    m_rows.SetTextTrue(text);
    RefreshEditors();
    DrawList();
    PropertyChanged(L"TextTrue");
}

void PropertyList::SetTextFalse(const std::wstring& text) {
    m_rows.SetTextFalse(text);
    RefreshEditors();
    DrawList();
    PropertyChanged(L"TextFalse");
}

}  // namespace zo
