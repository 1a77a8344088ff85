// A per-monitor aware host moving the list to a monitor of another DPI: the
// top-level window gets WM_DPICHANGED, the host gives the control its font
// at the new DPI and its new size, and the control gets
// WM_DPICHANGED_AFTERPARENT. Wine 8 keeps one DPI for every monitor and
// sends none of these itself, so the test sends them as the system would.
// The control measures itself again in the same windows.
#include <gtest/gtest.h>

#include <vector>

#include "tests/dpi/dpi_list_fixture.h"
#include "tests/host/ambient_properties.h"

namespace zo::test {
namespace {

constexpr UINT kDpiChangedAfterParent = 0x02E3;

BOOL CALLBACK CollectChild(HWND child, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
    return TRUE;
}

std::vector<HWND> ChildrenOf(HWND window) {
    std::vector<HWND> children;
    ::EnumChildWindows(window, &CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

RECT Grown(const RECT& rect) {
    return {rect.left, rect.top, rect.left + (rect.right - rect.left) * 3 / 2,
            rect.top + (rect.bottom - rect.top) * 3 / 2};
}

class DpiChangeTest : public DpiListTest {
protected:
    [[nodiscard]] int ScrollPage() {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_PAGE;
        ::GetScrollInfo(::FindWindowExW(ListWindow(), nullptr, L"ScrollBar", nullptr), SB_CTL, &info);
        return static_cast<int>(info.nPage);
    }
};

TEST_F(DpiChangeTest, AMoveToAMonitorOfAnotherDpiIsMeasuredAgainInTheSameWindows) {
    AddEveryRowKind();
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(DispOk(Add(L"more", L"v")));
    const HWND window = ListWindow();
    const std::vector<HWND> children = ChildrenOf(window);
    const int pitchBefore = Pitch();
    ASSERT_EQ(ScrollPage(), Client().bottom / pitchBefore);

    // The top-level window hears of the new DPI, half as much again.
    const int dpi = ScreenDpi() * 3 / 2;
    RECT frame{};
    ::GetWindowRect(container.FrameHwnd(), &frame);
    RECT suggested = Grown(frame);
    ::SendMessageW(container.FrameHwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    // The host gives the control its font at that DPI; the control hears of
    // the change after its parent.
    const FontFacts font = *FactsOf(Property(L"Font"));
    const com_ptr<IFontDisp> larger = MakeFont(font.name.c_str(), font.points * 1.5);
    ASSERT_TRUE(DispOk(PutRef(list.get(), L"Font", Variant(larger.get()))));
    ::SendMessageW(window, kDpiChangedAfterParent, 0, 0);
    container.Pump();
    ASSERT_GT(Pitch(), pitchBefore);
    EXPECT_EQ(ScrollPage(), Client().bottom / Pitch()) << "the rows that fit, at the new pitch";

    // Then the host sizes the frame and the control for the new DPI.
    ::SetWindowPos(container.FrameHwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(container.Move(Grown(container.Position())), S_OK);
    container.Pump();
    EXPECT_EQ(ListWindow(), window) << "the control keeps its window";
    EXPECT_EQ(ChildrenOf(window), children) << "and its editors and scroll bar";
    EXPECT_EQ(ScrollPage(), Client().bottom / Pitch());
    RECT bar = RectInList(::FindWindowExW(window, nullptr, L"ScrollBar", nullptr));
    EXPECT_EQ(bar.right, Client().right);
    EXPECT_EQ(bar.bottom, Client().bottom);

    // Painted again at the new pitch: the separator below the first row.
    const CapturedBitmap picture = Picture();
    const int column = (Client().right - ::GetSystemMetrics(SM_CXVSCROLL) - 6) & ~1;
    const int separator = RowTop(1) % 2 ? RowTop(1) - 1 : RowTop(1);
    EXPECT_EQ(picture.At(column, separator), kDots);
    EXPECT_EQ(picture.At(column, (pitchBefore + 1) & ~1), kPaper) << "nothing left at the old pitch";
}

}  // namespace
}  // namespace zo::test
