// Twips (1/1440 inch), the unit of sizes exchanged with the container, and
// screen pixels, the unit of drawing. The factors are the screen's, read once
// per process: 1440 / LOGPIXELSX (or Y), in whole twips, 15 at 96 DPI.
#pragma once

namespace zo {

[[nodiscard]] int TwipsPerPixelX() noexcept;
[[nodiscard]] int TwipsPerPixelY() noexcept;

// CLng(twips) \ twipsPerPixel: the rounded twips divided, truncating toward
// zero. Throws Overflow (6) for twips beyond a Long.
[[nodiscard]] int PixelsFromTwips(double twips, int twipsPerPixel);
[[nodiscard]] int PixelsFromTwipsX(double twips);
[[nodiscard]] int PixelsFromTwipsY(double twips);

[[nodiscard]] double TwipsFromPixelsX(int pixels) noexcept;
[[nodiscard]] double TwipsFromPixelsY(int pixels) noexcept;

// 1440 / dots per inch; a screen that reports no resolution counts as 96 DPI.
[[nodiscard]] int TwipsPerPixelFromDpi(int dotsPerInch) noexcept;

}  // namespace zo
