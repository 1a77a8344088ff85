// Twips-per-pixel factors of the screen and the conversions built on them.
#include "common/handles.h"
#include "common/twips.h"
#include "common/vb_error.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace zo {
namespace {

TEST(Twips, FactorsComeFromTheScreenResolution) {
    unique_hdc_window screen(nullptr);
    ASSERT_TRUE(screen);
    const int dpiX = ::GetDeviceCaps(screen.get(), LOGPIXELSX);
    const int dpiY = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    ASSERT_GT(dpiX, 0);
    ASSERT_GT(dpiY, 0);
    EXPECT_EQ(TwipsPerPixelX(), 1440 / dpiX);
    EXPECT_EQ(TwipsPerPixelY(), 1440 / dpiY);
}

TEST(Twips, FactorFromDotsPerInch) {
    struct Case {
        int dpi;
        int twipsPerPixel;
    };
    const Case cases[] = {{96, 15}, {120, 12}, {144, 10}, {72, 20}, {192, 7},
                          {0, 15},  {-5, 15},  {1440, 1}, {2000, 1}};
    for (const Case& c : cases) EXPECT_EQ(TwipsPerPixelFromDpi(c.dpi), c.twipsPerPixel) << c.dpi;
}

TEST(Twips, PixelsAreTheRoundedTwipsDividedTowardZero) {
    struct Case {
        double twips;
        int twipsPerPixel;
        int pixels;
    };
    const Case cases[] = {
        {0, 15, 0},     {14, 15, 0},    {15, 15, 1},    {29, 15, 1},   {30, 15, 2},
        {-15, 15, -1},  {-14, 15, 0},   {-29, 15, -1},  {1500, 15, 100},
        {29.5, 15, 2},  // 29.5 rounds to 30
        {44.5, 15, 2},  // 44.5 rounds to 44
        {1500, 12, 125}, {4800, 10, 480},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PixelsFromTwips(c.twips, c.twipsPerPixel), c.pixels) << c.twips << " / " << c.twipsPerPixel;
}

TEST(Twips, TwipsBeyondALongAreOverflow) {
    try {
        (void)PixelsFromTwips(3e9, 15);
        FAIL() << "no error";
    } catch (const VbError& error) {
        EXPECT_EQ(error.Number(), 6);
    }
}

TEST(Twips, ScreenConversionsUseTheScreenFactors) {
    const int tppx = TwipsPerPixelX();
    const int tppy = TwipsPerPixelY();
    for (int pixels : {-7, 0, 1, 2, 17, 640, 32767}) {
        EXPECT_EQ(TwipsFromPixelsX(pixels), static_cast<double>(pixels) * tppx);
        EXPECT_EQ(TwipsFromPixelsY(pixels), static_cast<double>(pixels) * tppy);
        EXPECT_EQ(PixelsFromTwipsX(TwipsFromPixelsX(pixels)), pixels);
        EXPECT_EQ(PixelsFromTwipsY(TwipsFromPixelsY(pixels)), pixels);
        // Part of a pixel does not count; the quotient truncates toward zero.
        const int partial = pixels < 0 && tppx > 1 ? pixels + 1 : pixels;
        EXPECT_EQ(PixelsFromTwipsX(TwipsFromPixelsX(pixels) + tppx - 1), partial) << pixels;
    }
}

}  // namespace
}  // namespace zo
