// PaintEffects: the transparent painter (bitmap, icon or DC copied with one colour left out) and the drop-down arrow glyph, shared by every control on a thread.
//
// It lives as long as any control uses it: each user holds a reference, and
// the last one to let go frees it.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <memory>

#include "common/handles.h"

namespace zo {

// The arrow of the drop-down buttons: a black triangle, point down, 7 x 4
// pixels on light grey, painted with the grey left out.
inline constexpr int kDropDownGlyphWidth = 7;
inline constexpr int kDropDownGlyphHeight = 4;
inline constexpr OLE_COLOR kDropDownGlyphMask = 0x00C0C0C0;

class PaintEffects {
public:
    // Creates the halftone palette used whenever a caller gives none.
    PaintEffects() noexcept;
    PaintEffects(const PaintEffects&) = delete;
    PaintEffects& operator=(const PaintEffects&) = delete;

    // Copies the width x height block at (xSrc, ySrc) of `source` to
    // (xDest, yDest) of `dest`, leaving out the source pixels of colour
    // `mask` (an OLE colour; system colours are resolved). The destination
    // changes in one final copy. `palette` nullptr: the painter's own.
    void PaintTransparentDC(HDC dest, int xDest, int yDest, int width, int height, HDC source,
                            int xSrc, int ySrc, OLE_COLOR mask,
                            HPALETTE palette = nullptr) const noexcept;

    // The same for a picture object holding a bitmap (from xSrc, ySrc) or an
    // icon (drawn at its natural size; xSrc and ySrc unused). A null picture
    // or any other type of picture draws nothing.
    void PaintTransparentStdPic(HDC dest, int xDest, int yDest, int width, int height,
                                IPicture* picture, int xSrc, int ySrc, OLE_COLOR mask,
                                HPALETTE palette = nullptr) const noexcept;

    // Draws the drop-down arrow glyph with its top-left corner at (x, y),
    // each of its pixels `scale` x `scale` pixels large.
    void PaintDropDownGlyph(HDC dest, int x, int y, int scale = 1) const noexcept;

    [[nodiscard]] HPALETTE Palette() const noexcept { return m_palette.get(); }

private:
    unique_hpalette m_palette;
    unique_hbitmap m_glyph;
};

// A new 7 x 4 bitmap of the drop-down arrow glyph (black on 0xC0C0C0), for
// a caller that keeps the glyph as its own picture.
[[nodiscard]] unique_hbitmap CreateDropDownGlyphBitmap() noexcept;

// How many times its size the glyph is drawn at `dpi`: whole times only, so
// that the triangle keeps its even steps (once up to 191 DPI, twice from 192).
[[nodiscard]] constexpr int DropDownGlyphScale(int dpi) noexcept { return dpi >= 192 ? dpi / 96 : 1; }

// Draws the arrow glyph with this thread's painter. Returns false, drawing
// nothing, when no control holds a painter.
bool DrawDropDownGlyph(HDC dest, int x, int y, int scale = 1) noexcept;

// A reference to this thread's painter, created when nobody holds one.
[[nodiscard]] std::shared_ptr<PaintEffects> AcquirePaintFx();
// The painter in use, or null when no control holds one.
[[nodiscard]] std::shared_ptr<PaintEffects> CurrentPaintFx() noexcept;

}  // namespace zo
