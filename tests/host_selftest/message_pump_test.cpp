// The message pump: it runs posted work, honours its filter, waits for input
// instead of sleeping, and gives up at its timeout.
#include <gtest/gtest.h>

#include "tests/host/gtest_support.h"
#include "tests/host/message_pump.h"

namespace zo::test {
namespace {

constexpr UINT kPing = WM_APP + 1;

int g_pings = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == kPing) {
        ++g_pings;
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

class MessagePumpTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = CountingProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"ZoPumpTestWindow";
        ::RegisterClassW(&windowClass);
        m_window = ::CreateWindowW(L"ZoPumpTestWindow", L"", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, m_window);
        PumpMessages();
        g_pings = 0;
    }
    void TearDown() override { ::DestroyWindow(m_window); }

    HWND m_window = nullptr;
};

TEST_F(MessagePumpTest, DispatchesEveryPostedMessageAndCountsThem) {
    for (int i = 0; i < 3; ++i) ::PostMessageW(m_window, kPing, 0, 0);
    EXPECT_EQ(3, PumpMessages());
    EXPECT_EQ(3, g_pings);
    EXPECT_EQ(0, PumpMessages());
}

TEST_F(MessagePumpTest, StopsAtItsBoundAndLeavesTheRestQueued) {
    for (int i = 0; i < 5; ++i) ::PostMessageW(m_window, kPing, 0, 0);
    EXPECT_EQ(2, PumpMessages({}, 2));
    EXPECT_EQ(2, g_pings);
    EXPECT_EQ(3, PumpMessages());
    EXPECT_EQ(5, g_pings);
}

TEST_F(MessagePumpTest, FilterThatHandlesAMessageKeepsItFromTheWindow) {
    ::PostMessageW(m_window, kPing, 1, 0);
    ::PostMessageW(m_window, kPing, 2, 0);
    std::vector<WPARAM> seen;
    PumpMessages([&](MSG& message) {
        if (message.message != kPing) return false;
        seen.push_back(message.wParam);
        return message.wParam == 1;
    });
    EXPECT_EQ((std::vector<WPARAM>{1, 2}), seen);
    EXPECT_EQ(1, g_pings);
}

TEST_F(MessagePumpTest, PumpUntilReturnsOnceTheConditionHolds) {
    ::PostMessageW(m_window, kPing, 0, 0);
    EXPECT_TRUE(PumpUntil([] { return g_pings == 1; }, 5000));
}

TEST_F(MessagePumpTest, PumpUntilWakesForATimerInsteadOfWaitingOutItsTimeout) {
    const UINT_PTR timer = ::SetTimer(m_window, 1, 50, nullptr);
    ASSERT_NE(0u, timer);
    bool fired = false;
    const ULONGLONG start = ::GetTickCount64();
    EXPECT_TRUE(PumpUntil([&] { return fired; }, 10000, [&](MSG& message) {
        if (message.message == WM_TIMER) fired = true;
        return false;
    }));
    ::KillTimer(m_window, timer);
    EXPECT_LT(::GetTickCount64() - start, 5000u);
}

TEST_F(MessagePumpTest, PumpUntilGivesUpAtItsTimeout) {
    const ULONGLONG start = ::GetTickCount64();
    EXPECT_FALSE(PumpUntil([] { return false; }, 200));
    const ULONGLONG elapsed = ::GetTickCount64() - start;
    EXPECT_GE(elapsed, 190u);
    EXPECT_LT(elapsed, 5000u);
}

}  // namespace
}  // namespace zo::test
