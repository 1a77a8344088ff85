// The container's Line and Print operations for controls that draw directly:
// lines, boxes and text. Coordinates are pixels; colours are OLE colours
// (system colours resolved here).
#pragma once

#include <windows.h>
#include <olectl.h>

#include <string_view>

namespace zo {

// A line from (x1, y1) to (x2, y2), the end point itself not drawn.
void DrawLine(HDC dc, int x1, int y1, int x2, int y2, OLE_COLOR colour) noexcept;
// The box with corners (x1, y1) and (x2, y2), both corners included, filled.
void FillBox(HDC dc, int x1, int y1, int x2, int y2, OLE_COLOR colour) noexcept;
// The same box outlined in one colour and filled with another.
void DrawBox(HDC dc, int x1, int y1, int x2, int y2, OLE_COLOR outline, OLE_COLOR fill) noexcept;
// The raised edges of a flat 3-D push button filling a width x height box:
// highlight along the top and left inside, the dark shadow along the right
// and bottom, the shadow just inside it. The face is never drawn pressed.
void DrawButtonEdges(HDC dc, int width, int height) noexcept;
// Text with its top-left corner at (x, y), on a transparent background, in
// the font selected into the DC.
void PrintText(HDC dc, double x, double y, std::wstring_view text, OLE_COLOR colour) noexcept;

}  // namespace zo
