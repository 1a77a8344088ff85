#include "common/twips.h"

#include "common/handles.h"
#include "common/vb_conversions.h"

#include <windows.h>

namespace zo {

namespace {

constexpr int kTwipsPerInch = 1440;

int ScreenTwipsPerPixel(int capability) noexcept {
    unique_hdc_window screen(nullptr);
    return TwipsPerPixelFromDpi(screen ? ::GetDeviceCaps(screen.get(), capability) : 0);
}

}  // namespace

int TwipsPerPixelFromDpi(int dotsPerInch) noexcept {
    if (dotsPerInch <= 0) dotsPerInch = 96;
    const int factor = kTwipsPerInch / dotsPerInch;
    return factor > 0 ? factor : 1;  // above 1440 DPI a pixel is still at least a twip
}

int TwipsPerPixelX() noexcept {
    static const int factor = ScreenTwipsPerPixel(LOGPIXELSX);
    return factor;
}

int TwipsPerPixelY() noexcept {
    static const int factor = ScreenTwipsPerPixel(LOGPIXELSY);
    return factor;
}

int PixelsFromTwips(double twips, int twipsPerPixel) { return IntDiv(twips, twipsPerPixel); }
int PixelsFromTwipsX(double twips) { return PixelsFromTwips(twips, TwipsPerPixelX()); }
int PixelsFromTwipsY(double twips) { return PixelsFromTwips(twips, TwipsPerPixelY()); }

double TwipsFromPixelsX(int pixels) noexcept {
    return static_cast<double>(pixels) * TwipsPerPixelX();
}
double TwipsFromPixelsY(int pixels) noexcept {
    return static_cast<double>(pixels) * TwipsPerPixelY();
}

}  // namespace zo
