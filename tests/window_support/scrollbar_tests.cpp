// The scroll bar wrapper on a real parent window: what it shows, the events
// its parent's scroll and wheel messages raise, and how it takes over and
// gives back the parent's window procedure.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/twips.h"
#include "tests/host/message_pump.h"
#include "window_support/scrollbar.h"

namespace zo {
namespace {

constexpr wchar_t kParentClass[] = L"ZoScrollbarTestParent";

// Messages that reached the parent's own procedure.
std::vector<UINT>& ParentMessages() {
    static std::vector<UINT> messages;
    return messages;
}

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ParentMessages().push_back(message);
    if (message == WM_USER + 7) return 0x5A5A;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateParent() {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kParentClass;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        return ::RegisterClassW(&wc);
    }();
    (void)atom;
    HWND window = ::CreateWindowExW(0, kParentClass, L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300, 300,
                                    nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    test::PumpMessages();
    return window;
}

bool Received(UINT message) {
    for (UINT m : ParentMessages())
        if (m == message) return true;
    return false;
}

// Records the events in order, with the values they carried.
class RecordingEvents final : public CScrollbarEvents {
public:
    void ChangePending(bool& cancel) override {
        names.push_back(L"ChangePending");
        if (cancelNext) cancel = true;
        if (onChangePending) onChangePending();
    }
    void Change() override {
        names.push_back(L"Change");
        if (onChange) onChange();
    }
    void Scroll() override {
        names.push_back(L"Scroll");
        if (bar) valuesAtScroll.push_back(bar->Value());
    }
    void MouseWheel(int16_t& delta) override {
        names.push_back(L"MouseWheel");
        deltas.push_back(delta);
        delta = 999;  // must not travel anywhere
        if (onMouseWheel) onMouseWheel();
    }

    CScrollbar* bar = nullptr;
    bool cancelNext = false;
    std::function<void()> onChangePending;
    std::function<void()> onChange;
    std::function<void()> onMouseWheel;
    std::vector<std::wstring> names;
    std::vector<int32_t> valuesAtScroll;
    std::vector<int16_t> deltas;
};

SCROLLINFO InfoOf(HWND bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ::GetScrollInfo(bar, SB_CTL, &info);
    return info;
}

WPARAM ScrollCode(int code) { return MAKEWPARAM(code, 0); }

class ScrollbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent = CreateParent();
        ASSERT_TRUE(parent);
        originalProc = ::GetWindowLongPtrW(parent, GWLP_WNDPROC);
        ParentMessages().clear();
    }
    void TearDown() override {
        bar.reset();
        if (parent && ::IsWindow(parent)) ::DestroyWindow(parent);
        test::PumpMessages();
    }

    // A wrapper on the parent with range 0..max, page `page`, at `value`.
    void CreateBar(int32_t max = 100, int32_t page = 10, int32_t value = 0) {
        bar = std::make_unique<CScrollbar>(&events);
        events.bar = bar.get();
        bar->SetMax(max);
        bar->SetLargeChange(page);
        bar->SetValue(value);
        bar->RecreateScrollbar(parent);
        ASSERT_TRUE(bar->hWnd());
        ParentMessages().clear();
    }

    LRESULT SendScroll(int code) { return ::SendMessageW(parent, WM_VSCROLL, ScrollCode(code), reinterpret_cast<LPARAM>(bar->hWnd())); }

    HWND parent = nullptr;
    LONG_PTR originalProc = 0;
    RecordingEvents events;
    std::unique_ptr<CScrollbar> bar;
};

TEST_F(ScrollbarTest, WithoutAWindowTheMembersOnlyStoreTheirValues) {
    CScrollbar fresh;
    EXPECT_EQ(fresh.Min(), 0);
    EXPECT_EQ(fresh.Max(), 32767);
    EXPECT_EQ(fresh.SmallChange(), 1);
    EXPECT_EQ(fresh.LargeChange(), 1);
    EXPECT_EQ(fresh.Value(), 0);
    EXPECT_EQ(fresh.ScrollType(), 1);
    EXPECT_EQ(fresh.ProportionalThumb(), 1);
    EXPECT_EQ(fresh.hWnd(), nullptr);

    fresh.SetMax(5);
    fresh.SetValue(40);  // no clamp without a window
    fresh.SetEnabled(false);
    fresh.SetVisible(true);
    EXPECT_EQ(fresh.Value(), 40);
    EXPECT_EQ(fresh.Max(), 5);
    EXPECT_FALSE(fresh.Visible());
    EXPECT_EQ(fresh.Width(), 0);
    // Without a parent no window can be made.
    EXPECT_EQ(fresh.RecreateScrollbar(nullptr), nullptr);
    EXPECT_EQ(fresh.hWnd(), nullptr);
}

TEST_F(ScrollbarTest, CreationShowsTheStoredRangePositionAndPageAndSubclassesTheParent) {
    CreateBar(50, 10, 7);
    const SCROLLINFO info = InfoOf(bar->hWnd());
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 50);
    EXPECT_EQ(info.nPage, 10u);
    EXPECT_EQ(info.nPos, 7);

    const LONG_PTR style = ::GetWindowLongPtrW(bar->hWnd(), GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_VERT),
              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_VERT);
    EXPECT_EQ(::GetDlgCtrlID(bar->hWnd()), 0x666);
    EXPECT_EQ(bar->Parent(), parent);

    EXPECT_EQ(reinterpret_cast<LONG_PTR>(::GetPropW(parent, L"ZoScrollProc")), originalProc);
    EXPECT_EQ(::GetPropW(parent, L"ZoScrollPtr"), static_cast<HANDLE>(bar.get()));
    EXPECT_NE(::GetWindowLongPtrW(parent, GWLP_WNDPROC), originalProc);
}

TEST_F(ScrollbarTest, ValuePastMaxShowsTheThumbAtMaxWhileTheFieldKeepsTheValueUntilRead) {
    CreateBar(10, 1, 0);
    bar->SetValue(15);
    EXPECT_EQ(::GetScrollPos(bar->hWnd(), SB_CTL), 10);
    EXPECT_EQ(bar->StoredValue(), 15);
    EXPECT_EQ(bar->Value(), 10);
    EXPECT_EQ(bar->StoredValue(), 10);

    // Without the proportional thumb the value is shown as given.
    bar->SetProportionalThumb(0);
    bar->SetValue(8);
    EXPECT_EQ(::GetScrollPos(bar->hWnd(), SB_CTL), 8);
    EXPECT_EQ(InfoOf(bar->hWnd()).nPage, 0u);
}

TEST_F(ScrollbarTest, ScrollCodesMoveTheValueAndRaiseTheirEvents) {
    const struct {
        int code;
        int32_t expected;
    } cases[] = {
        {SB_LINEUP, 39},   {SB_LINEDOWN, 41}, {SB_PAGEUP, 30}, {SB_PAGEDOWN, 50},
        {SB_THUMBPOSITION, 40}, {SB_TOP, 40},  {SB_BOTTOM, 40}, {SB_ENDSCROLL, 40},
    };
    CreateBar(100, 10, 40);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code);
        bar->SetValue(40);
        events.names.clear();
        ParentMessages().clear();
        EXPECT_EQ(SendScroll(c.code), 0);
        EXPECT_EQ(bar->Value(), c.expected);
        EXPECT_EQ(events.names, (std::vector<std::wstring>{L"ChangePending", L"Change"}));
        EXPECT_FALSE(Received(WM_VSCROLL)) << "scroll notifications stay with the wrapper";
    }
    // A horizontal notification is handled the same way.
    bar->SetValue(40);
    ::SendMessageW(parent, WM_HSCROLL, ScrollCode(SB_LINEDOWN), 0);
    EXPECT_EQ(bar->Value(), 41);
}

TEST_F(ScrollbarTest, ACancelledChangeMovesNothingAndRaisesNothingMore) {
    CreateBar(100, 10, 40);
    events.cancelNext = true;
    SendScroll(SB_PAGEDOWN);
    EXPECT_EQ(bar->Value(), 40);
    EXPECT_EQ(events.names, (std::vector<std::wstring>{L"ChangePending"}));
    EXPECT_FALSE(Received(WM_VSCROLL));
}

TEST_F(ScrollbarTest, DraggingTheThumbFollowsTheTrackPositionBeforeChange) {
    CreateBar(100, 10, 0);
    HWND window = bar->hWnd();
    ::MoveWindow(window, 0, 0, 20, 200, TRUE);
    test::PumpMessages();
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(::GetScrollBarInfo(window, OBJID_CLIENT, &info));
    // The thumb's middle, in the bar's client coordinates, and a point lower down.
    const int x = 10;
    const int y = (info.xyThumbTop + info.xyThumbBottom) / 2;
    ::PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y + 60));
    ::PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y + 90));
    ::PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y + 90));
    // The bar tracks the drag in its own loop until the button is released.
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    test::PumpMessages();

    ASSERT_FALSE(events.valuesAtScroll.empty()) << "no SB_THUMBTRACK reached the wrapper";
    EXPECT_GT(events.valuesAtScroll.back(), 0);
    // Every track step: ChangePending, Scroll, Change; the value grows.
    for (size_t i = 0; i + 1 < events.valuesAtScroll.size(); ++i)
        EXPECT_LE(events.valuesAtScroll[i], events.valuesAtScroll[i + 1]);
    std::vector<std::wstring> trackStep{L"ChangePending", L"Scroll", L"Change"};
    ASSERT_GE(events.names.size(), 3u);
    EXPECT_TRUE(std::search(events.names.begin(), events.names.end(), trackStep.begin(), trackStep.end()) !=
                events.names.end());
    EXPECT_EQ(events.names.back(), L"Change");
    EXPECT_EQ(bar->Value(), events.valuesAtScroll.back());
}

TEST_F(ScrollbarTest, AWheelNotchRaisesMouseWheelWithItsSignedDeltaAndReachesTheParent) {
    CreateBar();
    const struct {
        WPARAM wParam;
        int16_t delta;
    } cases[] = {{0xFF880000u, -120}, {0x00780000u, 120}, {0x00000000u, 0}};
    for (const auto& c : cases) {
        events.deltas.clear();
        ParentMessages().clear();
        ::SendMessageW(parent, WM_MOUSEWHEEL, c.wParam, MAKELPARAM(30, 30));
        ASSERT_EQ(events.deltas.size(), 1u);
        EXPECT_EQ(events.deltas[0], c.delta);
        EXPECT_TRUE(Received(WM_MOUSEWHEEL));
    }
}

TEST_F(ScrollbarTest, ARegisteredWheelMessageCarriesItsDeltaInTheLowWord) {
    CreateBar();
    const UINT rollMessage = ::RegisterWindowMessageW(L"ZoScrollbarTestWheelRoll");
    CScrollbar::SetWheelRollMessage(rollMessage);
    ::SendMessageW(parent, rollMessage, 0xFF88, 0);
    CScrollbar::SetWheelRollMessage(0);
    ::SendMessageW(parent, rollMessage, 0x0078, 0);
    EXPECT_EQ(events.deltas, (std::vector<int16_t>{-120}));
}

TEST_F(ScrollbarTest, OtherMessagesPassToTheParentExceptScrollBarColours) {
    CreateBar();
    EXPECT_EQ(::SendMessageW(parent, WM_USER + 7, 0, 0), 0x5A5A);
    EXPECT_TRUE(Received(WM_USER + 7));
    EXPECT_EQ(::SendMessageW(parent, WM_CTLCOLORSCROLLBAR, 0, 0), 0);
    EXPECT_FALSE(Received(WM_CTLCOLORSCROLLBAR));
}

TEST_F(ScrollbarTest, ChangingTheOrientationRecreatesTheBarUnderTheSameParentWithItsValues) {
    CreateBar(60, 6, 12);
    const LONG_PTR subclassProc = ::GetWindowLongPtrW(parent, GWLP_WNDPROC);
    bar->SetScrollType(0);
    ASSERT_TRUE(bar->hWnd());
    EXPECT_EQ(bar->Parent(), parent);
    EXPECT_EQ(::GetWindowLongPtrW(bar->hWnd(), GWL_STYLE) & SBS_VERT, 0);
    const SCROLLINFO info = InfoOf(bar->hWnd());
    EXPECT_EQ(info.nMax, 60);
    EXPECT_EQ(info.nPage, 6u);
    EXPECT_EQ(info.nPos, 12);
    // The subclass is not installed a second time.
    EXPECT_EQ(::GetWindowLongPtrW(parent, GWLP_WNDPROC), subclassProc);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(::GetPropW(parent, L"ZoScrollProc")), originalProc);
    SendScroll(SB_LINEDOWN);
    EXPECT_EQ(bar->Value(), 13);
}

TEST_F(ScrollbarTest, RecreatingOnANewParentMovesTheSubclassWithTheBar) {
    CreateBar(100, 10, 40);
    const HWND other = CreateParent();
    const LONG_PTR otherProc = ::GetWindowLongPtrW(other, GWLP_WNDPROC);
    EXPECT_EQ(bar->RecreateScrollbar(other), other);
    EXPECT_EQ(bar->Parent(), other);
    EXPECT_EQ(::GetWindowLongPtrW(parent, GWLP_WNDPROC), originalProc) << "the old parent is given back";
    EXPECT_EQ(::GetPropW(parent, L"ZoScrollPtr"), nullptr);
    EXPECT_EQ(::GetPropW(other, L"ZoScrollPtr"), static_cast<HANDLE>(bar.get()));

    events.names.clear();
    ::SendMessageW(other, WM_VSCROLL, ScrollCode(SB_LINEDOWN), reinterpret_cast<LPARAM>(bar->hWnd()));
    EXPECT_EQ(bar->Value(), 41);
    EXPECT_EQ(events.names, (std::vector<std::wstring>{L"ChangePending", L"Change"}));

    bar.reset();
    EXPECT_EQ(::GetWindowLongPtrW(other, GWLP_WNDPROC), otherProc);
    ::DestroyWindow(other);
}

TEST_F(ScrollbarTest, GeometryIsExchangedInTwips) {
    CreateBar();
    const int tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
    bar->Move(10 * tx, 20 * ty, 17 * tx + tx - 1, 100 * ty);  // a part pixel is dropped
    RECT rect{};
    ::GetWindowRect(bar->hWnd(), &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.right - rect.left, 17);
    EXPECT_EQ(rect.bottom - rect.top, 100);
    EXPECT_EQ(bar->Width(), 17 * tx);
    EXPECT_EQ(bar->Height(), 100 * ty);

    bar->SetLeft(30 * tx);
    bar->SetHeight(50 * ty);
    ::GetWindowRect(bar->hWnd(), &rect);
    POINT screenOrigin{0, 0};
    ::ClientToScreen(parent, &screenOrigin);
    EXPECT_EQ(rect.left - screenOrigin.x, 30);
    EXPECT_EQ(rect.top - screenOrigin.y, 20) << "moving sideways keeps the top";
    EXPECT_EQ(rect.bottom - rect.top, 50);
    EXPECT_EQ(bar->Left(), rect.left * tx);
    EXPECT_EQ(bar->Top(), rect.top * ty);

    bar->SetVisible(false);
    EXPECT_FALSE(bar->Visible());
    bar->SetVisible(true);
    EXPECT_TRUE(bar->Visible());
}

TEST_F(ScrollbarTest, EnablingAndDisablingTheBar) {
    CreateBar();
    bar->SetEnabled(false);
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(::GetScrollBarInfo(bar->hWnd(), OBJID_CLIENT, &info));
    EXPECT_TRUE(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    bar->SetEnabled(true);
    ASSERT_TRUE(::GetScrollBarInfo(bar->hWnd(), OBJID_CLIENT, &info));
    EXPECT_FALSE(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_TRUE(bar->Enabled());
}

TEST_F(ScrollbarTest, WhileHeldTheBarKeepsItsStateAndTheWindowTakesItWhenTheHoldEnds) {
    CreateBar(10, 5, 0);
    bar->HoldRedraw(true);
    bar->SetMax(100);
    bar->SetLargeChange(20);
    bar->SetValue(95);
    bar->SetEnabled(false);
    EXPECT_EQ(InfoOf(bar->hWnd()).nMax, 10) << "the window is left alone while held";
    EXPECT_EQ(bar->Value(), 81) << "where the bar will put it: the last page starts at 81";
    bar->HoldRedraw(false);
    const SCROLLINFO info = InfoOf(bar->hWnd());
    EXPECT_EQ(info.nMax, 100);
    EXPECT_EQ(info.nPage, 20u);
    EXPECT_EQ(info.nPos, 81);
    EXPECT_EQ(bar->Value(), 81);
    SCROLLBARINFO state{};
    state.cbSize = sizeof(state);
    ASSERT_TRUE(::GetScrollBarInfo(bar->hWnd(), OBJID_CLIENT, &state));
    EXPECT_TRUE(state.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) << "the held disabling is applied";
}

// The parent's messages (a repaint among them) find the wrapper and the
// previous procedure without reading the window's properties: with them
// gone, the messages still arrive.
TEST_F(ScrollbarTest, TheParentsMessagesReachTheWrapperWithoutReadingItsProperties) {
    CreateBar(100, 10, 40);
    HANDLE previous = ::RemovePropW(parent, L"ZoScrollProc");
    HANDLE object = ::RemovePropW(parent, L"ZoScrollPtr");
    events.names.clear();
    ParentMessages().clear();
    SendScroll(SB_LINEDOWN);
    ::SendMessageW(parent, WM_APP, 0, 0);
    EXPECT_EQ(events.names, (std::vector<std::wstring>{L"ChangePending", L"Change"}));
    EXPECT_TRUE(Received(WM_APP)) << "other messages still reach the parent's own procedure";
    ::SetPropW(parent, L"ZoScrollProc", previous);
    ::SetPropW(parent, L"ZoScrollPtr", object);
}

TEST_F(ScrollbarTest, TwoWrappersOnOneParentOnlyTheFirstReceivesItsMessages) {
    CreateBar(100, 10, 5);
    RecordingEvents secondEvents;
    auto second = std::make_unique<CScrollbar>(&secondEvents);
    second->RecreateScrollbar(parent);
    ASSERT_TRUE(second->hWnd());
    EXPECT_EQ(::GetPropW(parent, L"ZoScrollPtr"), static_cast<HANDLE>(bar.get()));

    SendScroll(SB_LINEDOWN);
    EXPECT_EQ(events.names.size(), 2u);
    EXPECT_TRUE(secondEvents.names.empty());

    // The second one ending leaves the first one's subclass in place.
    const HWND secondWindow = second->hWnd();
    second.reset();
    EXPECT_FALSE(::IsWindow(secondWindow));
    events.names.clear();
    SendScroll(SB_LINEDOWN);
    EXPECT_EQ(events.names.size(), 2u);
}

TEST_F(ScrollbarTest, EndingTheWrapperGivesBackTheParentsProcedureAndDestroysTheBar) {
    CreateBar();
    const HWND window = bar->hWnd();
    bar.reset();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(::GetWindowLongPtrW(parent, GWLP_WNDPROC), originalProc);
    EXPECT_EQ(::GetPropW(parent, L"ZoScrollProc"), nullptr);
    EXPECT_EQ(::GetPropW(parent, L"ZoScrollPtr"), nullptr);
    ParentMessages().clear();
    ::SendMessageW(parent, WM_VSCROLL, ScrollCode(SB_LINEDOWN), 0);
    EXPECT_TRUE(Received(WM_VSCROLL));
}

TEST_F(ScrollbarTest, AParentDestroyedFirstLeavesTheWrapperSafe) {
    CreateBar();
    ::DestroyWindow(parent);
    parent = nullptr;
    EXPECT_EQ(bar->hWnd(), nullptr);
    EXPECT_EQ(bar->Value(), 0);
    bar.reset();  // nothing left to restore or destroy
}

TEST_F(ScrollbarTest, AHandlerMayEndTheWrapperInsideItsOwnEvent) {
    CreateBar(100, 10, 40);
    events.onChangePending = [&] { bar.reset(); };
    SendScroll(SB_LINEDOWN);
    EXPECT_EQ(bar, nullptr);
    EXPECT_EQ(::GetWindowLongPtrW(parent, GWLP_WNDPROC), originalProc);
    EXPECT_EQ(events.names, (std::vector<std::wstring>{L"ChangePending"}));

    // Ended inside MouseWheel, the notch still reaches the parent's own procedure.
    CreateBar();
    events.onChangePending = nullptr;
    events.onMouseWheel = [&] { bar.reset(); };
    ::SendMessageW(parent, WM_MOUSEWHEEL, 0xFF880000u, 0);
    EXPECT_EQ(bar, nullptr);
    EXPECT_TRUE(Received(WM_MOUSEWHEEL));
}

TEST_F(ScrollbarTest, StepsAtTheEndsOfTheRangeDoNotOverflow) {
    CreateBar(INT_MAX, 1, 0);
    bar->SetProportionalThumb(0);
    bar->SetValue(INT_MAX - 1);
    bar->SetSmallChange(10);
    SendScroll(SB_LINEDOWN);
    EXPECT_EQ(bar->StoredValue(), INT_MAX);
    bar->SetValue(0);
    bar->SetLargeChange(INT_MIN);
    SendScroll(SB_PAGEDOWN);  // 0 + INT_MIN
    SendScroll(SB_PAGEUP);    // 0 - INT_MIN saturates
    EXPECT_EQ(events.names.size(), 6u);
    EXPECT_EQ(events.names.back(), L"Change");
}

}  // namespace
}  // namespace zo
