// A child control's window keeps a live font while its font object changes:
// the object replaces its GDI font after every property put, and the window
// must be given the new one rather than keep the one the object deleted.
#include <gtest/gtest.h>

#include <olectl.h>

#include <functional>

#include "runtime/child_controls.h"
#include "runtime/fonts.h"
#include "tests/host/gtest_support.h"
#include "tests/host/message_pump.h"

namespace zo {
namespace {

[[maybe_unused]] auto* const g_ole = ::testing::AddGlobalTestEnvironment(new test::OleEnvironment);

HWND CreateParent() {
    return ::CreateWindowExW(0, L"STATIC", L"font test", WS_POPUP | WS_VISIBLE, 50, 50, 200, 100, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

HFONT WindowFontOf(HWND window) { return reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)); }

class WindowFontTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent = CreateParent();
        ASSERT_TRUE(parent);
        text.Create(parent);
        ASSERT_TRUE(text.hWnd());
        font = CreateStdFont(FontDescription{});
        ASSERT_TRUE(font);
        text.SetFont(font);
    }
    void TearDown() override {
        ::DestroyWindow(parent);
        test::PumpMessages();
    }

    HWND parent = nullptr;
    TextBox text;
    com_ptr<IFont> font;
};

TEST_F(WindowFontTest, APropertyPutOnTheFontLeavesTheWindowWithTheFontsNewLiveHandle) {
    CY size{};
    size.int64 = 140000;  // 14 pt
    const struct {
        const char* change;
        std::function<HRESULT()> put;
    } changes[] = {
        {"Bold", [&] { return font->put_Bold(TRUE); }},
        {"Size", [&] { return font->put_Size(size); }},
        {"Italic", [&] { return font->put_Italic(TRUE); }},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.change);
        const HFONT before = WindowFontOf(text.hWnd());
        ASSERT_EQ(c.put(), S_OK);
        HFONT current = nullptr;
        ASSERT_EQ(font->get_hFont(&current), S_OK);  // the object now makes its new font
        EXPECT_NE(current, before);
        const HFONT shown = WindowFontOf(text.hWnd());
        EXPECT_EQ(::GetObjectType(shown), static_cast<DWORD>(OBJ_FONT)) << "the window's font was deleted";
        EXPECT_EQ(shown, current);
    }
}

TEST_F(WindowFontTest, AChangeTheFontDoesNotReportLeavesTheWindowWithALiveFont) {
    const HFONT shown = WindowFontOf(text.hWnd());
    ASSERT_EQ(font->SetRatio(96, 2540), S_OK);  // rescales the font without a notification
    HFONT current = nullptr;
    ASSERT_EQ(font->get_hFont(&current), S_OK);  // makes the new font and lets the old one go
    ASSERT_NE(current, shown);
    EXPECT_EQ(WindowFontOf(text.hWnd()), shown);
    EXPECT_EQ(::GetObjectType(shown), static_cast<DWORD>(OBJ_FONT)) << "the window's font was deleted";
}

TEST_F(WindowFontTest, AReplacedOrDestroyedControlNoLongerFollowsItsOldFont) {
    com_ptr<IFont> other = CreateStdFont(FontDescription{});
    text.SetFont(other);
    ASSERT_EQ(font->put_Bold(TRUE), S_OK);
    HFONT otherHandle = nullptr;
    ASSERT_EQ(other->get_hFont(&otherHandle), S_OK);
    EXPECT_EQ(WindowFontOf(text.hWnd()), otherHandle) << "the first font still reaches the window";

    {
        TextBox gone;
        gone.Create(parent);
        gone.SetFont(other);
    }
    // Reaches the box still there, and no sink of the one that went.
    ASSERT_EQ(other->put_Bold(TRUE), S_OK);
    ASSERT_EQ(other->get_hFont(&otherHandle), S_OK);
    EXPECT_EQ(WindowFontOf(text.hWnd()), otherHandle);
}

}  // namespace
}  // namespace zo
