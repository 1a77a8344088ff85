// The colour picker's 64-colour palette: cells numbered by column x and row y
// from 1 to 8, stored row by row, the default table of a new picker and the
// property-bag key of each cell.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zo {

inline constexpr int kPaletteSide = 8;
inline constexpr int kPaletteCells = kPaletteSide * kPaletteSide;
inline constexpr std::int32_t kWhite = 0x00FFFFFF;
// Rows 7 and 8 hold the user's own colours.
inline constexpr int kFirstUserRow = 7;

using PaletteColours = std::array<std::int32_t, kPaletteCells>;

[[nodiscard]] constexpr bool IsPaletteCell(int x, int y) noexcept {
    return x >= 1 && x <= kPaletteSide && y >= 1 && y <= kPaletteSide;
}

// Storage index of cell (x, y): the eight cells of row 1 first, then row 2...
[[nodiscard]] constexpr int PaletteIndex(int x, int y) noexcept { return (x - 1) + (y - 1) * kPaletteSide; }

// The palette of a new picker: six rows of preset colours, then two white
// rows of the user's own.
[[nodiscard]] const PaletteColours& DefaultPalette() noexcept;

// Every cell white.
[[nodiscard]] constexpr PaletteColours WhitePalette() noexcept {
    PaletteColours colours{};
    for (std::int32_t& colour : colours) colour = kWhite;
    return colours;
}

// "Colors" followed by the column digit and the row digit ("Colors81" is
// column 8, row 1).
[[nodiscard]] std::wstring PaletteKey(int x, int y);

}  // namespace zo
