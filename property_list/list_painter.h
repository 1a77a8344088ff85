// Painting of the rows: reads the rows and the geometry and draws them into
// an off-screen bitmap that is copied to the target in one BitBlt, so that
// repainting after every keystroke or scroll step does not flicker. Only the
// visible rows are visited. The painter keeps no state of its own: the
// off-screen buffer is the caller's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace zo {

class OffscreenBuffer;
class OwnerDrawSink;
class RowGeometry;
class RowStore;

struct ListPaintStyle {
    COLORREF foreColour = 0;
    COLORREF backColour = 0;
    COLORREF highlightColour = 0;
    HFONT listFont = nullptr;    // borrowed
    HFONT headerFont = nullptr;  // borrowed
    int32_t swatchPx = 0;        // side of a colour row's swatch box
};

// Owner-drawn rows are drawn by the sink when one is set; it may call back
// into the control, so every row is looked up again after each call.
struct OwnerDrawing {
    OwnerDrawSink* sink = nullptr;
    std::wstring controlName;
};

void PaintList(HDC target, OffscreenBuffer& buffer, const RowStore& rows, const RowGeometry& geometry,
               const ListPaintStyle& style, const OwnerDrawing& ownerDrawing);

// A colour row's value from (left, top): a framed swatch `swatch` pixels
// high filled with the colour, then its "&H" text, in the DC's current pen,
// brush, font and text colour. The list's rows and the colour box share it.
void DrawColourValue(HDC dc, const std::wstring& value, int32_t swatch, int left, int top, int right, int bottom);

}  // namespace zo
