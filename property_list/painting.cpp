// Painting of the list: the rows are composed in an off-screen bitmap and
// copied to the control in one BitBlt, so that repainting after every
// keystroke or scroll step does not flicker. Only the visible rows are
// visited, whatever the length of the list.
#include <algorithm>

#include "common/ole_colour.h"
#include "common/twips.h"
#include "common/vb_conversions.h"
#include "property_list/property_list.h"
#include "runtime/skipping.h"
#include "runtime/fonts.h"

namespace zo {

namespace {

constexpr COLORREF kGridColour = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kSelectedTextColour = RGB(0xFF, 0xFF, 0xFF);
constexpr DISPID kDrawItem = 0x60030002;


void FillSolid(HDC dc, int left, int top, int right, int bottom, COLORREF colour) noexcept {
    unique_hbrush brush(::CreateSolidBrush(colour));
    RECT area{left, top, right, bottom};
    ::FillRect(dc, &area, brush.get());
}

void DrawCellText(HDC dc, const std::wstring& text, int left, int top, int right, int bottom) noexcept {
    RECT cell{left, top, right, bottom};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &cell, DT_SINGLELINE);
}

}  // namespace

// Dots on every second pixel, always on even coordinates, so that crossing
// lines share their dots.
void DrawDottedLine(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2) noexcept {
    if (x1 != x2) {
        int32_t from = std::min(x1, x2), to = std::max(x1, x2);
        if (from % 2 == 1) {
            ++from;
            ++to;
        }
        if (to % 2 == 1) ++to;
        if (y1 % 2 == 1) --y1;
        for (int32_t x = from; x <= to; x += 2) ::SetPixel(dc, x, y1, kGridColour);
    } else {
        int32_t from = std::min(y1, y2), to = std::max(y1, y2);
        if (from % 2 == 1) --from;
        if (x1 % 2 == 1) ++x1;
        for (int32_t y = from; y <= to; y += 2) ::SetPixel(dc, x1, y, kGridColour);
    }
}

void PropertyList::UserControl_Paint() { DrawList(); }

int32_t PropertyList::SinkDrawItem(int32_t index, bool selected, HDC dc, int32_t top, int32_t right,
                                   int32_t bottom) {
    int16_t itemIndex = CInt(index);
    LONG dcValue = static_cast<LONG>(reinterpret_cast<INT_PTR>(dc));
    LONG topValue = top, rightValue = right, bottomValue = bottom;
    std::vector<VARIANT> args(8);
    const std::wstring name = AmbientProperties().DisplayName();
    V_VT(&args[0]) = VT_BSTR;
    V_BSTR(&args[0]) = ::SysAllocStringLen(name.data(), static_cast<UINT>(name.size()));
    V_VT(&args[1]) = VT_I2 | VT_BYREF;
    V_I2REF(&args[1]) = &itemIndex;
    V_VT(&args[2]) = VT_BOOL;
    V_BOOL(&args[2]) = selected ? VARIANT_TRUE : VARIANT_FALSE;
    V_VT(&args[3]) = VT_I4 | VT_BYREF;
    V_I4REF(&args[3]) = &dcValue;
    V_VT(&args[4]) = VT_I4;
    V_I4(&args[4]) = 2;
    V_VT(&args[5]) = VT_I4 | VT_BYREF;
    V_I4REF(&args[5]) = &topValue;
    V_VT(&args[6]) = VT_I4 | VT_BYREF;
    V_I4REF(&args[6]) = &rightValue;
    V_VT(&args[7]) = VT_I4 | VT_BYREF;
    V_I4REF(&args[7]) = &bottomValue;
    InvokeSink(kDrawItem, args);
    return bottomValue;
}

void PropertyList::DrawColourValue(HDC dc, const std::wstring& value, int left, int top, int right,
                                   int bottom) {
    const int32_t swatch = IntDiv(CLng(m_picValue.ScaleHeight()), CLng(TwipsPerPixelY()));
    ::Rectangle(dc, left, top, left + swatch - 2, top + swatch - 2);
    const int32_t colour = CLng(Val(value));
    FillSolid(dc, left + 1, top + 1, left + swatch - 3, top + swatch - 3,
              colour >= 0 ? static_cast<COLORREF>(colour) : SystemColourOf(colour));
    DrawCellText(dc, L"&&H" + Hex(colour), left + swatch + 1, top, right, bottom);
}

void PropertyList::DrawList() {
    if (m_holdDraw) return;
    ControlSurface& surface = Surface();
    try {
        if (!AmbientProperties().UserMode()) {
            surface.Print(5.0 * TwipsPerPixelX(), 5.0 * TwipsPerPixelY(), AmbientProperties().DisplayName());
            return;
        }
    } catch (...) {
        // Without a site there is no display name to show.
        return;
    }
    if (m_lastIndex < 0) return;
    try {
        PaintRows();
    } catch (...) {
        // A picture that cannot be composed leaves the previous one.
    }
}

void PropertyList::PaintRows() {
    ControlSurface& surface = Surface();
    Skipping([&] {
        if (com_ptr<IFont> header = m_cmdDown.Font()) {
            CY size{};
            size.int64 = static_cast<LONGLONG>(surface.FontSize() * 10000.0 + 0.5);
            header->put_Size(size);
        }
    });
    const int32_t tppx = CLng(TwipsPerPixelX());
    const int32_t tppy = CLng(TwipsPerPixelY());
    const int32_t width = IntDiv(surface.ScaleWidth(), tppx);
    const int32_t height = IntDiv(surface.ScaleHeight(), tppy);
    if (width <= 0 || height <= 0) return;

    unique_hdc buffer;
    unique_hbitmap bitmap;
    {
        unique_hdc_window screen(nullptr);
        buffer.reset(::CreateCompatibleDC(screen.get()));
        bitmap.reset(::CreateCompatibleBitmap(screen.get(), width, height));
    }
    if (!buffer || !bitmap) return;
    HDC dc = buffer.get();
    unique_select bitmapSelection(dc, bitmap.get());
    const COLORREF foreColour = TranslateColour(surface.ForeColor());
    const COLORREF backColour = TranslateColour(surface.BackColor());
    ::SetTextColor(dc, foreColour);
    ::SetBkMode(dc, TRANSPARENT);

    const double lineTwips = surface.TextHeight(L"Qq");
    int32_t visible = CInt(IntDiv(CLng(surface.ScaleHeight()), CLng(lineTwips + 45)));
    if (m_lastIndex < visible) visible = m_lastIndex;
    const int32_t lineHeight = IntDiv(CLng(lineTwips), tppy);
    FillSolid(dc, 0, 0, width, height, backColour);
    unique_select fontSelection(dc, BorrowedFontHandle(surface.Font().get()));
    const int32_t divider = IntDiv(m_longestItem, tppx);
    DrawDottedLine(dc, 0, 0, width, 0);
    DrawDottedLine(dc, divider, 0, divider, height);

    m_editTop = -90;
    const int32_t first = FirstVisibleRow();
    int32_t y = 1;
    for (int32_t i = first; i <= first + visible && i <= m_lastIndex; ++i) {
        const PropItem& item = m_items[static_cast<size_t>(i)];
        const bool header = item.ItemType == ZoPropPropertyHeader;
        const bool ownerDrawn = item.ItemType == ZoPropOwnerDraw && m_ownerDrawSink;
        int32_t bottom = y + lineHeight + 3;
        if (i == m_selIndex) Skipping([&] { m_editTop = CInt((y + 1.0) * tppy); });
        if (ownerDrawn) {
            Skipping([&] { bottom = SinkDrawItem(i, i == m_selIndex, dc, y + 1, width, bottom); });
        } else {
            if (i == m_selIndex) {
                FillSolid(dc, 0, y, header ? width : divider + 1, bottom, TranslateColour(m_highlightColor));
                ::SetTextColor(dc, kSelectedTextColour);
            } else if (header) {
                FillSolid(dc, 2, y + 1, width, bottom, backColour);
            }
            if (header) {
                unique_select headerFont(dc, BorrowedFontHandle(m_cmdDown.Font().get()));
                DrawCellText(dc, item.Name, 2, y + 1, width, bottom);
            } else {
                DrawCellText(dc, item.Name, 2, y + 1, divider + 1, bottom);
            }
            ::SetTextColor(dc, foreColour);
            if (!header) {
                if (item.ItemType == ZoPropOleColor)
                    Skipping([&] { DrawColourValue(dc, item.Value, divider + 7, y + 1, width, bottom); });
                else
                    DrawCellText(dc, item.Value, divider + 7, y + 1, width, bottom);
            }
        }
        DrawDottedLine(dc, 0, bottom, width, bottom);
        y = bottom;
    }
    if (HDC target = surface.hDC()) ::BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
}

}  // namespace zo
