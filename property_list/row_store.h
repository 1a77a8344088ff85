// The rows of a PropertyList: the item records and every rule of adding,
// inserting, removing, retyping and normalising them, the widest-name
// bookkeeping and the selection. No window and no COM: the control measures
// text and raises events, this store only keeps the rows consistent.
//
// Rows are counted in 32 bits; the 16-bit interface reads them through the
// *ForInterface members, which fail with Overflow (error 6) for a count or
// index it cannot carry.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/handles.h"

namespace zo {

// Kinds of rows, as the ItemTypes enumeration of the type library numbers them.
namespace row_kind {
inline constexpr int32_t Text = 0, Number = 1, Boolean = 2, Browse = 3, Colour = 4, Custom = 5, OwnerDraw = 6,
                         Header = 7;
// Rows whose value the text box edits.
[[nodiscard]] constexpr bool IsTextKind(int32_t kind) noexcept { return kind == Text || kind == Number; }
}

// Names a row for as long as it exists, wherever insertions and removals
// move it; 0 names no row (a blank or left-over record).
using RowId = uint64_t;

// One row. The value is always kept as text; the name and the value share
// one allocation, and item data lives in the store, only for rows that have
// it, so that a long list costs little beyond its texts.
class PropItem {
public:
    [[nodiscard]] std::wstring_view Name() const noexcept { return {m_text.get(), m_nameLength}; }
    [[nodiscard]] std::wstring_view Value() const noexcept {
        return {m_text ? m_text.get() + m_nameLength : nullptr, m_valueLength};
    }
    void SetName(std::wstring_view name) { SetTexts(name, Value()); }
    void SetValue(std::wstring_view value) { SetTexts(Name(), value); }
    void SetTexts(std::wstring_view name, std::wstring_view value);

    RowId Id = 0;
    int32_t ItemType = row_kind::Text;
    bool ReadOnly = false;
    // Set by the store when it keeps item data for this record.
    bool HasItemData = false;

private:
    std::unique_ptr<wchar_t[]> m_text;
    uint32_t m_nameLength = 0;
    uint32_t m_valueLength = 0;
};

// Hears of the changes that an assistive client is told about. Called after
// the change, with the store already consistent; it must not change the rows.
class RowObserver {
public:
    // A row was added or removed at `index` (its index while it was there),
    // or every row was cleared (`index` -1).
    enum class RowChange { Inserted, Removed, Cleared };
    virtual void RowsChanged(RowChange change, int32_t index) noexcept = 0;
    // The selected row went from `before` to `now` (either may be -1).
    virtual void SelectionChanged(int32_t before, int32_t now) noexcept = 0;
    virtual void ValueStored(int32_t index) noexcept = 0;

protected:
    ~RowObserver() = default;
};

class RowStore {
public:
    // One observer at a time (borrowed); null for none.
    void SetObserver(RowObserver* observer) noexcept { m_observer = observer; }

    // Index of the last row, -1 when the list is empty.
    [[nodiscard]] int32_t LastIndex() const noexcept { return m_lastIndex; }
    [[nodiscard]] int32_t Count() const noexcept { return m_lastIndex + 1; }
    [[nodiscard]] int16_t CountForInterface() const;

    // The record at `index`: any record the array holds, including the blank
    // or left-over one of an empty list; error 9 outside the array.
    [[nodiscard]] PropItem& At(int32_t index);
    // Row `index` when it is one of the rows 0 .. LastIndex, otherwise null.
    [[nodiscard]] PropItem* Row(int32_t index) noexcept;
    [[nodiscard]] const PropItem* Row(int32_t index) const noexcept;
    // Where the row named `id` is now; `hint` is tried first.
    [[nodiscard]] std::optional<int32_t> IndexOf(RowId id, int32_t hint = -1) const noexcept;

    // Adds a row made by the rules of `Add` at `index` (-1 or past the end:
    // at the end; rows from `index` on move down) and returns its index.
    int32_t Insert(const std::wstring& name, const std::wstring& content, bool readOnly, int32_t itemType,
                   int32_t index);
    // Removes row `index`; an index that names no row changes nothing.
    // Removing the only row leaves its record behind as the left-over one.
    bool Remove(int32_t index);
    // No rows, and a single blank record.
    void Clear();
    // Stores `value` as it is in the record at `index` (see At).
    void StoreValue(int32_t index, std::wstring_view value);

    // The value a row of `itemType` stores when it is given `text`: by the
    // rules of `Add` (creating) or of `Value` let (storing).
    [[nodiscard]] std::wstring ContentForNewRow(int32_t itemType, const std::wstring& text) const;
    [[nodiscard]] std::wstring ValueToStore(int32_t itemType, const std::wstring& text) const;
    [[nodiscard]] std::wstring NormaliseBoolean(const std::wstring& text) const;

    [[nodiscard]] const std::wstring& TextTrue() const noexcept { return m_textTrue; }
    [[nodiscard]] const std::wstring& TextFalse() const noexcept { return m_textFalse; }
    void SetTextTrue(std::wstring text) { m_textTrue = std::move(text); }
    void SetTextFalse(std::wstring text) { m_textFalse = std::move(text); }

    // The column split in twips: at least the width of the widest name.
    [[nodiscard]] int32_t LongestItem() const noexcept { return m_longestItem; }
    void ResetLongestItem(double widthTwips);
    // A name measuring `widthTwips` (margin included) widens the column.
    void WidenLongestItem(double widthTwips);

    // The item data kept for a record (any record At can reach), or null
    // when it has none; ItemDataFor makes an empty one to write into.
    [[nodiscard]] const VARIANT* ItemDataOf(const PropItem& item) const noexcept;
    [[nodiscard]] VARIANT& ItemDataFor(PropItem& item);

    // The selected row, -1 for none. Selection past the last row is dropped
    // whenever rows go, so that no later step reads a row that is gone.
    [[nodiscard]] int32_t SelIndex() const noexcept { return m_selIndex; }
    [[nodiscard]] PropItem* Selected() noexcept { return Row(m_selIndex); }
    // Whether the row named `id` is still the selected one: a host may have
    // changed the rows inside an event.
    [[nodiscard]] bool SelectedIs(RowId id) const noexcept {
        const PropItem* selected = Row(m_selIndex);
        return id != 0 && selected && selected->Id == id;
    }
    // -1 for an empty list or no selection; Overflow past 32767.
    [[nodiscard]] int16_t SelectedForInterface() const;
    // Selects -1 .. LastIndex; anything else is refused.
    bool Select(int32_t index) noexcept;

private:
    void DropSelectionPastEnd() noexcept;
    void ChangeSelection(int32_t index) noexcept;
    // The records from `first` on are about to go: so does their item data.
    void ForgetItemDataFrom(size_t first) noexcept;

    std::vector<PropItem> m_items;
    std::unordered_map<RowId, unique_variant> m_itemData;
    bool m_allocated = false;
    int32_t m_lastIndex = -1;
    int32_t m_selIndex = -1;
    int32_t m_longestItem = 0;
    RowId m_nextId = 1;
    RowObserver* m_observer = nullptr;
    std::wstring m_textTrue = L"True";
    std::wstring m_textFalse = L"False";
};

}  // namespace zo
