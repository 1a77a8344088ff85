// Logical DPI and lengths designed in pixels at 96 DPI. What the controls
// draw with fixed shapes (the picker's tabs and cells, its popup form) was
// designed at 96 DPI; at other DPIs those lengths are scaled by DPI / 96, so
// that they keep their size on screen and stay in proportion to the text,
// which the system already scales.
#pragma once

#include <windows.h>

namespace zo {

inline constexpr int kDesignDpi = 96;

// The window's DPI where the system keeps one per window (per-monitor aware
// processes on Windows 10 and later), else the screen's logical DPI.
[[nodiscard]] int DpiOfWindow(HWND window) noexcept;

// A length designed at 96 DPI, at `dpi`, rounded to the nearest pixel
// (halves away from zero); unchanged at 96 DPI.
[[nodiscard]] constexpr int ScaleFromDesignDpi(int pixels, int dpi) noexcept {
    const long long scaled = static_cast<long long>(pixels) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + kDesignDpi / 2) / kDesignDpi
                                        : -((-scaled + kDesignDpi / 2) / kDesignDpi));
}

}  // namespace zo
