// CommonDialog opens the real colour dialog; the test answers it from a timer
// that the dialog's own modal loop dispatches, after a window hook has copied
// the record the dialog was given.
#include <gtest/gtest.h>

#include <windows.h>
#include <colordlg.h>

#include <array>
#include <cstdint>
#include <string>
#include <optional>

#include "colour_picking/common_dialog.h"
#include "tests/colour_picking/colour_dialog_driver.h"

namespace {

using zo::test::Answer;
using zo::test::ColourDialogDriver;

// A colour as the Long the dialog wrapper answers.
constexpr std::int32_t Long(COLORREF colour) { return static_cast<std::int32_t>(colour); }

TEST(CommonDialogTest, NewDialogHasSixteenWhiteCustomColours) {
    const zo::CommonDialog dialog;
    for (int i = 0; i < 16; ++i) EXPECT_EQ(dialog.CustomColors(i), 0x00FFFFFF) << i;
}

TEST(CommonDialogTest, CustomColourIndicesOutsideTheSixteenAreIgnored) {
    zo::CommonDialog dialog;
    for (const int index : {-1, 16, 17, 32767, -32768}) {
        dialog.SetCustomColors(index, 0x123456);
        EXPECT_EQ(dialog.CustomColors(index), 0) << index;
    }
    for (int i = 0; i < 16; ++i) EXPECT_EQ(dialog.CustomColors(i), 0x00FFFFFF) << "slot " << i << " untouched";
    dialog.SetCustomColors(15, 0x0A0B0C);
    EXPECT_EQ(dialog.CustomColors(15), 0x0A0B0C);
}

TEST(CommonDialogTest, ChosenColourIsReturnedAndKept) {
    zo::CommonDialog dialog;
    dialog.SetFlags(CC_FULLOPEN | CC_ANYCOLOR);
    ColourDialogDriver driver({RGB(12, 34, 56)});
    ASSERT_TRUE(driver.Ready());
    const HWND active = ::GetActiveWindow();
    const std::int32_t chosen = dialog.ShowColor(RGB(200, 100, 50));

    ASSERT_TRUE(driver.Seen().has_value()) << "the colour dialog opened";
    EXPECT_EQ(driver.Seen()->structSize, sizeof(CHOOSECOLORW));
    EXPECT_EQ(driver.Seen()->flags, 0x103u) << "the caller's flags with CC_RGBINIT added";
    EXPECT_EQ(driver.Seen()->initial, RGB(200, 100, 50));
    EXPECT_EQ(driver.Seen()->owner, active);
    EXPECT_EQ(chosen, Long(RGB(12, 34, 56)));
    EXPECT_EQ(dialog.Color(), Long(RGB(12, 34, 56)));
    EXPECT_EQ(dialog.Flags(), static_cast<DWORD>(CC_FULLOPEN | CC_ANYCOLOR)) << "the caller's flags are kept as set";
}

TEST(CommonDialogTest, CancelGivesMinusOneWhateverTheStartingColour) {
    zo::CommonDialog dialog;
    dialog.SetColor(RGB(1, 2, 3));
    ColourDialogDriver driver({RGB(12, 34, 56), false, false});
    EXPECT_EQ(dialog.ShowColor(RGB(1, 2, 3)), -1);
    EXPECT_TRUE(driver.Seen().has_value());
    EXPECT_EQ(dialog.Color(), -1);
}

TEST(CommonDialogTest, CustomColoursGoInAndComeBackOut) {
    zo::CommonDialog dialog;
    dialog.SetFlags(CC_FULLOPEN);
    for (int i = 0; i < 16; ++i) dialog.SetCustomColors(i, RGB(i * 10, 255 - i, i));
    {
        ColourDialogDriver driver({RGB(77, 88, 99), true, true});
        EXPECT_EQ(dialog.ShowColor(RGB(5, 5, 5)), Long(RGB(77, 88, 99)));
        ASSERT_TRUE(driver.Seen().has_value());
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(driver.Seen()->custom[static_cast<size_t>(i)], RGB(i * 10, 255 - i, i)) << "given slot " << i;
    }
    int changed = -1;
    for (int i = 0; i < 16; ++i) {
        if (dialog.CustomColors(i) == Long(RGB(i * 10, 255 - i, i))) continue;
        EXPECT_EQ(changed, -1) << "only one slot was redefined";
        changed = i;
        EXPECT_EQ(dialog.CustomColors(i), Long(RGB(77, 88, 99))) << "slot " << i << " holds the added colour";
    }
    ASSERT_NE(changed, -1) << "the dialog's added colour comes back";

    // The next opening starts from what the dialog left.
    ColourDialogDriver again({std::nullopt, false, false});
    EXPECT_EQ(dialog.ShowColor(0), -1);
    ASSERT_TRUE(again.Seen().has_value());
    EXPECT_EQ(again.Seen()->custom[static_cast<size_t>(changed)], RGB(77, 88, 99));
}

TEST(CommonDialogTest, DialogOpensWithTheFlagsItCanHonour) {
    struct Case {
        const char* what;
        DWORD flags;
        DWORD seen;
    };
    const Case cases[] = {
        {"no flags", 0, CC_RGBINIT},
        {"the colour picker's flags", 258, 0x103},
        {"a hook without a hook procedure", CC_FULLOPEN | CC_ENABLEHOOK, CC_FULLOPEN | CC_RGBINIT},
        {"a template without a template", CC_ENABLETEMPLATE, CC_RGBINIT},
        {"a template handle without a template", CC_FULLOPEN | CC_ENABLETEMPLATEHANDLE, CC_FULLOPEN | CC_RGBINIT},
    };
    for (const Case& c : cases) {
        zo::CommonDialog dialog;
        dialog.SetFlags(c.flags);
        ColourDialogDriver driver({RGB(1, 200, 3)});
        const std::int32_t chosen = dialog.ShowColor(RGB(9, 9, 9));
        if (!driver.Seen()) {
            ADD_FAILURE() << c.what << ": the dialog did not open";
            continue;
        }
        EXPECT_EQ(driver.Seen()->flags, c.seen) << c.what;
        EXPECT_EQ(chosen, Long(RGB(1, 200, 3))) << c.what;
    }
}

TEST(CommonDialogTest, SystemColourStartsOnTheColourItNames) {
    zo::CommonDialog dialog;
    ColourDialogDriver driver({std::nullopt, false, true});
    const std::int32_t chosen = dialog.ShowColor(static_cast<std::int32_t>(0x8000000F));
    ASSERT_TRUE(driver.Seen().has_value());
    EXPECT_EQ(driver.Seen()->initial, ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(chosen, Long(::GetSysColor(COLOR_BTNFACE))) << "OK without a change";
}

}  // namespace
