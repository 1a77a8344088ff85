// ZoColorPicker at every logical DPI the runner gives it, hosted at its
// popup size scaled from 96 DPI: each tab's outline holds its caption inside
// the picker, and each palette cell shows its colour where a press picks it.
#include <gtest/gtest.h>

#include <string>

#include "tests/dpi/dpi_list_fixture.h"
#include "tests/dpi/dpi_scale.h"
#include "tests/host/accessible_client.h"
#include "tests/host/message_pump.h"

namespace zo::test {
namespace {

constexpr wchar_t kPickerProgId[] = L"ZoPropertyList.ZoColorPicker";
const wchar_t* const kCaptions[] = {L"Palette", L"System"};

class DpiPickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        HostOptions options;
        options.position = {20, 20, 20 + Scaled(150), 20 + Scaled(177)};
        ASSERT_TRUE(Hosted(container.Host(kPickerProgId, options)));
        picker = container.Dispatch();
        ASSERT_TRUE(picker);
        PumpMessages();
    }
    void TearDown() override {
        picker.reset();
        container.Close();
        EXPECT_EQ(container.ControlRefsAfterClose(), 0u);
    }
    [[nodiscard]] HWND Window() const { return container.ControlHwnd(); }
    [[nodiscard]] HWND Grid() {
        return reinterpret_cast<HWND>(static_cast<LONG_PTR>(Get(picker.get(), L"hWndColors").value.ToLong()));
    }
    [[nodiscard]] int CaptionWidth(int tab) {
        const HFONT font = FontHandle(Get(picker.get(), L"Font").value);
        HDC screen = ::GetDC(nullptr);
        const HGDIOBJ previous = ::SelectObject(screen, font);
        SIZE extent{};
        ::GetTextExtentPoint32W(screen, kCaptions[tab - 1], static_cast<int>(wcslen(kCaptions[tab - 1])), &extent);
        ::SelectObject(screen, previous);
        ::ReleaseDC(nullptr, screen);
        return extent.cx;
    }
    // Where a tab starts and ends: 3 pixels in, each caption with 8 pixels
    // on either side, tabs a pixel apart, all scaled from 96 DPI.
    [[nodiscard]] int TabLeft(int tab) {
        int left = Scaled(3);
        for (int i = 1; i < tab; ++i) left += CaptionWidth(i) + 2 * Scaled(8) + 1;
        return left;
    }
    [[nodiscard]] int TabRight(int tab) { return TabLeft(tab) + CaptionWidth(tab) + 2 * Scaled(8); }

    TestContainer container;
    com_ptr<IDispatch> picker;
};

TEST_F(DpiPickerTest, EachTabsOutlineHoldsItsCaptionInsideThePicker) {
    const COLORREF darkShadow = ::GetSysColor(COLOR_3DDKSHADOW), text = ::GetSysColor(COLOR_BTNTEXT);
    const HFONT font = FontHandle(Get(picker.get(), L"Font").value);
    for (int shown : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "tab " << shown << " shown");
        ASSERT_TRUE(DispOk(Call(picker.get(), L"Show", {Variant(static_cast<int16_t>(shown))})));
        PumpMessages();
        const CapturedBitmap picture = CapturedBitmap::Capture(Window(), CaptureMethod::PrintClientWithChildren);
        ASSERT_TRUE(picture.Valid());
        SaveScreenshot(CapturedBitmap::Capture(Window(), CaptureMethod::Screen),
                       shown == 1 ? L"picker-palette" : L"picker-system");
        const int middle = Scaled(12);  // a line through both tabs, below their tops
        for (int tab : {1, 2}) {
            SCOPED_TRACE(testing::Message() << "tab " << tab);
            // The active tab stands 3 pixels (scaled) wider on each side.
            const int widening = tab == shown ? Scaled(3) : 0;
            const int left = TabLeft(tab) - widening, right = TabRight(tab) + widening;
            const int darkEdge = tab == shown ? right - 1 : right;
            EXPECT_LT(darkEdge, picture.Width() - 1) << "the tab ends inside the picker";
            // The active second tab covers the right edge of the first.
            if (!(tab == 1 && shown == 2)) {
                EXPECT_EQ(picture.At(darkEdge, middle), darkShadow) << "its right outline at x = " << darkEdge;
            }
            // Every pixel of the caption, inside the outline and the strip.
            const long ink = CountIn(picture, text, left + 2, 0, right - 1, Scaled(21));
            EXPECT_EQ(ink, InkOf(font, kCaptions[tab - 1]));
        }
    }
}

// A screen reader finds each tab where it is drawn: its whole band, from the
// active tab's top to the strip's bottom, both scaled from 96 DPI.
TEST_F(DpiPickerTest, EachTabIsFoundWhereItIsDrawn) {
    ASSERT_TRUE(DispOk(Call(picker.get(), L"Show", {Variant(static_cast<int16_t>(1))})));
    PumpMessages();
    com_ptr<IAccessible> object = AccessibleOf(Window());
    ASSERT_TRUE(object);
    POINT origin{};
    ::ClientToScreen(Window(), &origin);
    for (long tab : {1L, 2L}) {
        SCOPED_TRACE(testing::Message() << "tab " << tab);
        const RECT location = AccLocation(*object.get(), tab);
        EXPECT_EQ(location.left - origin.x, TabLeft(tab));
        EXPECT_EQ(location.right - origin.x, TabRight(tab));
        EXPECT_EQ(location.top - origin.y, Scaled(1));
        EXPECT_EQ(location.bottom - origin.y, Scaled(22));
        const POINT lowInTheTab{origin.x + (TabLeft(tab) + TabRight(tab)) / 2, origin.y + Scaled(20)};
        EXPECT_EQ(AccHitTest(*object.get(), lowInTheTab), tab);
    }
}

TEST_F(DpiPickerTest, EachCellShowsItsColourWhereAPressPicksIt) {
    ASSERT_TRUE(DispOk(Call(picker.get(), L"Show", {Variant(static_cast<int16_t>(1))})));
    PumpMessages();
    const int pitch = Scaled(17);
    RECT grid{}, whole{};
    ::GetClientRect(Grid(), &grid);
    ::GetClientRect(Window(), &whole);
    EXPECT_EQ(grid.right, 8 * pitch + 1);
    EXPECT_EQ(grid.bottom, 8 * pitch + 1);
    RECT gridInPicker{};
    ::GetWindowRect(Grid(), &gridInPicker);
    ::MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&gridInPicker), 2);
    EXPECT_LE(gridInPicker.bottom, whole.bottom) << "the grid fits the picker";
    const struct {
        int x, y;
    } cells[] = {{1, 1}, {4, 4}, {8, 1}, {3, 7}, {8, 8}};
    for (const auto& cell : cells) {
        SCOPED_TRACE(testing::Message() << "cell " << cell.x << ", " << cell.y);
        const int32_t colour =
            Get(picker.get(), L"Colors", static_cast<int16_t>(cell.x), static_cast<int16_t>(cell.y)).value.ToLong();
        // Two pixels in from the swatch's corners and its centre.
        const int x0 = (cell.x - 1) * pitch, y0 = (cell.y - 1) * pitch;
        const CapturedBitmap picture = CapturedBitmap::Capture(Grid(), CaptureMethod::PrintClient);
        for (const POINT at : {POINT{x0 + 3, y0 + 3}, POINT{x0 + pitch / 2, y0 + pitch / 2},
                               POINT{x0 + pitch - 3, y0 + pitch - 3}})
            EXPECT_EQ(picture.At(at.x, at.y), static_cast<COLORREF>(colour) & 0xFFFFFF) << at.x << ", " << at.y;
        const LPARAM centre = MAKELPARAM(x0 + pitch / 2, y0 + pitch / 2);
        ::SendMessageW(Grid(), WM_LBUTTONDOWN, MK_LBUTTON, centre);
        ::SendMessageW(Grid(), WM_LBUTTONUP, 0, centre);
        PumpMessages();
        EXPECT_EQ(Get(picker.get(), L"Color").value.ToLong(), colour);
    }
}

}  // namespace
}  // namespace zo::test
