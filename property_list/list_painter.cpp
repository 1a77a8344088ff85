#include "property_list/list_painter.h"

#include <algorithm>

#include "common/handles.h"
#include "common/ole_colour.h"
#include "common/vb_conversions.h"
#include "property_list/grid_dots.h"
#include "property_list/offscreen_buffer.h"
#include "property_list/owner_draw_sink.h"
#include "property_list/row_geometry.h"
#include "property_list/row_store.h"
#include "runtime/skipping.h"

namespace zo {

namespace {

constexpr COLORREF kSelectedTextColour = RGB(0xFF, 0xFF, 0xFF);
// The name starts 2 pixels into its cell, the value 7 pixels past the divider.
constexpr int32_t kNameLeftPx = 2;
constexpr int32_t kValueGapPx = 7;

void FillSolid(HDC dc, int left, int top, int right, int bottom, COLORREF colour) noexcept {
    unique_hbrush brush(::CreateSolidBrush(colour));
    RECT area{left, top, right, bottom};
    ::FillRect(dc, &area, brush.get());
}

void DrawCellText(HDC dc, std::wstring_view text, int left, int top, int right, int bottom) noexcept {
    if (text.empty()) return;
    RECT cell{left, top, right, bottom};
    ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &cell, DT_SINGLELINE);
}

struct RowBand {
    int32_t top;     // first pixel line of the row
    int32_t bottom;  // its separator line
    int32_t width;
    int32_t divider;
};

void DrawPlainRow(HDC dc, const PropItem& item, bool selected, const RowBand& band, const ListPaintStyle& style) {
    const bool header = item.ItemType == row_kind::Header;
    if (selected) {
        FillSolid(dc, 0, band.top, header ? band.width : band.divider + 1, band.bottom, style.highlightColour);
        ::SetTextColor(dc, kSelectedTextColour);
    } else if (header) {
        FillSolid(dc, kNameLeftPx, band.top + 1, band.width, band.bottom, style.backColour);
    }
    if (header) {
        unique_select headerFont(dc, style.headerFont);
        DrawCellText(dc, item.Name(), kNameLeftPx, band.top + 1, band.width, band.bottom);
    } else {
        DrawCellText(dc, item.Name(), kNameLeftPx, band.top + 1, band.divider + 1, band.bottom);
    }
    ::SetTextColor(dc, style.foreColour);
    if (header) return;
    const int valueLeft = band.divider + kValueGapPx;
    if (item.ItemType == row_kind::Colour) {
        Skipping([&] {
            DrawColourValue(dc, std::wstring(item.Value()), style.swatchPx, valueLeft, band.top + 1, band.width, band.bottom);
        });
    } else {
        DrawCellText(dc, item.Value(), valueLeft, band.top + 1, band.width, band.bottom);
    }
}

}  // namespace

void DrawColourValue(HDC dc, const std::wstring& value, int32_t swatch, int left, int top, int right, int bottom) {
    ::Rectangle(dc, left, top, left + swatch - 2, top + swatch - 2);
    const int32_t colour = CLng(Val(value));
    FillSolid(dc, left + 1, top + 1, left + swatch - 3, top + swatch - 3,
              colour >= 0 ? static_cast<COLORREF>(colour) : SystemColourOf(colour));
    DrawCellText(dc, L"&&H" + Hex(colour), left + swatch + 1, top, right, bottom);
}

void PaintList(HDC target, OffscreenBuffer& buffer, const RowStore& rows, const RowGeometry& geometry,
               const ListPaintStyle& style, const OwnerDrawing& ownerDrawing) {
    const int32_t width = geometry.WidthPx();
    const int32_t height = geometry.HeightPx();
    if (width <= 0 || height <= 0 || !target) return;

    HDC dc = buffer.Prepare(width, height);
    if (!dc) return;
    struct FinishPaint {
        OffscreenBuffer& buffer;
        ~FinishPaint() { buffer.Finish(); }
    } finish{buffer};
    ::SetTextColor(dc, style.foreColour);
    ::SetBkMode(dc, TRANSPARENT);
    FillSolid(dc, 0, 0, width, height, style.backColour);
    unique_select fontSelection(dc, style.listFont);
    const int32_t divider = geometry.DividerPx(rows.LongestItem());
    const GridDots grid;
    grid.Line(dc, 0, 0, width, 0);
    grid.Line(dc, divider, 0, divider, height);

    // Rows follow each other at the geometry's pitch; an owner-drawn row ends
    // where its sink says, and the rows below it follow from there.
    const int32_t first = geometry.FirstVisibleRow(), last = geometry.LastVisibleRow();
    int32_t y = geometry.RowTopPx(first);
    for (int32_t i = first; i <= last; ++i) {
        // A sink may have changed the rows while drawing the one before.
        const PropItem* item = rows.Row(i);
        if (!item) break;
        RowBand band{y, y + geometry.PitchPx(), width, divider};
        const bool selected = i == rows.SelIndex();
        if (item->ItemType == row_kind::OwnerDraw && ownerDrawing.sink && *ownerDrawing.sink) {
            Skipping([&] {
                band.bottom = ownerDrawing.sink->DrawItem(ownerDrawing.controlName, i, selected, dc, band.top + 1,
                                                          width, band.bottom);
            });
        } else {
            DrawPlainRow(dc, *item, selected, band, style);
        }
        grid.Line(dc, 0, band.bottom, width, band.bottom);
        y = band.bottom;
    }
    ::BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
}

}  // namespace zo
