// The list editor of the property list: a text with a list of entries the
// user picks from. Hosted by our own controls only; its position, size and
// visibility are those of its window in the parent's twips.
#pragma once

#include <string>
#include <vector>

#include "runtime/child_controls.h"

namespace zo {

class ZoComboBox final : public ChildControl {
public:
    void Create(HWND parent) noexcept;

    void Clear() noexcept;
    void Add(const std::wstring& entry);
    [[nodiscard]] int ListCount() const noexcept { return static_cast<int>(m_entries.size()); }
    [[nodiscard]] const std::vector<std::wstring>& List() const noexcept { return m_entries; }
    [[nodiscard]] const std::wstring& Text() const noexcept { return m_text; }
    void SetText(const std::wstring& text) noexcept;

    // Installs the handling of the drop-down list window (run time only).
    void Subclass() noexcept { m_subclassed = true; }
    [[nodiscard]] bool Subclassed() const noexcept { return m_subclassed; }
    // Closes the drop-down list if it is open.
    void Rollup() noexcept {}

private:
    std::vector<std::wstring> m_entries;
    std::wstring m_text;
    bool m_subclassed = false;
};

}  // namespace zo
