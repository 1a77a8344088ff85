#include "runtime/control_surface.h"

#include <string>

#include "common/handles.h"
#include "common/ole_colour.h"
#include "common/twips.h"
#include "common/vb_error.h"
#include "runtime/fonts.h"

namespace zo {

namespace {

constexpr int16_t kCustomPointer = 99;

const wchar_t* StandardCursor(int16_t pointer) noexcept {
    switch (pointer) {
        case 1: return IDC_ARROW;
        case 2: return IDC_CROSS;
        case 3: return IDC_IBEAM;
        case 4: return IDC_ICON;
        case 5: return IDC_SIZEALL;
        case 6: return IDC_SIZENESW;
        case 7: return IDC_SIZENS;
        case 8: return IDC_SIZENWSE;
        case 9: return IDC_SIZEWE;
        case 10: return IDC_UPARROW;
        case 11: return IDC_WAIT;
        case 12: return IDC_NO;
        case 13: return IDC_APPSTARTING;
        case 14: return IDC_HELP;
        case 15: return IDC_SIZEALL;
        default: return nullptr;
    }
}

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

double ControlSurface::TextWidth(std::wstring_view text) const noexcept {
    SelectCurrentFont();
    SIZE extent{};
    if (HDC dc = hDC()) ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent);
    return static_cast<double>(extent.cx) * TwipsPerPixelX();
}

double ControlSurface::TextHeight(std::wstring_view text) const noexcept {
    SelectCurrentFont();
    HDC dc = hDC();
    if (!dc) return 0;
    SIZE extent{};
    if (text.empty()) {
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc, &metrics);
        extent.cy = metrics.tmHeight;
    } else {
        ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent);
    }
    return static_cast<double>(extent.cy) * TwipsPerPixelY();
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
    if ((pointer < 0 || pointer > 15) && pointer != kCustomPointer) throw VbError::Runtime(380);
    m_mousePointer = pointer;
}

bool ControlSurface::ApplyMousePointer() const noexcept {
    if (m_mousePointer == kCustomPointer) {
        com_ptr<IPicture> picture = m_mouseIcon.query<IPicture>();
        OLE_HANDLE handle = 0;
        SHORT type = PICTYPE_NONE;
        if (!picture || FAILED(picture->get_Type(&type)) || type != PICTYPE_ICON ||
            FAILED(picture->get_Handle(&handle)) || !handle)
            return false;
        ::SetCursor(reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(handle)));
        return true;
    }
    const wchar_t* cursor = StandardCursor(m_mousePointer);
    if (!cursor) return false;
    ::SetCursor(::LoadCursorW(nullptr, cursor));
    return true;
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

void ControlSurface::Print(double xTwips, double yTwips, std::wstring_view text) const noexcept {
    HDC dc = hDC();
    if (!dc) return;
    SelectCurrentFont();
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColour = ::SetTextColor(dc, TranslateColour(m_foreColor));
    ::TextOutW(dc, PixelsFromTwipsX(xTwips), PixelsFromTwipsY(yTwips), text.data(), static_cast<int>(text.size()));
    ::SetTextColor(dc, previousColour);
    ::SetBkMode(dc, previousMode);
}

}  // namespace zo
