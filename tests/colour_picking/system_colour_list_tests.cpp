// The "System" tab: the 28 system colours drawn by the picker itself, a pick
// from the list, SetColor in both tabs, the subclass of the picker's window
// and a change of the colour scheme.
#include "tests/colour_picking/picker_fixture.h"
#include "tests/host/message_pump.h"

namespace zo::test {

namespace {

using SystemColourListTest = PickerTest;

struct Row {
    int position;
    const wchar_t* text;
    uint32_t data;
};

constexpr Row kSomeRows[] = {
    {0, L"Scrollbars", 0x80000000},    {3, L"Active Gradient", 0x8000001B}, {5, L"Inactive Gradient", 0x8000001C},
    {17, L"Button Face", 0x8000000F},  {24, L"Button Light Shadow", 0x80000016},
    {26, L"ToolTip", 0x80000018},      {27, L"Hot Items", 0x8000001A},
};

std::wstring RowText(HWND list, int row) {
    wchar_t text[64] = {};
    ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
    return text;
}

POINT RowPoint(HWND list, int row, int x) {
    RECT rect{};
    ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    POINT point{rect.left + x, (rect.top + rect.bottom) / 2};
    ::ClientToScreen(list, &point);
    return point;
}

int SetColor(IDispatch* picker, uint32_t colour) {
    LONG value = static_cast<LONG>(colour);
    return DispOk(Call(picker, L"SetColor", {Variant::RefI4(&value)})) ? 1 : 0;
}

TEST_F(SystemColourListTest, ListsTheTwentyEightSystemColoursInOrder) {
    HWND list = ListWindow();
    ASSERT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 28);
    for (const Row& row : kSomeRows) {
        EXPECT_EQ(RowText(list, row.position), row.text);
        EXPECT_EQ(static_cast<uint32_t>(::SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(row.position), 0)),
                  row.data)
            << row.position;
    }
}

TEST_F(SystemColourListTest, ItemsAreDrawnWithTheirSwatchAndTheSelectionHighlight) {
    ASSERT_TRUE(DispOk(Call(picker.get(), L"Show", {Variant(int16_t{2})})));
    HWND list = ListWindow();
    ::SendMessageW(list, LB_SETTOPINDEX, 0, 0);
    ::SendMessageW(list, LB_SETCURSEL, 1, 0);
    const CapturedBitmap picture = CapturedBitmap::Capture(list, CaptureMethod::PrintClient);
    RECT first{}, second{};
    ::SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    ::SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    const int middle = (first.top + first.bottom) / 2;
    EXPECT_EQ(picture.At(first.left + 4, middle), ::GetSysColor(COLOR_SCROLLBAR)) << "the swatch of Scrollbars";
    EXPECT_EQ(picture.At(first.right - 2, middle), ::GetSysColor(COLOR_WINDOW)) << "an unselected row";
    EXPECT_EQ(picture.At(first.left + 4, (second.top + second.bottom) / 2), ::GetSysColor(COLOR_DESKTOP));
    EXPECT_EQ(picture.At(second.right - 2, (second.top + second.bottom) / 2), ::GetSysColor(COLOR_HIGHLIGHT))
        << "the selected row is highlighted";
}

TEST_F(SystemColourListTest, ALeftClickPicksTheSystemColourAndARightClickNothing) {
    ASSERT_TRUE(DispOk(Call(picker.get(), L"Show", {Variant(int16_t{2})})));
    HWND list = ListWindow();
    ::SendMessageW(list, LB_SETTOPINDEX, 0, 0);
    PumpMessages();
    PressAt(RowPoint(list, 2, 30), Button::Right);
    ReleaseAt(RowPoint(list, 2, 30), Button::Right);
    EXPECT_TRUE(Picks().empty());
    PressAt(RowPoint(list, 3, 30));
    ReleaseAt(RowPoint(list, 3, 30));
    EXPECT_EQ(Picks(), (std::vector<int32_t>{static_cast<int32_t>(0x8000001B)}));
    EXPECT_EQ(Color(), 0) << "a list pick leaves the current colour";
}

TEST_F(SystemColourListTest, SetColorFindsAColourInEitherTabAndShowsThatTabAtTheNextPaint) {
    ASSERT_TRUE(DispOk(Call(picker.get(), L"Show")));
    EXPECT_TRUE(SetColor(picker.get(), 0x8000000F));
    EXPECT_EQ(::SendMessageW(ListWindow(), LB_GETCURSEL, 0, 0), 17) << "Button Face";
    EXPECT_FALSE(ListShown()) << "nothing is drawn until the next paint";
    ::RedrawWindow(PickerWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    EXPECT_TRUE(ListShown());
    EXPECT_TRUE(SetColor(picker.get(), 0x80000016));
    EXPECT_EQ(::SendMessageW(ListWindow(), LB_GETCURSEL, 0, 0), 24) << "Button Light Shadow";

    // White is first found at cell (1, 1), column by column, not in rows 7-8.
    EXPECT_TRUE(SetColor(picker.get(), 0x00FFFFFF));
    ::RedrawWindow(PickerWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    EXPECT_FALSE(ListShown());
    EXPECT_EQ(GridPicture().At(0, 8), RGB(0xFF, 0xFF, 0xFF)) << "the ring on cell (1, 1)";
    EXPECT_EQ(GridPicture().At(1, 8), RGB(0, 0, 0));

    // A colour in neither tab keeps the selection.
    EXPECT_TRUE(SetColor(picker.get(), 0x00123456));
    EXPECT_EQ(GridPicture().At(1, 8), RGB(0, 0, 0)) << "still on cell (1, 1)";
    EXPECT_TRUE(SetColor(picker.get(), 0x0000C0C0));
    const CapturedBitmap moved = GridPicture();
    EXPECT_EQ(moved.At(3 * kCellPitch + 1, 3 * kCellPitch + 8), RGB(0, 0, 0)) << "cell (4, 4) now";
    EXPECT_NE(moved.At(1, 8), RGB(0, 0, 0));
}

TEST_F(SystemColourListTest, SubclassTwiceThenUnSubclassGivesTheWindowItsProcedureBack) {
    HWND window = PickerWindow();
    const LONG_PTR running = ::GetWindowLongPtrW(window, GWLP_WNDPROC);
    ASSERT_TRUE(DispOk(Call(picker.get(), L"UnSubclass")));
    const LONG_PTR original = ::GetWindowLongPtrW(window, GWLP_WNDPROC);
    EXPECT_NE(original, running) << "a hosted picker runs subclassed";
    ASSERT_TRUE(DispOk(Call(picker.get(), L"Subclass")));
    ASSERT_TRUE(DispOk(Call(picker.get(), L"Subclass")));
    EXPECT_EQ(::GetWindowLongPtrW(window, GWLP_WNDPROC), running) << "one procedure installed";
    ASSERT_TRUE(DispOk(Call(picker.get(), L"UnSubclass")));
    EXPECT_EQ(::GetWindowLongPtrW(window, GWLP_WNDPROC), original);
    ASSERT_TRUE(DispOk(Call(picker.get(), L"UnSubclass"))) << "twice does nothing";
    // Unsubclassed the picker still draws its list.
    ASSERT_TRUE(DispOk(Call(picker.get(), L"Show", {Variant(int16_t{2})})));
    HWND list = ListWindow();
    RECT first{};
    ::SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    EXPECT_EQ(CapturedBitmap::Capture(list).At(first.left + 4, (first.top + first.bottom) / 2),
              ::GetSysColor(COLOR_SCROLLBAR));
}

TEST_F(SystemColourListTest, ANewColourSchemeRepaintsTheListInTheNewColours) {
    ASSERT_TRUE(DispOk(Call(picker.get(), L"Show", {Variant(int16_t{2})})));
    HWND list = ListWindow();
    ::SendMessageW(list, LB_SETTOPINDEX, 0, 0);
    ::SendMessageW(list, LB_SETCURSEL, 0, 0);
    RECT first{};
    ::SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    const POINT probe{first.right - 2, (first.top + first.bottom) / 2};
    (void)CapturedBitmap::Capture(list);  // the brushes exist now

    const INT element = COLOR_HIGHLIGHT;
    const COLORREF before = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF scheme = RGB(0x12, 0x9A, 0x34);
    ASSERT_TRUE(::SetSysColors(1, &element, &scheme));
    ::SendMessageW(PickerWindow(), WM_SYSCOLORCHANGE, 0, 0);  // as the form forwards it
    const COLORREF after = CapturedBitmap::Capture(list).At(probe.x, probe.y);
    ::SetSysColors(1, &element, &before);
    ::SendMessageW(PickerWindow(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(after, scheme);
}

}  // namespace

}  // namespace zo::test

namespace zo::test {

namespace {

using LiveGdiObjects = long(WINAPI*)();

// Drawing the tabs, the grid with its ring and the owner-drawn list, and a
// change of colour scheme, over and over, leaves no GDI object behind.
TEST_F(SystemColourListTest, RepaintingBothTabsLeavesTheGdiObjectCountUnchanged) {
    HMODULE library = ::GetModuleHandleW(L"ZoPropList.ocx");
    ASSERT_NE(library, nullptr);
    const auto liveCount =
        reinterpret_cast<LiveGdiObjects>(reinterpret_cast<void*>(::GetProcAddress(library, "ZoLiveGdiObjects")));
    ASSERT_NE(liveCount, nullptr);
    auto paintBoth = [&] {
        (void)Call(picker.get(), L"Show", {Variant(int16_t{1})});
        ::RedrawWindow(PickerWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        (void)Call(picker.get(), L"Show", {Variant(int16_t{2})});
        ::RedrawWindow(PickerWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    };
    ClickCell(3, 3);
    paintBoth();
    PumpMessages();
    const long before = liveCount();
    for (int i = 0; i < 60; ++i) {
        paintBoth();
        if (i % 20 == 0) ::SendMessageW(PickerWindow(), WM_SYSCOLORCHANGE, 0, 0);
        ::SendMessageW(ListWindow(), LB_SETCURSEL, static_cast<WPARAM>(i % 28), 0);
    }
    paintBoth();  // the brushes a colour change dropped are made again
    PumpMessages();
    EXPECT_EQ(liveCount(), before);
}

}  // namespace

}  // namespace zo::test
