#include "tests/host/soak/list_model.h"

#include "common/vb_conversions.h"

namespace zo::test {

ModelRow* ListModel::Record(int32_t index) {
    if (!m_allocated || index < 0 || static_cast<size_t>(index) >= m_records.size()) return nullptr;
    return &m_records[static_cast<size_t>(index)];
}

std::optional<int32_t> ListModel::IndexOf(uint64_t id) const {
    for (int32_t i = 0; i < m_count; ++i)
        if (m_records[static_cast<size_t>(i)].id == id) return i;
    return std::nullopt;
}

int32_t ListModel::Selected() const noexcept { return m_count == 0 || m_selIndex >= m_count ? -1 : m_selIndex; }

std::wstring ListModel::NormaliseBoolean(const std::wstring& text) const {
    return TextEqualsNoCase(text, textTrue) || TextEqualsNoCase(text, L"true") ? textTrue : textFalse;
}

std::wstring ListModel::ValueToStore(int32_t type, const std::wstring& text) const {
    if (type == 2) return NormaliseBoolean(text);
    if (type == 1 && text.empty()) return L"0";
    return text;
}

std::wstring ListModel::ContentForNewRow(int32_t type, const std::wstring& text) const {
    if (type == 2) return NormaliseBoolean(text);
    if (type == 4) return CStr(Val(text));
    return text;
}

bool ListModel::Add(const std::wstring& name, const std::wstring& content, bool readOnly, int32_t type,
                    int32_t index) {
    if (index < -1) return false;
    ModelRow row{m_nextId++, name, ContentForNewRow(type, content), type, readOnly, std::nullopt};
    m_records.resize(static_cast<size_t>(m_count));
    const int32_t placed = index < 0 || index >= m_count ? m_count : index;
    m_records.insert(m_records.begin() + placed, std::move(row));
    m_allocated = true;
    ++m_count;
    return true;
}

void ListModel::Remove(int32_t index) {
    if (index < 0 || index >= m_count) return;
    // Removing the only row leaves its record behind.
    if (m_count > 1) m_records.erase(m_records.begin() + index);
    --m_count;
    if (m_selIndex >= m_count) m_selIndex = -1;
}

void ListModel::Clear() {
    m_records.assign(1, ModelRow{});
    m_allocated = true;
    m_count = 0;
    if (m_selIndex >= m_count) m_selIndex = -1;
}

bool ListModel::Select(int32_t index) {
    if (index < -1 || index >= m_count) return false;
    m_selIndex = index;
    return true;
}

}  // namespace zo::test
