#include "runtime/line_drawing.h"

#include <algorithm>
#include <cmath>

#include "common/handles.h"
#include "common/ole_colour.h"

namespace zo {

void DrawLine(HDC dc, int x1, int y1, int x2, int y2, OLE_COLOR colour) noexcept {
    unique_hpen pen(::CreatePen(PS_SOLID, 1, TranslateColour(colour)));
    unique_select selected(dc, pen.get());
    POINT previous{};
    ::MoveToEx(dc, x1, y1, &previous);
    ::LineTo(dc, x2, y2);
    ::MoveToEx(dc, previous.x, previous.y, nullptr);
}

void FillBox(HDC dc, int x1, int y1, int x2, int y2, OLE_COLOR colour) noexcept {
    unique_hbrush brush(::CreateSolidBrush(TranslateColour(colour)));
    const RECT box{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1};
    ::FillRect(dc, &box, brush.get());
}

void DrawBox(HDC dc, int x1, int y1, int x2, int y2, OLE_COLOR outline, OLE_COLOR fill) noexcept {
    unique_hpen pen(::CreatePen(PS_SOLID, 1, TranslateColour(outline)));
    unique_hbrush brush(::CreateSolidBrush(TranslateColour(fill)));
    unique_select selectedPen(dc, pen.get());
    unique_select selectedBrush(dc, brush.get());
    ::Rectangle(dc, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1);
}

void DrawButtonEdges(HDC dc, int w, int h) noexcept {
    using namespace system_colour;
    DrawLine(dc, 1, 1, w - 2, 1, ButtonHighlight);
    DrawLine(dc, 1, 1, 1, h - 2, ButtonHighlight);
    DrawLine(dc, w - 1, 0, w - 1, h, ButtonDarkShadow);
    DrawLine(dc, w - 1, h - 1, 0, h - 1, ButtonDarkShadow);
    DrawLine(dc, w - 2, 1, w - 2, h - 2, ButtonShadow);
    DrawLine(dc, w - 2, h - 2, 1, h - 2, ButtonShadow);
}

void PrintText(HDC dc, double x, double y, std::wstring_view text, OLE_COLOR colour) noexcept {
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc, TranslateColour(colour));
    ::TextOutW(dc, static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)), text.data(),
               static_cast<int>(text.size()));
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
}

}  // namespace zo
