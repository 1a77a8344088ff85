// A hosted PropertyList in plain colours (black on white, blue highlight)
// whose picture the tests read back from its window, with the pixel
// geometry of its rows worked out from its font the way a user measures it
// on screen: rows h + 3 pixels apart, the first starting at y = 1.
#pragma once

#include "tests/host/pixels.h"
#include "tests/property_list/property_list_fixture.h"

namespace zo::test {

inline constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);
inline constexpr COLORREF kGrid = RGB(0x80, 0x80, 0x80);
inline constexpr COLORREF kHighlight = RGB(0, 0, 0xFF);

// Grid lines are dotted on even coordinates: an odd one moves down (rows) or
// right (the column divider) by the dotting rule.
[[nodiscard]] inline int EvenRow(int y) { return y % 2 ? y - 1 : y; }
[[nodiscard]] inline int EvenColumn(int x) { return x % 2 ? x + 1 : x; }

class PaintedListTest : public PropertyListTest {
protected:
    void SetUp() override;

    // The control's window as its own painting leaves it.
    [[nodiscard]] CapturedBitmap Picture();
    [[nodiscard]] HWND ListWindow() { return container.ControlHwnd(); }

    // Text height of the control's font, in pixels.
    [[nodiscard]] int LineHeight();
    [[nodiscard]] int Pitch() { return LineHeight() + 3; }
    // Top of the k-th row on screen.
    [[nodiscard]] int RowTop(int k) { return 1 + k * Pitch(); }
    // The column divider: LongestItem in pixels.
    [[nodiscard]] int Divider();
    // Rows that fit whole in the control's height.
    [[nodiscard]] int RowsThatFit();
    [[nodiscard]] int TopIndex();
};

}  // namespace zo::test
