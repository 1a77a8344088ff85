// A plain model of a PropertyList's rows, written from the documented rules
// of its item interface, that a soak keeps beside a real control and
// compares with it after every step.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zo::test {

struct ModelRow {
    uint64_t id = 0;  // names the row wherever it moves; 0 for a blank record
    std::wstring name;
    std::wstring value;
    int32_t type = 0;
    bool readOnly = false;
    std::optional<int32_t> itemData;  // the soak stores Longs only

    friend bool operator==(const ModelRow&, const ModelRow&) = default;
};

class ListModel {
public:
    [[nodiscard]] int32_t Count() const noexcept { return m_count; }
    [[nodiscard]] const ModelRow& Row(int32_t index) const { return m_records.at(static_cast<size_t>(index)); }
    [[nodiscard]] ModelRow& Row(int32_t index) { return m_records.at(static_cast<size_t>(index)); }
    // Any record the per-row members reach: the rows, and the blank or
    // left-over record an emptied list keeps at 0.
    [[nodiscard]] ModelRow* Record(int32_t index);
    [[nodiscard]] std::optional<int32_t> IndexOf(uint64_t id) const;
    [[nodiscard]] int32_t Selected() const noexcept;
    [[nodiscard]] int32_t SelIndex() const noexcept { return m_selIndex; }

    // False when Add refuses the index (below -1).
    bool Add(const std::wstring& name, const std::wstring& content, bool readOnly, int32_t type, int32_t index);
    void Remove(int32_t index);
    void Clear();
    bool Select(int32_t index);
    // Takes a selection the user made, already checked to be in range.
    void AdoptSelection(int32_t index) noexcept { m_selIndex = index; }

    [[nodiscard]] std::wstring ValueToStore(int32_t type, const std::wstring& text) const;
    [[nodiscard]] std::wstring ContentForNewRow(int32_t type, const std::wstring& text) const;

    std::wstring textTrue = L"True";
    std::wstring textFalse = L"False";
    bool holdDraw = false;

private:
    [[nodiscard]] std::wstring NormaliseBoolean(const std::wstring& text) const;

    std::vector<ModelRow> m_records;
    bool m_allocated = false;
    int32_t m_count = 0;
    int32_t m_selIndex = -1;
    uint64_t m_nextId = 1;
};

}  // namespace zo::test
