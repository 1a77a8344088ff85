#include "colour_picking/palette.h"

namespace zo {

const PaletteColours& DefaultPalette() noexcept {
    // &H00BBGGRR, row by row: greys, then the red, orange, yellow, green,
    // cyan, blue and magenta families from the palest to the darkest.
    static const PaletteColours palette{
        0x00FFFFFF, 0x00C0C0FF, 0x00C0E0FF, 0x00C0FFFF, 0x00C0FFC0, 0x00FFFFC0, 0x00FFC0C0, 0x00FFC0FF,
        0x00E0E0E0, 0x008080FF, 0x0080C0FF, 0x0080FFFF, 0x0080FF80, 0x00FFFF80, 0x00FF8080, 0x00FF80FF,
        0x00C0C0C0, 0x000000FF, 0x000080FF, 0x0000FFFF, 0x0000FF00, 0x00FFFF00, 0x00FF0000, 0x00FF00FF,
        0x00808080, 0x000000C0, 0x000040C0, 0x0000C0C0, 0x0000C000, 0x00C0C000, 0x00C00000, 0x00C000C0,
        0x00404040, 0x00000080, 0x00004080, 0x00008080, 0x00008000, 0x00808000, 0x00800000, 0x00800080,
        0x00000000, 0x00000040, 0x00404080, 0x00004040, 0x00004000, 0x00404000, 0x00400000, 0x00400040,
        kWhite,     kWhite,     kWhite,     kWhite,     kWhite,     kWhite,     kWhite,     kWhite,
        kWhite,     kWhite,     kWhite,     kWhite,     kWhite,     kWhite,     kWhite,     kWhite,
    };
    return palette;
}

std::wstring PaletteKey(int x, int y) {
    std::wstring key = L"Colors";
    key += static_cast<wchar_t>(L'0' + x);
    key += static_cast<wchar_t>(L'0' + y);
    return key;
}

}  // namespace zo
