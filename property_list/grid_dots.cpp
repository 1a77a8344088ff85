#include "property_list/grid_dots.h"

#include <algorithm>
#include <array>

namespace zo {

namespace {

constexpr int kSide = 8;
constexpr DWORD kDestAndPattern = 0x00A000C9;
constexpr DWORD kDestOrPattern = 0x00FA0089;

// An 8 x 8 pattern with `dot` on even columns of even rows and `gap`
// elsewhere, as a packed bottom-up 32-bit DIB.
unique_hbrush PatternBrush(COLORREF dot, COLORREF gap) noexcept {
    struct PackedDib {
        BITMAPINFOHEADER header;
        std::array<DWORD, kSide * kSide> pixels;
    } dib{};
    dib.header.biSize = sizeof(BITMAPINFOHEADER);
    dib.header.biWidth = kSide;
    dib.header.biHeight = kSide;
    dib.header.biPlanes = 1;
    dib.header.biBitCount = 32;
    dib.header.biCompression = BI_RGB;
    const auto pixel = [](COLORREF colour) {
        return static_cast<DWORD>(GetRValue(colour)) << 16 | static_cast<DWORD>(GetGValue(colour)) << 8 |
               GetBValue(colour);
    };
    for (int y = 0; y < kSide; ++y) {
        const int memoryRow = kSide - 1 - y;  // bottom-up
        for (int x = 0; x < kSide; ++x)
            dib.pixels[static_cast<size_t>(memoryRow * kSide + x)] = pixel(x % 2 == 0 && y % 2 == 0 ? dot : gap);
    }
    return unique_hbrush(::CreateDIBPatternBrushPt(&dib, DIB_RGB_COLORS));
}

int32_t EvenAtOrAfter(int32_t value) noexcept { return value % 2 == 0 ? value : value + 1; }
int32_t EvenAtOrBefore(int32_t value) noexcept { return value % 2 == 0 ? value : value - 1; }

}  // namespace

GridDots::GridDots() noexcept
    : m_clear(PatternBrush(RGB(0, 0, 0), RGB(0xFF, 0xFF, 0xFF))), m_colour(PatternBrush(kGridColour, RGB(0, 0, 0))) {}

void GridDots::Line(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2) const noexcept {
    if (x1 != x2) {
        // An odd start moves the whole line one column right.
        int32_t from = std::min(x1, x2), to = std::max(x1, x2);
        if (from % 2 != 0) {
            ++from;
            ++to;
        }
        const int32_t y = EvenAtOrBefore(y1);
        Fill(dc, from, y, EvenAtOrAfter(to) + 1, y + 1);
    } else {
        const int32_t x = EvenAtOrAfter(x1);
        Fill(dc, x, EvenAtOrBefore(std::min(y1, y2)), x + 1, std::max(y1, y2) + 1);
    }
}

// The pattern is aligned with the DC's origin, so every pixel of the area
// on an even column of an even row becomes a dot.
void GridDots::Fill(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom) const noexcept {
    if (right <= left || bottom <= top) return;
    if (m_clear && m_colour) {
        ::SetBrushOrgEx(dc, 0, 0, nullptr);
        unique_select clear(dc, m_clear.get());
        ::PatBlt(dc, left, top, right - left, bottom - top, kDestAndPattern);
        unique_select colour(dc, m_colour.get());
        ::PatBlt(dc, left, top, right - left, bottom - top, kDestOrPattern);
        return;
    }
    // Without the brushes, dot by dot.
    for (int32_t y = EvenAtOrAfter(top); y < bottom; y += 2)
        for (int32_t x = EvenAtOrAfter(left); x < right; x += 2) ::SetPixel(dc, x, y, kGridColour);
}

}  // namespace zo
