// OLE colours: &H00BBGGRR for a plain colour, &H80000000 + index for the
// Windows system colour of that GetSysColor index.
#pragma once

#include <windows.h>
#include <olectl.h>

#include <cstdint>

namespace zo {

inline constexpr OLE_COLOR kSystemColourFlag = 0x80000000u;

// The high bit names a system colour (a negative Long). Whether the index is
// one Windows knows is left to TranslateColour.
// The OLE system colours the controls draw their 3-D parts with.
namespace system_colour {
inline constexpr OLE_COLOR ButtonFace = 0x8000000F;
inline constexpr OLE_COLOR ButtonShadow = 0x80000010;
inline constexpr OLE_COLOR ButtonText = 0x80000012;
inline constexpr OLE_COLOR ButtonHighlight = 0x80000014;
inline constexpr OLE_COLOR ButtonDarkShadow = 0x80000015;
}  // namespace system_colour

[[nodiscard]] constexpr bool IsSystemColour(OLE_COLOR colour) noexcept {
    return (colour & kSystemColourFlag) != 0;
}

// The RGB value to draw with (OleTranslateColor without a palette). A value
// that names no colour gives black, so that painting goes on.
[[nodiscard]] COLORREF TranslateColour(OLE_COLOR colour) noexcept;

// GetSysColor of the low 31 bits: the colour a list row's swatch shows for a
// negative colour value.
[[nodiscard]] COLORREF SystemColourOf(std::int32_t value) noexcept;

}  // namespace zo
