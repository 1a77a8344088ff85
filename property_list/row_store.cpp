#include "property_list/row_store.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "common/vb_conversions.h"
#include "common/vb_error.h"

namespace zo {

void PropItem::SetTexts(std::wstring_view name, std::wstring_view value) {
    if (name.size() > UINT32_MAX || value.size() > UINT32_MAX - name.size()) throw std::length_error("row text");
    std::unique_ptr<wchar_t[]> text;
    if (!name.empty() || !value.empty()) {
        text = std::make_unique_for_overwrite<wchar_t[]>(name.size() + value.size());
        std::copy(name.begin(), name.end(), text.get());
        std::copy(value.begin(), value.end(), text.get() + name.size());
    }
    m_text = std::move(text);
    m_nameLength = static_cast<uint32_t>(name.size());
    m_valueLength = static_cast<uint32_t>(value.size());
}

int16_t RowStore::CountForInterface() const { return CInt(Count()); }

PropItem& RowStore::At(int32_t index) {
    if (!m_allocated || index < 0 || static_cast<size_t>(index) >= m_items.size())
        throw VbError::Runtime(vb_error::kSubscriptOutOfRange);
    return m_items[static_cast<size_t>(index)];
}

PropItem* RowStore::Row(int32_t index) noexcept {
    if (index < 0 || index > m_lastIndex) return nullptr;
    return &m_items[static_cast<size_t>(index)];
}

const PropItem* RowStore::Row(int32_t index) const noexcept {
    if (index < 0 || index > m_lastIndex) return nullptr;
    return &m_items[static_cast<size_t>(index)];
}

std::optional<int32_t> RowStore::IndexOf(RowId id, int32_t hint) const noexcept {
    if (id == 0) return std::nullopt;
    if (const PropItem* row = Row(hint); row && row->Id == id) return hint;
    for (int32_t i = 0; i <= m_lastIndex; ++i) {
        if (m_items[static_cast<size_t>(i)].Id == id) return i;
    }
    return std::nullopt;
}

std::wstring RowStore::NormaliseBoolean(const std::wstring& text) const {
    return TextEqualsNoCase(text, m_textTrue) || TextEqualsNoCase(text, L"true") ? m_textTrue : m_textFalse;
}

std::wstring RowStore::ContentForNewRow(int32_t itemType, const std::wstring& text) const {
    if (itemType == row_kind::Boolean) return NormaliseBoolean(text);
    if (itemType == row_kind::Colour) return CStr(Val(text));
    return text;
}

std::wstring RowStore::ValueToStore(int32_t itemType, const std::wstring& text) const {
    if (itemType == row_kind::Boolean) return NormaliseBoolean(text);
    if (itemType == row_kind::Number && text.empty()) return L"0";
    return text;
}

int32_t RowStore::Insert(const std::wstring& name, const std::wstring& content, bool readOnly, int32_t itemType,
                         int32_t index) {
    PropItem item;
    item.SetTexts(name, ContentForNewRow(itemType, content));
    item.ReadOnly = readOnly;
    item.ItemType = itemType;
    item.Id = m_nextId++;

    const int32_t oldCount = Count();
    // An empty list may still hold a blank or left-over record; rows are 0 .. LastIndex.
    ForgetItemDataFrom(static_cast<size_t>(oldCount));
    m_items.resize(static_cast<size_t>(oldCount));
    const int32_t placed = (index < 0 || index >= oldCount) ? oldCount : index;
    m_items.insert(m_items.begin() + placed, std::move(item));
    m_allocated = true;
    m_lastIndex = oldCount;
    if (m_observer) m_observer->RowsChanged(RowObserver::RowChange::Inserted, placed);
    return placed;
}

bool RowStore::Remove(int32_t index) {
    if (index < 0 || index > m_lastIndex) return false;
    if (m_lastIndex > 0) {
        PropItem& going = m_items[static_cast<size_t>(index)];
        if (going.HasItemData) m_itemData.erase(going.Id);
        m_items.erase(m_items.begin() + index);
    }
    --m_lastIndex;
    DropSelectionPastEnd();
    if (m_observer) m_observer->RowsChanged(RowObserver::RowChange::Removed, index);
    return true;
}

void RowStore::Clear() {
    m_lastIndex = -1;
    m_itemData.clear();
    m_items.clear();
    m_items.emplace_back();
    m_allocated = true;
    DropSelectionPastEnd();
    if (m_observer) m_observer->RowsChanged(RowObserver::RowChange::Cleared, -1);
}

void RowStore::StoreValue(int32_t index, std::wstring_view value) {
    At(index).SetValue(value);
    if (m_observer && Row(index)) m_observer->ValueStored(index);
}

const VARIANT* RowStore::ItemDataOf(const PropItem& item) const noexcept {
    if (!item.HasItemData) return nullptr;
    const auto found = m_itemData.find(item.Id);
    return found == m_itemData.end() ? nullptr : &found->second;
}

VARIANT& RowStore::ItemDataFor(PropItem& item) {
    VARIANT& data = m_itemData[item.Id];
    item.HasItemData = true;
    return data;
}

void RowStore::ForgetItemDataFrom(size_t first) noexcept {
    for (size_t i = first; i < m_items.size(); ++i)
        if (m_items[i].HasItemData) m_itemData.erase(m_items[i].Id);
}

void RowStore::ResetLongestItem(double widthTwips) { m_longestItem = CLng(widthTwips); }

void RowStore::WidenLongestItem(double widthTwips) {
    if (widthTwips > m_longestItem) m_longestItem = CLng(widthTwips);
}

int16_t RowStore::SelectedForInterface() const {
    if (m_lastIndex < 0 || m_selIndex > m_lastIndex) return -1;
    return CInt(m_selIndex);
}

bool RowStore::Select(int32_t index) noexcept {
    if (index < -1 || index > m_lastIndex) return false;
    ChangeSelection(index);
    return true;
}

void RowStore::DropSelectionPastEnd() noexcept {
    if (m_selIndex > m_lastIndex) ChangeSelection(-1);
}

void RowStore::ChangeSelection(int32_t index) noexcept {
    const int32_t before = std::exchange(m_selIndex, index);
    if (before != index && m_observer) m_observer->SelectionChanged(before, index);
}

}  // namespace zo
