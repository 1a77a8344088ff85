// The rows of the list: adding, removing, clearing, reading a row by index,
// and storing a value by the rules of its kind.
#include "common/twips.h"
#include "common/vb_conversions.h"
#include "property_list/property_list.h"
#include "runtime/event_args.h"
#include "runtime/message_box.h"

namespace zo {

namespace {
constexpr wchar_t kNegativeIndexText[] = L"'Index' cannot be a negative value.";
constexpr UINT kInformationIcon = MB_ICONINFORMATION;  // 64
}  // namespace

PropItem& PropertyList::ItemAt(int32_t index) {
    if (!m_itemsAllocated || index < 0 || static_cast<size_t>(index) >= m_items.size())
        throw VbError::Runtime(vb_error::kSubscriptOutOfRange);
    return m_items[static_cast<size_t>(index)];
}

PropItem* PropertyList::SelectedItem() noexcept {
    if (m_selIndex < 0 || m_selIndex > m_lastIndex) return nullptr;
    return &m_items[static_cast<size_t>(m_selIndex)];
}

std::wstring PropertyList::NormaliseBoolean(const std::wstring& text) const {
    return TextEqualsNoCase(text, m_textTrue) || TextEqualsNoCase(text, L"true") ? m_textTrue : m_textFalse;
}

void PropertyList::AddItem(const std::wstring& name, const std::wstring& content, bool readOnly, int32_t itemType,
                           int32_t index) {
    if (index < -1) {
        ShowMessageBox(Surface().hWnd(), kNegativeIndexText, kInformationIcon, L"ZoPropertyList");
        return;
    }
    PropItem item;
    item.Name = name;
    item.ReadOnly = readOnly;
    item.ItemType = itemType;
    if (itemType == ZoPropBoolValue)
        item.Value = NormaliseBoolean(content);
    else if (itemType == ZoPropOleColor)
        item.Value = CStr(Val(content));
    else
        item.Value = content;

    const int32_t oldCount = m_lastIndex + 1;
    // An empty list may still hold a blank or left-over record; rows are 0 .. LastIndex.
    m_items.resize(static_cast<size_t>(oldCount));
    if (index == -1 || index >= oldCount)
        m_items.push_back(std::move(item));
    else
        m_items.insert(m_items.begin() + index, std::move(item));
    m_itemsAllocated = true;
    m_lastIndex = oldCount;

    if (itemType != ZoPropPropertyHeader) {
        const double width = Surface().TextWidth(name) + 3.0 * TwipsPerPixelX();
        if (width > m_longestItem) m_longestItem = CLng(width);
    }
    UserControl_Resize();
    m_textEditActive = false;
}

void PropertyList::RemoveItem(int32_t index) {
    // An index that names no row changes nothing.
    if (index < 0 || index > m_lastIndex) return;
    m_txtValue.SetVisible(false);
    m_txtValue.SetText(L"");
    // Removing the only row leaves its record behind as the left-over one.
    if (m_lastIndex > 0) m_items.erase(m_items.begin() + index);
    --m_lastIndex;
    DropSelectionPastEnd();
    ResetScrollAfterRemove();
    Surface().Refresh();
}

void PropertyList::ResetScrollAfterRemove() {
    if (!m_vsb) return;
    const double lineHeight = Surface().TextHeight(L"Qq");
    try {
        const int32_t rows = CInt(IntDiv(CLng(Surface().ScaleHeight()), CLng(lineHeight + 45)));
        if ((lineHeight + 3) * m_lastIndex > Surface().ScaleHeight()) {
            m_vsb->SetMax(m_lastIndex - rows + 1);
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
    m_lastIndex = -1;
    m_longestItem = CLng(Surface().TextWidth(L"Property") + 4.0 * TwipsPerPixelX());
    m_items.clear();
    m_items.emplace_back();
    m_itemsAllocated = true;
    m_txtValue.SetVisible(false);
    m_picValue.SetVisible(false);
    m_cboValue.SetVisible(false);
    if (m_vsb) m_vsb->SetVisible(false);
    m_scrollShown = false;
    DropSelectionPastEnd();
    Surface().Refresh();
}

// A selection past the last row would name a row that is gone; it is
// dropped so that no later step reads it.
void PropertyList::DropSelectionPastEnd() noexcept {
    if (m_selIndex > m_lastIndex) m_selIndex = -1;
}

int16_t PropertyList::SelectedIndex() const noexcept {
    if (m_lastIndex < 0 || m_selIndex > m_lastIndex) return -1;
    return static_cast<int16_t>(m_selIndex);
}

void PropertyList::SetSelected(int32_t index) {
    if (index < -1 || index > m_lastIndex) return;
    m_selIndex = index;
    RefreshEditors();
    DrawList();
}

bool PropertyList::RaiseValueChanged(int32_t index, const std::wstring& newValue) {
    VARIANT_BOOL cancel = VARIANT_FALSE;
    const std::wstring name = ItemAt(index).Name;
    EventArgs args;
    args.String(name).Short(CInt(index)).String(newValue).BoolRef(cancel);
    RaiseControlEvent(property_list_event::ValueChanged, args);
    return cancel != VARIANT_FALSE;
}

void PropertyList::StoreValue(int32_t index, const std::wstring& value) {
    std::wstring newValue = value;
    const int32_t itemType = ItemAt(index).ItemType;
    if (itemType == ZoPropBoolValue) {
        newValue = NormaliseBoolean(newValue);
    } else if (itemType == ZoPropOwnerDraw) {
        // A host that cancels keeps the value it had.
        if (RaiseValueChanged(index, newValue)) return;
        ItemAt(index).Value = newValue;
        if (m_ownerDrawSink) SinkHideEditor();
        DrawList();
        return;
    } else if (itemType == ZoPropNumericValue && newValue.empty()) {
        newValue = L"0";
    }
    ItemAt(index).Value = newValue;
    if (itemType == ZoPropStringValue || itemType == ZoPropNumericValue) {
        m_txtValue.SetText(newValue);
        m_textEditActive = false;
        m_txtValue.SetVisible(false);
        DrawList();
        return;
    }
    DoCommitPending(false);
    if (!m_textEditActive)
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
}

void PropertyList::SetTextTrue(const std::wstring& text) {
    m_textTrue = text;
    RefreshEditors();
    DrawList();
    PropertyChanged(L"TextTrue");
}

void PropertyList::SetTextFalse(const std::wstring& text) {
    m_textFalse = text;
    RefreshEditors();
    DrawList();
    PropertyChanged(L"TextFalse");
}

}  // namespace zo
