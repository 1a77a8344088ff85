// The logical DPI the test process runs at, and sizes designed at 96 DPI
// scaled to it the way the controls scale them.
#pragma once

#include <windows.h>

namespace zo::test {

[[nodiscard]] inline int ScreenDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    return dpi;
}

[[nodiscard]] inline int Scaled(int pixelsAt96) { return ::MulDiv(pixelsAt96, ScreenDpi(), 96); }

}  // namespace zo::test
