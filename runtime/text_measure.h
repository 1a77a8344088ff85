// Measures text on a memory DC of its own, in a copy of the font it is
// given. The copy is made and selected once per font handle rather than on
// every call, and nothing else selects anything into that DC, so a caller
// measuring thousands of names pays for one selection.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

#include "common/handles.h"

namespace zo {

class TextMeasurer {
public:
    // Extent in pixels of `text` in `font` (the DC's default font when
    // null); for empty text, the font's line height with a width of 0.
    // False when no DC or font copy could be made: the caller measures
    // another way.
    [[nodiscard]] bool Extent(HFONT font, std::wstring_view text, SIZE& extent) noexcept;

private:
    [[nodiscard]] bool Prepare(HFONT font) noexcept;

    // Declared in this order so that the copy leaves the DC before it is
    // deleted, and the DC goes last.
    unique_hdc m_dc;
    unique_hfont m_copy;
    std::optional<unique_select> m_selection;
    HFONT m_source = nullptr;
};

}  // namespace zo
