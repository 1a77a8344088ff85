// Where the colour popup of a colour row goes: right-aligned under the arrow
// button, above it when it would leave the bottom of the monitor that holds
// the button, and pushed inside that monitor's left and right edges.
#pragma once

#include <windows.h>

namespace zo {

// `button` and `monitor` in screen pixels; the result is the popup's
// top-left corner.
[[nodiscard]] POINT PlaceColourPopup(const RECT& button, SIZE popup, const RECT& monitor) noexcept;

// The rectangle of the monitor that holds most of `window` (the nearest
// monitor when none does).
[[nodiscard]] RECT MonitorRectOf(HWND window) noexcept;

}  // namespace zo
