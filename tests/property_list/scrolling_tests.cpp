// The layout of a PropertyList and its scrolling: the minimum size, the
// scroll bar shown when the rows do not fit, and scrolling by the bar's own
// arrows and thumb, by the wheel and by TopIndex.
#include <gtest/gtest.h>

#include <string>

#include "common/twips.h"
#include "tests/property_list/painted_list.h"

namespace zo::test {
namespace {

class ScrollingTest : public PaintedListTest {
protected:
    [[nodiscard]] HWND Bar() { return ::FindWindowExW(ListWindow(), nullptr, L"ScrollBar", nullptr); }
    [[nodiscard]] HWND TextEditor() { return ::FindWindowExW(ListWindow(), nullptr, L"Edit", nullptr); }
    [[nodiscard]] SCROLLINFO BarInfo() {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        ::GetScrollInfo(Bar(), SB_CTL, &info);
        return info;
    }
    void AddRows(int count) {
        for (int i = 0; i < count; ++i) ASSERT_TRUE(DispOk(Add(L"Row " + std::to_wstring(i), L"value")));
    }
    void Wheel(int delta) {
        ::SendMessageW(ListWindow(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), MAKELPARAM(50, 50));
        container.Pump();
    }
    // Presses and releases the mouse on the bar at (x, y) of its client
    // area, moving to `release` first; the bar tracks it in its own loop.
    void ClickBar(POINT press, POINT release) {
        HWND bar = Bar();
        ::PostMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(release.x, release.y));
        ::PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
        ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
        container.Pump();
    }
    [[nodiscard]] RECT ClientRect() {
        RECT client{};
        ::GetClientRect(ListWindow(), &client);
        return client;
    }
    // The last first row: the list's last page starts there.
    [[nodiscard]] int LastFirstRow() { return ListCount() - RowsThatFit(); }
};

TEST_F(ScrollingTest, AControlIsNeverSmallerThan1200TwipsEachWay) {
    const int tx = zo::TwipsPerPixelX(), ty = zo::TwipsPerPixelY();
    ASSERT_HRESULT_SUCCEEDED(container.Move(RECT{10, 10, 10 + 800 / tx, 10 + 600 / ty}));
    container.Pump();
    RECT window{};
    ::GetWindowRect(ListWindow(), &window);
    EXPECT_EQ(window.right - window.left, 1200 / tx);
    EXPECT_EQ(window.bottom - window.top, 1200 / ty);
}

TEST_F(ScrollingTest, TheBarAppearsWhenTheRowsNoLongerFitAndGoesWhenTheyDo) {
    const int fit = RowsThatFit();
    ASSERT_GT(fit, 3);
    AddRows(fit);
    ASSERT_TRUE(Bar());
    EXPECT_FALSE(::IsWindowVisible(Bar()));
    EXPECT_EQ(events.Count(list_event::Resize), static_cast<size_t>(fit)) << "every Add lays the control out";

    AddRows(1);
    EXPECT_TRUE(::IsWindowVisible(Bar()));
    const SCROLLINFO info = BarInfo();
    EXPECT_EQ(info.nMax, fit);  // LastIndex
    EXPECT_EQ(info.nPage, static_cast<UINT>(fit));
    EXPECT_EQ(info.nPos, 0);
    // At the right edge, the system's scroll-bar width wide.
    RECT bar{};
    ::GetWindowRect(Bar(), &bar);
    ::MapWindowPoints(nullptr, ListWindow(), reinterpret_cast<POINT*>(&bar), 2);
    const RECT client = ClientRect();
    EXPECT_EQ(bar.left, client.right - ::GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.bottom, client.bottom);

    ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
    EXPECT_FALSE(::IsWindowVisible(Bar()));
    AddRows(1);
    EXPECT_FALSE(::IsWindowVisible(Bar()));
}

TEST_F(ScrollingTest, TheTextEditorLeavesRoomForTheBarFromTheLayoutAfterItAppears) {
    const int fit = RowsThatFit();
    AddRows(fit + 1);  // this layout shows the bar
    HWND editor = TextEditor();
    ASSERT_TRUE(editor);
    const RECT client = ClientRect();
    auto editorRight = [&] {
        RECT rect{};
        ::GetWindowRect(editor, &rect);
        ::MapWindowPoints(nullptr, ListWindow(), reinterpret_cast<POINT*>(&rect), 2);
        return rect.right;
    };
    EXPECT_EQ(editorRight(), client.right) << "laid out before the bar was shown";
    AddRows(1);
    RECT bar{};
    ::GetWindowRect(Bar(), &bar);
    EXPECT_EQ(editorRight(), client.right - (bar.right - bar.left));
}

TEST_F(ScrollingTest, TheWheelScrollsTwoRowsPerNotchByItsSignAndStaysWithinTheRows) {
    AddRows(RowsThatFit() + 10);
    const int last = LastFirstRow();
    const struct {
        int delta;
        int expected;
    } steps[] = {
        {-120, 2}, {120, 0}, {0, 2}, {-1, 4}, {120, 2}, {120, 0},
        {120, 0},  // at the top it stays at the first row
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << "delta " << step.delta);
        events.Clear();
        Wheel(step.delta);
        EXPECT_EQ(TopIndex(), step.expected);
        EXPECT_EQ(events.Count(list_event::Scroll), 1u);
    }
    ASSERT_TRUE(DispOk(Put(list.get(), L"TopIndex", Short(last - 1))));
    Wheel(-120);
    EXPECT_EQ(TopIndex(), last) << "the last page ends at the last row";
    Wheel(-120);
    EXPECT_EQ(TopIndex(), last);
}

TEST_F(ScrollingTest, TopIndexOutsideTheRowsIsHeldWithinThem) {
    const int fit = RowsThatFit();
    AddRows(fit + 6);
    const struct {
        int asked;
        int expected;
    } cases[] = {{3, 3}, {-5, 0}, {1000, LastFirstRow()}, {32767, LastFirstRow()}, {-32768, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "TopIndex " << c.asked);
        events.Clear();
        ASSERT_TRUE(DispOk(Put(list.get(), L"TopIndex", Short(c.asked))));
        EXPECT_EQ(TopIndex(), c.expected);
        EXPECT_EQ(events.Count(list_event::Scroll), 1u);
    }
    // On the last page the last row's bottom line is drawn: no blank page.
    ASSERT_TRUE(DispOk(Put(list.get(), L"TopIndex", Short(1000))));
    const CapturedBitmap picture = Picture();
    const int column = (picture.Width() / 3) & ~1;
    EXPECT_EQ(picture.At(column, EvenRow(RowTop(fit))), kGrid);
    EXPECT_NE(picture.At(column, EvenRow(RowTop(fit + 1))), kGrid);
}

TEST_F(ScrollingTest, TheBarsArrowAndThumbScrollTheList) {
    AddRows(RowsThatFit() + 20);
    HWND bar = Bar();
    RECT client{};
    ::GetClientRect(bar, &client);
    const int x = client.right / 2;
    const int arrow = ::GetSystemMetrics(SM_CYVSCROLL);

    ClickBar({x, client.bottom - arrow / 2}, {x, client.bottom - arrow / 2});
    EXPECT_EQ(TopIndex(), 1);
    // One Change for the step and one for the end of scrolling, each a Scroll event.
    EXPECT_EQ(events.Count(list_event::Scroll), 2u);

    events.Clear();
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(::GetScrollBarInfo(bar, OBJID_CLIENT, &info));
    const int thumb = (info.xyThumbTop + info.xyThumbBottom) / 2;
    ClickBar({x, thumb}, {x, thumb + (client.bottom - thumb) / 2});
    EXPECT_GT(TopIndex(), 1);
    EXPECT_GE(events.Count(list_event::Scroll), 2u);
}

TEST_F(ScrollingTest, ScrollingClosesTheTextEditorAndDropsWhatWasTyped) {
    AddRows(RowsThatFit() + 4);
    ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(0))));
    HWND editor = TextEditor();
    ASSERT_TRUE(editor);
    ASSERT_TRUE(::IsWindowVisible(editor));
    ::SendMessageW(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed"));
    events.Clear();

    Wheel(-120);

    EXPECT_FALSE(::IsWindowVisible(editor));
    EXPECT_EQ(Value(0), L"value");
    EXPECT_EQ(events.Count(list_event::ValueChanged), 0u);
    EXPECT_EQ(Selected(), 0) << "the selection stays";
}

}  // namespace
}  // namespace zo::test
