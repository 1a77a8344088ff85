// The list's dotted grid: grey dots on even columns of even rows, drawn over
// whatever lies below without touching the pixels between them. Two pattern
// brushes paint a whole line in two steps (the first clears the dots, the
// second colours them) instead of one call per dot.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/handles.h"

namespace zo {

inline constexpr COLORREF kGridColour = RGB(0x80, 0x80, 0x80);

class GridDots {
public:
    GridDots() noexcept;

    // A dotted line (horizontal when x1 != x2) moved onto even coordinates,
    // so that crossing lines share their dots: a horizontal line from the
    // even column at or after its start to the even column at or after its
    // end, on the even row at or above y1; a vertical one on the even column
    // at or after x1, from the even row at or above its start to its end.
    void Line(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2) const noexcept;

private:
    void Fill(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom) const noexcept;

    unique_hbrush m_clear;   // black dots on white: dest AND pattern
    unique_hbrush m_colour;  // grey dots on black: dest OR pattern
};

}  // namespace zo
