// PropertyList at every logical DPI the runner gives it: rows at the pitch
// of the font, every row kind's text whole in its row, the hit test on the
// lines the row is painted on, editors filling their rows, the scroll bar as
// wide as the system's, the drop-down list under its combo box and the
// colour popup inside the monitor.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/dpi/dpi_list_fixture.h"

namespace zo::test {
namespace {

[[nodiscard]] int EvenLine(int y) { return y % 2 ? y - 1 : y; }

HWND ScrollBarOf(HWND list) { return ::FindWindowExW(list, nullptr, L"ScrollBar", nullptr); }

TEST_F(DpiListTest, RowsFollowThePitchOfTheFontAndTheScrollPageCountsThem) {
    AddEveryRowKind();
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(DispOk(Add(L"more", L"v")));
    const CapturedBitmap picture = Picture();
    ASSERT_TRUE(picture.Valid());
    const RECT client = Client();
    const int bar = ::GetSystemMetrics(SM_CXVSCROLL);

    // Grey dots down a column where no text reaches: the top line and the
    // bottom of every row that starts inside the client area.
    std::vector<int> expected{0};
    for (int k = 1; RowTop(k) < client.bottom; ++k) expected.push_back(EvenLine(RowTop(k)));
    std::vector<int> found;
    const int column = (client.right - bar - 6) & ~1;
    for (int y = 0; y < picture.Height(); ++y)
        if (picture.At(column, y) == kDots) found.push_back(y);
    EXPECT_EQ(found, expected) << "pitch " << Pitch();

    HWND scrollBar = ScrollBarOf(ListWindow());
    ASSERT_TRUE(scrollBar && ::IsWindowVisible(scrollBar));
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ASSERT_TRUE(::GetScrollInfo(scrollBar, SB_CTL, &info));
    EXPECT_EQ(static_cast<int>(info.nPage), client.bottom / Pitch()) << "the page is the rows that fit whole";
    const RECT place = RectInList(scrollBar);
    EXPECT_EQ(place.right - place.left, bar) << "as wide as the system's scroll bars";
    EXPECT_EQ(place.right, client.right) << "at the right edge";
    EXPECT_EQ(place.top, 0);
    EXPECT_EQ(place.bottom, client.bottom);
}

TEST_F(DpiListTest, EveryRowKindShowsItsTextWholeInsideItsRow) {
    AddEveryRowKind();
    const CapturedBitmap picture = Picture();
    ASSERT_TRUE(picture.Valid());
    SaveScreenshot(picture, L"list-row-kinds");
    const HFONT listFont = FontHandle(Property(L"Font"));
    const HFONT headerFont = FontHandle(Property(L"FontHeader"));
    const int w = Client().right, d = Divider();
    for (int k = 0; k < kRowCaseCount; ++k) {
        const RowCase& row = kRowCases[k];
        SCOPED_TRACE(testing::Message() << "row " << k << " (kind " << row.kind << ")");
        // The band between the row's separators; their dots are grey, not ink.
        const int top = RowTop(k), bottom = RowTop(k + 1);
        if (row.kind == kHeaderRow) {
            EXPECT_EQ(CountIn(picture, kInk, 0, top, w, bottom), InkOf(headerFont, row.name));
            continue;
        }
        EXPECT_EQ(CountIn(picture, kInk, 0, top, d, bottom), InkOf(listFont, row.name)) << "the name";
        const long valueInk = CountIn(picture, kInk, d + 1, top, w, bottom);
        if (row.kind == kColourRow) {
            // The swatch's black frame comes on top of the text.
            EXPECT_GT(valueInk, InkOf(listFont, row.shown)) << "the colour value";
        } else {
            EXPECT_EQ(valueInk, InkOf(listFont, row.shown)) << "the value";
        }
    }
}

TEST_F(DpiListTest, EachEditorFillsItsRowExactly) {
    AddEveryRowKind();
    // Offsets from the row's first line and growth over the text line, in
    // pixels: the same at every DPI.
    struct Case {
        int row;
        const wchar_t* editorClass;
        int top, extraHeight;
    };
    const Case cases[] = {
        {1, L"Edit", 1, 0},           {2, L"Edit", 1, 0},           {3, L"ZoComboBox", 0, 2},
        {4, L"Edit", 1, 0},           {4, L"ZoPictureBox", -1, 3},  {5, L"ZoPictureBox", 0, 2},
        {6, L"ZoComboBox", 0, 2},
    };
    const int h = LineHeight(), w = Client().right;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << ", " << Narrow(c.editorClass));
        PressAt(2, RowTop(c.row) + Pitch() / 2);
        ASSERT_EQ(Selected(), c.row);
        HWND editor = ShownChild(c.editorClass);
        ASSERT_TRUE(editor) << "no editor shown";
        const RECT place = RectInList(editor);
        EXPECT_EQ(place.top, RowTop(c.row) + c.top);
        EXPECT_EQ(place.bottom - place.top, h + c.extraHeight);
        EXPECT_EQ(place.right, w) << "to the right edge";
        if (c.row == 5) SaveScreenshot(Picture(CaptureMethod::PrintClientWithChildren), L"list-colour-editor");
    }
}

TEST_F(DpiListTest, APressOnTheFirstOrLastLineOfARowSelectsTheRowPaintedThere) {
    AddEveryRowKind();
    for (int k = 0; k < kRowCaseCount; ++k) {
        for (int y : {RowTop(k), RowTop(k + 1) - 1}) {
            SCOPED_TRACE(testing::Message() << "row " << k << ", y = " << y);
            PressAt(1, y);
            ASSERT_EQ(Selected(), k);
            const CapturedBitmap picture = Picture();
            EXPECT_EQ(picture.At(1, y), kMarked) << "painted as selected where it was pressed";
            EXPECT_NE(picture.At(1, RowTop(k + 1) + 1), kMarked) << "the row below is not";
        }
    }
}

// The combo box's own list, shown as a top-most child of the desktop.
HWND DroppedList() {
    for (HWND list = ::FindWindowExW(::GetDesktopWindow(), nullptr, L"ListBox", nullptr); list;
         list = ::FindWindowExW(::GetDesktopWindow(), list, L"ListBox", nullptr)) {
        if (::IsWindowVisible(list)) return list;
    }
    return nullptr;
}

TEST_F(DpiListTest, TheDropDownListHangsUnderItsComboBoxWithEveryEntryWhole) {
    AddEveryRowKind();
    PressAt(2, RowTop(3) + Pitch() / 2);
    HWND combo = ShownChild(L"ZoComboBox");
    ASSERT_TRUE(combo);
    HWND button = ::FindWindowExW(combo, nullptr, L"ZoComboButton", nullptr);
    ASSERT_TRUE(button);
    ::SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    container.Pump();
    HWND dropped = DroppedList();
    ASSERT_TRUE(dropped) << "the list did not drop down";
    RECT box{}, hanging{}, inside{};
    ::GetWindowRect(combo, &box);
    ::GetWindowRect(dropped, &hanging);
    ::GetClientRect(dropped, &inside);
    EXPECT_EQ(hanging.top, box.bottom) << "right under the combo box";
    EXPECT_EQ(hanging.left, box.left);
    EXPECT_EQ(hanging.right, box.right);
    const LRESULT count = ::SendMessageW(dropped, LB_GETCOUNT, 0, 0);
    const LRESULT itemHeight = ::SendMessageW(dropped, LB_GETITEMHEIGHT, 0, 0);
    EXPECT_EQ(count, 2);
    EXPECT_GE(inside.bottom, count * itemHeight) << "every entry whole";
    EXPECT_GE(itemHeight, LineHeight()) << "entries as tall as the text line";
    ::SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    container.Pump();
}

TEST_F(DpiListTest, TheColourPopupOpensInsideTheMonitorNearItsCorner) {
    AddEveryRowKind();
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(ListWindow(), MONITOR_DEFAULTTONEAREST), &monitor));
    // The frame moved so that the list reaches past the bottom right corner.
    RECT frame{};
    ::GetWindowRect(container.FrameHwnd(), &frame);
    RECT listOnScreen{};
    ::GetWindowRect(ListWindow(), &listOnScreen);
    const int dx = monitor.rcMonitor.right - listOnScreen.right + Scaled(30);
    const int dy = monitor.rcMonitor.bottom - listOnScreen.top - RowTop(7);
    ::SetWindowPos(container.FrameHwnd(), nullptr, frame.left + dx, frame.top + dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    container.Pump();
    PressAt(2, RowTop(5) + Pitch() / 2);
    HWND colourBox = ShownChild(L"ZoPictureBox");
    ASSERT_TRUE(colourBox);
    HWND arrow = ::GetWindow(colourBox, GW_CHILD);
    ASSERT_TRUE(arrow);
    ::SendMessageW(arrow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(arrow, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    container.Pump();
    HWND popup = ::FindWindowW(L"ZoColorForm", nullptr);
    ASSERT_TRUE(popup && ::IsWindowVisible(popup));
    RECT shown{}, below{};
    ::GetWindowRect(popup, &shown);
    ::GetWindowRect(arrow, &below);
    EXPECT_GE(shown.left, monitor.rcMonitor.left);
    EXPECT_LE(shown.right, monitor.rcMonitor.right);
    EXPECT_GE(shown.top, monitor.rcMonitor.top);
    EXPECT_LE(shown.bottom, monitor.rcMonitor.bottom);
    EXPECT_EQ(shown.bottom, below.top) << "above the arrow, which is too near the bottom";
    ::SendMessageW(arrow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(arrow, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    container.Pump();
}

TEST_F(DpiListTest, TheDropDownArrowsAreDrawnWholeAtAWholeScale) {
    AddEveryRowKind();
    // The 7 x 4 triangle (16 black pixels) keeps its size up to 191 DPI and
    // is drawn whole times larger from 192 DPI.
    const int scale = ScreenDpi() >= 192 ? ScreenDpi() / 96 : 1;
    const struct {
        int row;
        const wchar_t* editorClass;
        const wchar_t* buttonClass;
    } cases[] = {{3, L"ZoComboBox", L"ZoComboButton"}, {5, L"ZoPictureBox", L"ZoPictureBox"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row);
        PressAt(2, RowTop(c.row) + Pitch() / 2);
        HWND editor = ShownChild(c.editorClass);
        ASSERT_TRUE(editor);
        HWND button = ::FindWindowExW(editor, nullptr, c.buttonClass, nullptr);
        ASSERT_TRUE(button);
        const CapturedBitmap picture = CapturedBitmap::Capture(button, CaptureMethod::PrintClient);
        RECT ink{picture.Width(), picture.Height(), 0, 0};
        for (int y = 0; y < picture.Height(); ++y) {
            for (int x = 0; x < picture.Width(); ++x) {
                if (picture.At(x, y) != kInk) continue;
                ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x + 1),
                       std::max<LONG>(ink.bottom, y + 1)};
            }
        }
        EXPECT_EQ(picture.CountColor(kInk), 16 * scale * scale);
        EXPECT_EQ(ink.right - ink.left, 7 * scale);
        EXPECT_EQ(ink.bottom - ink.top, 4 * scale);
    }
}

}  // namespace
}  // namespace zo::test
