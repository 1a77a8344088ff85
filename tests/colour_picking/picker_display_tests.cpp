// The picker as the user meets it: the two tabs, the palette grid with its
// selection ring, mouse tracking over the cells, and redefining the user's
// own colours with the colour dialog.
#include "tests/colour_picking/colour_dialog_driver.h"
#include "tests/colour_picking/picker_fixture.h"

namespace zo::test {

namespace {

constexpr COLORREF kRingWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kRingBlack = RGB(0, 0, 0);

using PickerDisplayTest = PickerTest;

void ClickPicker(POINT screen) {
    PressAt(screen);
    ReleaseAt(screen);
}

TEST_F(PickerDisplayTest, ShowChoosesTheTabFromItsArgumentAndAFreshPickerDrawsNoTabs) {
    const int activeTabLeft = TabStart(1) - 3;
    EXPECT_EQ(PickerPicture().At(activeTabLeft, 10), ::GetSysColor(COLOR_BTNFACE)) << "no tab before Show";

    struct Case {
        std::vector<Variant> args;
        bool listShown;
    };
    const Case cases[] = {{{}, false}, {{Variant(int16_t{2})}, true}, {{Variant(int16_t{1})}, false},
                          {{Variant(int16_t{0})}, true}, {{Variant(int16_t{1})}, false},
                          {{Variant(int16_t{5})}, true}};
    for (const Case& c : cases) {
        ASSERT_TRUE(DispOk(Call(picker.get(), L"Show", c.args)));
        EXPECT_EQ(ListShown(), c.listShown) << c.args.size() << " argument(s)";
    }
    ASSERT_TRUE(DispOk(Call(picker.get(), L"Show")));
    const CapturedBitmap tabs = PickerPicture();
    EXPECT_EQ(tabs.At(activeTabLeft, 10), ::GetSysColor(COLOR_BTNHIGHLIGHT)) << "the active tab's left edge";
    EXPECT_EQ(tabs.At(TabStart(3) - 1, 10), ::GetSysColor(COLOR_3DDKSHADOW))
        << "the inactive tab's right edge";
}

TEST_F(PickerDisplayTest, ClicksOnTheStripChooseTabsByTheirBoundaries) {
    const int x2 = TabStart(2), x3 = TabStart(3);
    struct Case {
        int startTab, x, y;
        bool listShown;  // the System tab is active afterwards
    };
    const Case cases[] = {
        {2, 5, 10, false},       {2, x2 - 1, 10, false},  // the gap before tab 2 belongs to tab 1
        {1, x2, 10, true},       {1, x3 - 1, 10, true},
        {1, x3, 10, false},      {2, x3 + 4, 10, true},   // right of the last tab: nothing
        {1, x2 + 5, 2, false},   {1, x2 + 5, 22, false},  // above and below the strip
        {1, x2 + 5, 3, true},    {2, 5, 21, false},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(DispOk(Call(picker.get(), L"Show", {Variant(static_cast<int16_t>(c.startTab))})));
        ClickPicker(PickerPoint(c.x, c.y));
        EXPECT_EQ(ListShown(), c.listShown) << "click at " << c.x << ", " << c.y << " from tab " << c.startTab;
    }
}

TEST_F(PickerDisplayTest, ClickOnCellFourFourPicksItsColourAndRingsIt) {
    ASSERT_TRUE(DispOk(Call(picker.get(), L"Show")));
    ClickCell(2, 3);
    ClickCell(4, 4);
    EXPECT_EQ(Picks(), (std::vector<int32_t>{0x000000FF, 0x0000C0C0}));
    EXPECT_EQ(Color(), 0x0000C0C0) << "a light colour comes back whole";

    const CapturedBitmap grid = GridPicture();
    const int x0 = 3 * kCellPitch, y0 = 3 * kCellPitch;
    EXPECT_EQ(grid.At(x0 + 8, y0 + 8), Rgb(0x0000C0C0));
    for (const int edge : {0, 16}) {
        EXPECT_EQ(grid.At(x0 + edge, y0 + 8), kRingWhite) << "white ring, column " << edge;
        EXPECT_EQ(grid.At(x0 + 8, y0 + edge), kRingWhite) << "white ring, row " << edge;
    }
    for (const int edge : {1, 15}) {
        EXPECT_EQ(grid.At(x0 + edge, y0 + 8), kRingBlack) << "black ring, column " << edge;
        EXPECT_EQ(grid.At(x0 + 8, y0 + edge), kRingBlack) << "black ring, row " << edge;
    }
    // The cell selected before has its normal look again.
    const int px0 = 1 * kCellPitch, py0 = 2 * kCellPitch;
    EXPECT_EQ(grid.At(px0, py0 + 8), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(grid.At(px0 + 1, py0 + 8), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(grid.At(px0 + 8, py0 + 8), Rgb(0x000000FF));
}

TEST_F(PickerDisplayTest, DragsThatLeaveTheGridEndOnTheNearestCorner) {
    SetColors(8, 8, 0x00112233);
    SetColors(1, 1, 0x00445566);
    PressAt(CellCentre(1, 1));
    MoveTo(CellCentre(5, 5));
    MoveTo(GridPoint(600, 700));
    ReleaseAt(GridPoint(600, 700));
    PressAt(CellCentre(8, 8));
    MoveTo(GridPoint(-300, -250));
    ReleaseAt(GridPoint(-300, -250));
    EXPECT_EQ(Picks(), (std::vector<int32_t>{0x00112233, 0x00445566}));

    // Moving without a button held moves nothing.
    HoverAt(CellCentre(6, 2));
    const CapturedBitmap grid = GridPicture();
    EXPECT_EQ(grid.At(0, 8), kRingWhite) << "the ring stays on cell (1, 1)";
    EXPECT_NE(grid.At(5 * kCellPitch, kCellPitch + 8), kRingWhite);
    EXPECT_EQ(Picks().size(), 2u);
}

TEST_F(PickerDisplayTest, ReleaseWithoutAPressOnTheGridPicksNothing) {
    ReleaseAt(CellCentre(3, 3));
    EXPECT_TRUE(Picks().empty());
}

TEST_F(PickerDisplayTest, RightReleaseOnThePresetRowsPicksWithoutTheDialog) {
    ColourDialogDriver driver({RGB(1, 2, 3)});
    ClickCell(2, 6, Button::Right);
    EXPECT_FALSE(driver.Seen().has_value()) << "no dialog for row 6";
    EXPECT_EQ(Picks(), (std::vector<int32_t>{0x00000040}));
}

TEST_F(PickerDisplayTest, RightReleaseOnAUserRowRedefinesTheCellThroughTheDialog) {
    SetColors(1, 8, 0x00010203);
    SetColors(3, 7, 0x00ABCDEF);
    {
        ColourDialogDriver driver({RGB(12, 34, 56)});
        ClickCell(3, 7, Button::Right);
        ASSERT_TRUE(driver.Seen().has_value()) << "the colour dialog opened";
        EXPECT_EQ(driver.Seen()->initial, Rgb(0x00ABCDEF)) << "it starts on the cell's colour";
        EXPECT_EQ(driver.Seen()->flags & (CC_FULLOPEN | CC_ANYCOLOR), static_cast<DWORD>(CC_FULLOPEN | CC_ANYCOLOR));
        EXPECT_EQ(driver.Seen()->custom[2], Rgb(0x00ABCDEF)) << "row 7 fills custom colours 0 to 7";
        EXPECT_EQ(driver.Seen()->custom[8], Rgb(0x00010203)) << "row 8 fills custom colours 8 to 15";
    }
    EXPECT_EQ(Colors(3, 7), static_cast<int32_t>(RGB(12, 34, 56)));
    EXPECT_EQ(Picks(), (std::vector<int32_t>{static_cast<int32_t>(RGB(12, 34, 56))}));
    EXPECT_EQ(GridPicture().At(2 * kCellPitch + 8, 6 * kCellPitch + 8), RGB(12, 34, 56)) << "the grid shows it";

    ColourDialogDriver cancelled({RGB(99, 99, 99), false, false});
    ClickCell(5, 8, Button::Right);
    EXPECT_TRUE(cancelled.Seen().has_value());
    EXPECT_EQ(Colors(5, 8), 0x00FFFFFF) << "cancelling changes nothing";
    EXPECT_EQ(Picks().back(), 0x00FFFFFF) << "but the cell is still picked";
}

}  // namespace

}  // namespace zo::test
