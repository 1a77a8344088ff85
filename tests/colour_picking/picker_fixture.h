// A ZoColorPicker hosted by its ProgID in the test container (150 x 177
// pixels, the popup form's size), with its ColorPicked events recorded and
// the mouse driven the way the system routes it: to the window holding the
// capture, else to the window under the point.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "common/com_ptr.h"
#include "tests/host/control_site.h"
#include "tests/host/dispatch_call.h"
#include "tests/host/event_sink.h"
#include "tests/host/gtest_support.h"
#include "tests/host/pixels.h"
#include "tests/host/variant.h"

namespace zo::test {

inline constexpr wchar_t kColorPickerProgId[] = L"ZoPropertyList.ZoColorPicker";
inline constexpr DISPID kColorPickedEvent = 1;
inline constexpr int kCellPitch = 17;

// Mouse messages with the button held in wParam, sent where the system would
// deliver them.
enum class Button { Left, Right };
void PressAt(POINT screen, Button button = Button::Left);
void MoveTo(POINT screen, Button held = Button::Left);
void ReleaseAt(POINT screen, Button button = Button::Left);
void HoverAt(POINT screen);  // a move with no button down

class PickerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    [[nodiscard]] HWND PickerWindow() const { return container.ControlHwnd(); }
    [[nodiscard]] HWND GridWindow();
    [[nodiscard]] HWND ListWindow();
    [[nodiscard]] bool ListShown() { return ::IsWindowVisible(ListWindow()) != FALSE; }

    [[nodiscard]] int32_t Colors(int x, int y);
    void SetColors(int x, int y, int32_t colour);
    [[nodiscard]] int32_t Color();
    // The screen point at the centre of palette cell (x, y), or at a pixel
    // of the grid (which may lie outside it).
    [[nodiscard]] POINT CellCentre(int x, int y);
    [[nodiscard]] POINT GridPoint(int x, int y);
    [[nodiscard]] POINT PickerPoint(int x, int y) const;
    void ClickCell(int x, int y, Button button = Button::Left);
    // The ColorPicked values raised so far.
    [[nodiscard]] std::vector<int32_t> Picks() const;

    // The grid and the picker as their own painting leaves them.
    [[nodiscard]] CapturedBitmap GridPicture();
    [[nodiscard]] CapturedBitmap PickerPicture();
    // x(1), x(2), x(3) of the tab strip: where each tab starts, x(3) ending
    // the row, from the captions' widths in the picker's font.
    [[nodiscard]] int TabStart(int tab);

    TestContainer container;
    com_ptr<IDispatch> picker;
    EventRecorder events;
};

// The colour a palette cell shows: the pixel at its centre.
[[nodiscard]] COLORREF Rgb(int32_t colour);

}  // namespace zo::test
