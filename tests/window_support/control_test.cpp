// CControl against real windows: what it creates, restyles, moves, captions
// and destroys is read back from the windows themselves.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "runtime/module.h"
#include "window_support/control.h"

namespace {

constexpr wchar_t kTestClass[] = L"ZoControlTestWindow";

void RegisterTestClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = zo::ModuleInstance();
    wc.lpszClassName = kTestClass;
    ::RegisterClassExW(&wc);  // a second registration fails harmlessly
}

// A visible top-level window with a caption and a thick frame at (200, 150),
// so that screen and client coordinates differ.
class TopLevel {
public:
    explicit TopLevel(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, HWND owner = nullptr, int x = 200,
                      int y = 150) {
        RegisterTestClass();
        m_window = ::CreateWindowExW(0, kTestClass, L"parent", style, x, y, 400, 300, owner, nullptr,
                                     zo::ModuleInstance(), nullptr);
    }
    TopLevel(const TopLevel&) = delete;
    TopLevel& operator=(const TopLevel&) = delete;
    ~TopLevel() {
        if (::IsWindow(m_window)) ::DestroyWindow(m_window);
    }
    [[nodiscard]] HWND get() const { return m_window; }

private:
    HWND m_window = nullptr;
};

// A child of the test class, described but not created.
void DescribeChild(zo::CControl& control, HWND parent) {
    control.SetClassName(kTestClass);
    control.SetParent(parent);
    control.SetStyle(WS_CHILD | WS_VISIBLE, true);
}

RECT RectInParentClient(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetAncestor(window, GA_PARENT), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}

TEST(CControlTest, NewWrapperHasClipStylesAndNoWindow) {
    zo::CControl control;
    EXPECT_EQ(control.hWnd(), nullptr);
    EXPECT_EQ(control.StyleBits(), 0x06000000u);
    EXPECT_EQ(control.StyleExBits(), 0u);
    EXPECT_TRUE(control.Style(WS_CLIPSIBLINGS));
    EXPECT_TRUE(control.Style(WS_CLIPCHILDREN));
    EXPECT_FALSE(control.Style(WS_CLIPSIBLINGS | WS_BORDER)) << "every bit asked for must be set";
    EXPECT_FALSE(control.StyleEx(WS_EX_TOPMOST));
    // Without a window nothing is moved or measured.
    EXPECT_EQ(control.Move(10), std::nullopt);
    EXPECT_EQ(control.Width(), 0);
    EXPECT_EQ(control.Height(), 0);
    control.SetWidth(50);
    control.SetCaption(L"kept");
    EXPECT_EQ(control.Caption(), L"kept");
}

TEST(CControlTest, StyleBitsAreSetAndClearedOnlyWhereAsked) {
    struct Case {
        const char* what;
        DWORD bits;
        bool set;
        DWORD expected;
    };
    const Case cases[] = {
        {"clearing bits that are not set changes nothing", WS_BORDER | WS_VSCROLL, false, 0x06000000},
        {"clearing a set bit clears only it", WS_CLIPCHILDREN, false, WS_CLIPSIBLINGS},
        {"clearing a mix clears the set ones", WS_CLIPCHILDREN | WS_BORDER, false, WS_CLIPSIBLINGS},
        {"setting adds the bits", WS_BORDER | 0x41, true, 0x06000000 | WS_BORDER | 0x41},
    };
    for (const Case& c : cases) {
        zo::CControl control;
        control.SetStyle(c.bits, c.set);
        EXPECT_EQ(control.StyleBits(), c.expected) << c.what;
        control.SetStyleEx(c.bits, c.set);
        EXPECT_EQ(control.StyleExBits(), c.set ? c.bits : 0u) << c.what << " (extended style)";
    }
}

TEST(CControlTest, CreateMakesTheDescribedWindow) {
    TopLevel parent;
    zo::CControl control;
    DescribeChild(control, parent.get());
    control.SetStyleEx(WS_EX_CLIENTEDGE, true);
    control.SetCaption(L"Grüße ✓");
    const HWND window = control.Create();

    ASSERT_NE(window, nullptr);
    EXPECT_EQ(control.hWnd(), window);
    EXPECT_EQ(::GetParent(window), parent.get());
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)),
              0x06000000u | WS_CHILD | WS_VISIBLE);
    EXPECT_TRUE(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window, GWLP_HINSTANCE)), zo::ModuleInstance());
    EXPECT_EQ(WindowText(window), L"Grüße ✓") << "text outside the ANSI code page survives";
    const RECT rect = RectInParentClient(window);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(control.Width(), 100);
    EXPECT_EQ(control.Height(), 100);
}

TEST(CControlTest, RestylingAWindowAppliesTheWholeStyle) {
    TopLevel parent;
    zo::CControl control;
    DescribeChild(control, parent.get());
    const HWND window = control.Create();
    ASSERT_NE(window, nullptr);

    control.SetStyle(WS_BORDER | WS_VSCROLL, true);
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)), control.StyleBits());
    EXPECT_TRUE(::GetWindowLongPtrW(window, GWL_STYLE) & WS_BORDER);
    control.SetStyle(WS_BORDER | WS_CLIPCHILDREN, false);
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)),
              WS_CLIPSIBLINGS | WS_CHILD | WS_VISIBLE | WS_VSCROLL);

    control.SetStyleEx(WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE, true);
    EXPECT_EQ(::GetWindowLongPtrW(window, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE),
              WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE);
    control.SetStyleEx(WS_EX_CLIENTEDGE, false);
    EXPECT_EQ(::GetWindowLongPtrW(window, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE),
              WS_EX_TOOLWINDOW);
}

TEST(CControlTest, CreateAgainReplacesTheWindowAndDestroyIsIdempotent) {
    TopLevel parent;
    zo::CControl control;
    DescribeChild(control, parent.get());
    const HWND first = control.Create();
    ASSERT_NE(first, nullptr);
    const HWND second = control.Create();
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(::IsWindow(first)) << "the first window is destroyed before the second is made";
    EXPECT_TRUE(::IsWindow(second));

    control.Destroy();
    EXPECT_EQ(control.hWnd(), nullptr);
    EXPECT_FALSE(::IsWindow(second));
    control.Destroy();  // a second Destroy does nothing
    EXPECT_TRUE(::IsWindow(parent.get()));
}

TEST(CControlTest, EndOfTheObjectDestroysItsWindow) {
    TopLevel parent;
    HWND window = nullptr;
    {
        zo::CControl control;
        DescribeChild(control, parent.get());
        window = control.Create();
        ASSERT_TRUE(::IsWindow(window));
    }
    EXPECT_FALSE(::IsWindow(window));
}

TEST(CControlTest, FailedCreateLeavesNoWindow) {
    zo::CControl control;
    control.SetClassName(L"ZoNoSuchWindowClass");
    EXPECT_EQ(control.Create(), nullptr);
    EXPECT_EQ(control.hWnd(), nullptr);
    EXPECT_EQ(control.Width(), 0);
}

TEST(CControlTest, MoveKeepsTheOmittedValuesInParentCoordinates) {
    struct Case {
        const char* what;
        int left;
        std::optional<int> top, width, height;
        RECT expected;  // left, top, right, bottom in the parent's client area
    };
    const Case cases[] = {
        {"only the left edge", 10, std::nullopt, std::nullopt, std::nullopt, {10, 6, 40, 46}},
        {"left and top", 11, 22, std::nullopt, std::nullopt, {11, 22, 41, 62}},
        {"left, top and width", 12, 23, 50, std::nullopt, {12, 23, 62, 63}},
        {"everything", 1, 2, 3, 4, {1, 2, 4, 6}},
        {"negative positions", -5, -7, std::nullopt, std::nullopt, {-5, -7, 25, 33}},
    };
    TopLevel parent;
    for (const Case& c : cases) {
        zo::CControl control;
        DescribeChild(control, parent.get());
        const HWND window = control.Create();
        ASSERT_NE(window, nullptr);
        ::MoveWindow(window, 5, 6, 30, 40, TRUE);
        const std::optional<zo::PixelBounds> used = control.Move(c.left, c.top, c.width, c.height);
        const RECT rect = RectInParentClient(window);
        EXPECT_EQ(rect.left, c.expected.left) << c.what;
        EXPECT_EQ(rect.top, c.expected.top) << c.what;
        EXPECT_EQ(rect.right, c.expected.right) << c.what;
        EXPECT_EQ(rect.bottom, c.expected.bottom) << c.what;
        ASSERT_TRUE(used.has_value()) << c.what;
        EXPECT_EQ(used->top, c.expected.top) << c.what << ": the omitted values are handed back";
        EXPECT_EQ(used->width, c.expected.right - c.expected.left) << c.what;
    }
}

TEST(CControlTest, MoveOfAnOwnedPopupKeepsItsScreenPosition) {
    // A pop-up's "parent" is its owner; it is placed on the screen, not in
    // the owner's client area.
    TopLevel owner;
    zo::CControl control;
    control.SetClassName(kTestClass);
    control.SetParent(owner.get());
    control.SetStyle(WS_POPUP | WS_VISIBLE, true);
    const HWND window = control.Create();
    ASSERT_NE(window, nullptr);
    ::MoveWindow(window, 300, 250, 30, 40, TRUE);
    control.Move(310);
    RECT rect{};
    ::GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 310);
    EXPECT_EQ(rect.top, 250);
    EXPECT_EQ(rect.right - rect.left, 30);
    EXPECT_EQ(rect.bottom - rect.top, 40);
}

TEST(CControlTest, WidthAndHeightResizeInPlace) {
    TopLevel parent;
    zo::CControl control;
    DescribeChild(control, parent.get());
    const HWND window = control.Create();
    ASSERT_NE(window, nullptr);
    ::MoveWindow(window, 7, 8, 30, 40, TRUE);

    control.SetWidth(55);
    EXPECT_EQ(control.Width(), 55);
    EXPECT_EQ(control.Height(), 40);
    control.SetHeight(66);
    EXPECT_EQ(control.Width(), 55);
    EXPECT_EQ(control.Height(), 66);
    const RECT rect = RectInParentClient(window);
    EXPECT_EQ(rect.left, 7);
    EXPECT_EQ(rect.top, 8);
}

TEST(CControlTest, CaptionReadsTheWindowTextBack) {
    TopLevel parent;
    zo::CControl control;
    DescribeChild(control, parent.get());
    control.SetCaption(L"before");
    const HWND window = control.Create();
    ASSERT_NE(window, nullptr);

    ::SetWindowTextW(window, L"abc");
    EXPECT_EQ(control.Caption(), L"abc");
    const std::wstring longText(600, L'x');
    ::SetWindowTextW(window, longText.c_str());
    EXPECT_EQ(control.Caption(), longText) << "the whole text, however long";

    control.SetCaption(L"Ωmega");
    EXPECT_EQ(WindowText(window), L"Ωmega");
    ::SetWindowTextW(window, L"last");
    EXPECT_EQ(control.Caption(), L"last");
    control.Destroy();
    EXPECT_EQ(control.Caption(), L"last") << "the text read is kept in the field";
}

TEST(CControlTest, SetParentMovesAnExistingWindow) {
    TopLevel first;
    TopLevel second;
    zo::CControl control;
    DescribeChild(control, first.get());
    const HWND window = control.Create();
    ASSERT_NE(window, nullptr);
    control.SetParent(second.get());
    EXPECT_EQ(control.Parent(), second.get());
    EXPECT_EQ(::GetParent(window), second.get());
}

}  // namespace
