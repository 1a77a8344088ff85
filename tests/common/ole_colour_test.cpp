// OLE colours: plain RGB values, system colour references, invalid values.
#include "common/ole_colour.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>

namespace zo {
namespace {

TEST(IsSystemColour, IsTheHighBit) {
    struct Case {
        OLE_COLOR colour;
        bool system;
    };
    const Case cases[] = {
        {0x00000000u, false}, {0x000000FFu, false}, {0x00FFFFFFu, false}, {0x01000005u, false},
        {0x8000000Fu, true},  {0x80000000u, true},  {0x80000018u, true},
        {static_cast<OLE_COLOR>(-2147483633), true},
    };
    for (const Case& c : cases) EXPECT_EQ(IsSystemColour(c.colour), c.system) << std::hex << c.colour;
}

TEST(TranslateColour, PlainColoursPassThrough) {
    const OLE_COLOR colours[] = {0x000000FFu, 0x0000FF00u, 0x00FF0000u, 0x00123456u, 0x00000000u, 0x00FFFFFFu};
    for (OLE_COLOR colour : colours) EXPECT_EQ(TranslateColour(colour), colour) << std::hex << colour;
}

TEST(TranslateColour, SystemColoursAreLookedUp) {
    // Two of these must differ, or a wrong index could pass unnoticed.
    ASSERT_NE(::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOWTEXT));
    const int indices[] = {COLOR_SCROLLBAR, COLOR_BACKGROUND, COLOR_ACTIVECAPTION, COLOR_WINDOW,
                           COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_BTNFACE,
                           COLOR_BTNSHADOW, COLOR_GRAYTEXT, COLOR_INFOBK};
    for (int index : indices) {
        const OLE_COLOR colour = kSystemColourFlag | static_cast<OLE_COLOR>(index);
        EXPECT_EQ(TranslateColour(colour), ::GetSysColor(index)) << index;
        EXPECT_EQ(SystemColourOf(static_cast<std::int32_t>(colour)), ::GetSysColor(index)) << index;
    }
}

TEST(TranslateColour, ValuesThatNameNoColourGiveBlack) {
    const OLE_COLOR colours[] = {0x80FFFFFFu, 0x8000FFFFu, 0x7F000000u, 0x40123456u};
    for (OLE_COLOR colour : colours) EXPECT_EQ(TranslateColour(colour), RGB(0, 0, 0)) << std::hex << colour;
}

TEST(SystemColourOf, UsesTheLow31Bits) {
    EXPECT_EQ(SystemColourOf(-2147483633), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(SystemColourOf(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(SystemColourOf(INT32_MIN | COLOR_WINDOWTEXT), ::GetSysColor(COLOR_WINDOWTEXT));
    // Bits above the low byte belong to the index too: it names no colour.
    const std::int32_t wide = static_cast<std::int32_t>(0x80000100u | COLOR_BTNFACE);
    ASSERT_NE(::GetSysColor(0x100 | COLOR_BTNFACE), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(SystemColourOf(wide), ::GetSysColor(0x100 | COLOR_BTNFACE));
}

}  // namespace
}  // namespace zo
