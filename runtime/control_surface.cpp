#include "runtime/control_surface.h"

#include <string>

#include "common/handles.h"
#include "common/ole_colour.h"
#include "common/twips.h"
#include "common/vb_error.h"
#include "runtime/fonts.h"
#include "runtime/mouse_pointer.h"

namespace zo {

namespace {


SIZE ClientSize(HWND window) noexcept {
    RECT client{};
    if (window) ::GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

}  // namespace

ControlSurface::~ControlSurface() { Destroy(); }

void ControlSurface::Create(WindowMessageHandler& handler) {
    m_window = CreateControlWindow(handler, m_borderStyle ? WS_BORDER : 0, 0);
}

void ControlSurface::Destroy() noexcept {
    if (HWND window = std::exchange(m_window, nullptr)) ::DestroyWindow(window);
}

HDC ControlSurface::hDC() const noexcept {
    if (m_drawTarget) return m_drawTarget;
    // CS_OWNDC: the window keeps this DC, with its selections, for its life.
    return m_window ? ::GetDC(m_window) : nullptr;
}

double ControlSurface::ScaleWidth() const noexcept {
    return static_cast<double>(ClientSize(m_window).cx) * TwipsPerPixelX();
}

double ControlSurface::ScaleHeight() const noexcept {
    return static_cast<double>(ClientSize(m_window).cy) * TwipsPerPixelY();
}

void ControlSurface::SelectCurrentFont() const noexcept {
    if (HFONT font = BorrowedFontHandle(m_font.get())) {
        if (HDC dc = hDC()) ::SelectObject(dc, font);
    }
}

// Text is measured on the container's DC while drawing goes there, and
// otherwise on the measurer's own DC, where the font stays selected.
SIZE ControlSurface::PixelExtent(std::wstring_view text) const noexcept {
    SIZE extent{};
    if (!m_drawTarget && m_window && m_measurer.Extent(BorrowedFontHandle(m_font.get()), text, extent)) return extent;
    SelectCurrentFont();
    HDC dc = hDC();
    if (!dc) return extent;
    if (text.empty()) {
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc, &metrics);
        extent.cy = metrics.tmHeight;
    } else {
        ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent);
    }
    return extent;
}

double ControlSurface::TextWidth(std::wstring_view text) const noexcept {
    return static_cast<double>(PixelExtent(text).cx) * TwipsPerPixelX();
}

double ControlSurface::TextHeight(std::wstring_view text) const noexcept {
    return static_cast<double>(PixelExtent(text).cy) * TwipsPerPixelY();
}

void ControlSurface::SetBackColor(OLE_COLOR colour) noexcept {
    m_backColor = colour;
    if (m_window) ::InvalidateRect(m_window, nullptr, TRUE);
}

void ControlSurface::SetForeColor(OLE_COLOR colour) noexcept {
    m_foreColor = colour;
    if (m_window) ::InvalidateRect(m_window, nullptr, TRUE);
}

void ControlSurface::SetEnabled(bool enabled) noexcept {
    m_enabled = enabled;
    if (m_window) ::EnableWindow(m_window, enabled ? TRUE : FALSE);
}

void ControlSurface::SetFont(com_ptr<IFont> font) noexcept {
    if (!font) return;
    m_font = std::move(font);
    SelectCurrentFont();
}

double ControlSurface::FontSize() const noexcept { return DescribeFont(m_font.get()).points; }

void ControlSurface::SetBorderStyle(int16_t style) {
    if (style != 0 && style != 1) throw VbError::Runtime(380);
    m_borderStyle = style;
    if (!m_window) return;
    LONG_PTR windowStyle = ::GetWindowLongPtrW(m_window, GWL_STYLE);
    windowStyle = style ? (windowStyle | WS_BORDER) : (windowStyle & ~static_cast<LONG_PTR>(WS_BORDER));
    ::SetWindowLongPtrW(m_window, GWL_STYLE, windowStyle);
    ::SetWindowPos(m_window, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void ControlSurface::SetMousePointer(int16_t pointer) {
    CheckMousePointer(pointer);
    m_mousePointer = pointer;
}


void ControlSurface::Refresh() const noexcept {
    if (!m_window) return;
    ::InvalidateRect(m_window, nullptr, TRUE);
    ::UpdateWindow(m_window);
}

void ControlSurface::Erase(HDC dc) const noexcept {
    RECT client{};
    ::GetClientRect(m_window, &client);
    unique_hbrush brush(::CreateSolidBrush(TranslateColour(m_backColor)));
    ::FillRect(dc, &client, brush.get());
}

void ControlSurface::Print(double xTwips, double yTwips, std::wstring_view text) const {
    HDC dc = hDC();
    if (!dc) return;
    // Converted before the DC is touched, so that an overflow leaves it as it was.
    const int x = PixelsFromTwipsX(xTwips);
    const int y = PixelsFromTwipsY(yTwips);
    SelectCurrentFont();
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColour = ::SetTextColor(dc, TranslateColour(m_foreColor));
    ::TextOutW(dc, x, y, text.data(), static_cast<int>(text.size()));
    ::SetTextColor(dc, previousColour);
    ::SetBkMode(dc, previousMode);
}

}  // namespace zo
