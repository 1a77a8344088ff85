#include "demo/shape_view.h"

#include <olectl.h>

#include <algorithm>

#include "common/handles.h"
#include "demo/report.h"

namespace zo::demo {

namespace {

constexpr wchar_t kViewClass[] = L"ZoDemoShapeView";
constexpr int kCornerRadius = 28;
constexpr int kPictureSide = 48;  // a picture is scaled to fit this square
constexpr int kContentGap = 8;
constexpr COLORREF kCanvas = RGB(255, 255, 255);
constexpr COLORREF kCanvasEdge = RGB(160, 160, 160);
constexpr COLORREF kHiddenInk = RGB(150, 150, 150);

COLORREF ToRgb(OLE_COLOR colour) noexcept {
    COLORREF rgb = 0;
    return SUCCEEDED(::OleTranslateColor(colour, nullptr, &rgb)) ? rgb : RGB(0, 0, 0);
}

// Black or white, whichever reads better on `background`.
COLORREF InkFor(COLORREF background) noexcept {
    const int luminance = (GetRValue(background) * 299 + GetGValue(background) * 587 + GetBValue(background) * 114) / 1000;
    return luminance < 128 ? RGB(255, 255, 255) : RGB(0, 0, 0);
}

unique_hpen BorderPen(const Shape& shape) {
    if (shape.borderStyle == BorderStyle::None) return unique_hpen();
    DWORD style = PS_SOLID;
    if (shape.borderStyle == BorderStyle::Dashed) style = PS_DASH;
    if (shape.borderStyle == BorderStyle::Dotted) style = PS_DOT;
    if (shape.borderStyle == BorderStyle::DashDot) style = PS_DASHDOT;
    LOGBRUSH brush{BS_SOLID, ToRgb(shape.border), 0};
    // A geometric pen keeps its dashes at any width.
    return unique_hpen(::ExtCreatePen(PS_GEOMETRIC | style | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                                      static_cast<DWORD>(shape.borderWidth), &brush, 0, nullptr));
}

unique_hfont CaptionFont(const Shape& shape, HDC dc) {
    LOGFONTW font{};
    font.lfHeight = -::MulDiv(shape.fontSize, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    font.lfWeight = shape.bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    shape.fontName.copy(font.lfFaceName, LF_FACESIZE - 1);
    return unique_hfont(::CreateFontIndirectW(&font));
}

void DrawOutline(HDC dc, ShapeOutline outline, const RECT& r) {
    switch (outline) {
        case ShapeOutline::Rectangle: ::Rectangle(dc, r.left, r.top, r.right, r.bottom); break;
        case ShapeOutline::RoundedRectangle:
            ::RoundRect(dc, r.left, r.top, r.right, r.bottom, kCornerRadius, kCornerRadius);
            break;
        case ShapeOutline::Ellipse: ::Ellipse(dc, r.left, r.top, r.right, r.bottom); break;
    }
}

SIZE FittedPictureSize(const Picture& picture) noexcept {
    const int longest = std::max(picture.width, picture.height);
    if (longest <= kPictureSide) return {picture.width, picture.height};
    return {std::max(1, picture.width * kPictureSide / longest), std::max(1, picture.height * kPictureSide / longest)};
}

void DrawPicture(HDC dc, const Picture& picture, int left, int top, SIZE size) {
    const unique_hdc source(::CreateCompatibleDC(dc));
    if (!source) return;
    const unique_select selected(source.get(), picture.bitmap.get());
    ::SetStretchBltMode(dc, HALFTONE);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(dc, left, top, size.cx, size.cy, source.get(), 0, 0, picture.width, picture.height, blend);
}

}  // namespace

ShapeView::~ShapeView() {
    if (m_window && ::IsWindow(m_window)) ::DestroyWindow(m_window);
}

void ShapeView::Create(HWND parent) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW viewClass{};
    viewClass.cbSize = sizeof(viewClass);
    if (!::GetClassInfoExW(instance, kViewClass, &viewClass)) {
        viewClass = {};
        viewClass.cbSize = sizeof(viewClass);
        viewClass.lpfnWndProc = WindowProc;
        viewClass.hInstance = instance;
        viewClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        viewClass.lpszClassName = kViewClass;
        if (!::RegisterClassExW(&viewClass))
            throw DemoError(L"Registering the shape view's window class", HRESULT_FROM_WIN32(::GetLastError()));
    }
    m_window = ::CreateWindowExW(0, kViewClass, L"Shape", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                                 nullptr, instance, this);
    if (!m_window) throw DemoError(L"Creating the shape view", HRESULT_FROM_WIN32(::GetLastError()));
}

void ShapeView::Show(const Shape& shape) {
    m_shape = shape;
    if (!m_window) return;
    ::InvalidateRect(m_window, nullptr, FALSE);
    ::UpdateWindow(m_window);
}

void ShapeView::SetPicture(std::optional<Picture> picture) {
    m_picture = std::move(picture);
    if (m_window) ::InvalidateRect(m_window, nullptr, FALSE);
}

RECT ShapeView::ShapeBounds() const noexcept {
    RECT client{};
    if (m_window) ::GetClientRect(m_window, &client);
    const int left = (client.right - m_shape.width) / 2, top = (client.bottom - m_shape.height) / 2;
    return {left, top, left + m_shape.width, top + m_shape.height};
}

LRESULT CALLBACK ShapeView::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<ShapeView*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_NCDESTROY:
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->m_window = nullptr;
            break;
        case WM_ERASEBKGND:
            return 1;  // the paint covers every pixel
        case WM_PAINT: {
            const unique_hdc_paint paint(window);
            RECT client{};
            ::GetClientRect(window, &client);
            try {
                self->Paint(paint.get(), client);
            } catch (...) {
                // A failed paint leaves the old picture; nothing may leave a window procedure.
            }
            return 0;
        }
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// Composes the picture off screen and copies it in one step, so that a
// change never flickers.
void ShapeView::Paint(HDC target, const RECT& client) const {
    if (client.right <= 0 || client.bottom <= 0) return;
    const unique_hdc dc(::CreateCompatibleDC(target));
    const unique_hbitmap buffer(::CreateCompatibleBitmap(target, client.right, client.bottom));
    if (!dc || !buffer) return;
    const unique_select bufferSelection(dc.get(), buffer.get());
    const unique_hbrush canvas(::CreateSolidBrush(kCanvas));
    ::FillRect(dc.get(), &client, canvas.get());
    const unique_hbrush edge(::CreateSolidBrush(kCanvasEdge));
    ::FrameRect(dc.get(), &client, edge.get());

    const RECT bounds = ShapeBounds();
    if (m_shape.visible)
        PaintShape(dc.get(), bounds);
    else
        PaintHidden(dc.get(), bounds);
    ::BitBlt(target, 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
}

void ShapeView::PaintShape(HDC dc, const RECT& bounds) const {
    const unique_hbrush fill(::CreateSolidBrush(ToRgb(m_shape.fill)));
    const unique_hpen pen = BorderPen(m_shape);
    const unique_select brushSelection(dc, fill.get());
    const unique_select penSelection(dc, pen ? static_cast<HGDIOBJ>(pen.get()) : ::GetStockObject(NULL_PEN));
    // The pen is centred on the outline; inset it so the border lies inside the bounds.
    const int inset = pen ? m_shape.borderWidth / 2 : 0;
    const RECT outline{bounds.left + inset, bounds.top + inset, bounds.right - inset + 1, bounds.bottom - inset + 1};
    DrawOutline(dc, m_shape.outline, outline);
    PaintContent(dc, bounds);
}

// The picture, if any, then the caption, side by side in the shape's middle.
void ShapeView::PaintContent(HDC dc, const RECT& bounds) const {
    const unique_hfont font = CaptionFont(m_shape, dc);
    const unique_select fontSelection(dc, font.get());
    RECT textSize{0, 0, 0, 0};
    ::DrawTextW(dc, m_shape.caption.c_str(), static_cast<int>(m_shape.caption.size()), &textSize,
                DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    const SIZE pictureSize = m_picture ? FittedPictureSize(*m_picture) : SIZE{0, 0};
    const int gap = (m_picture && !m_shape.caption.empty()) ? kContentGap : 0;
    const int available = bounds.right - bounds.left - 2 * (m_shape.borderWidth + kContentGap);
    const int textWidth = std::min<int>(textSize.right, std::max(0, available - static_cast<int>(pictureSize.cx) - gap));
    const int contentWidth = static_cast<int>(pictureSize.cx) + gap + textWidth;
    const int left = (bounds.left + bounds.right - contentWidth) / 2;
    const int middle = (bounds.top + bounds.bottom) / 2;

    if (m_picture) DrawPicture(dc, *m_picture, left, middle - pictureSize.cy / 2, pictureSize);
    RECT text{left + pictureSize.cx + gap, middle - textSize.bottom / 2, left + contentWidth,
              middle - textSize.bottom / 2 + textSize.bottom};
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, InkFor(ToRgb(m_shape.fill)));
    ::DrawTextW(dc, m_shape.caption.c_str(), static_cast<int>(m_shape.caption.size()), &text,
                DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

// A hidden shape leaves a faint outline, so that the user sees where it went.
void ShapeView::PaintHidden(HDC dc, const RECT& bounds) const {
    const unique_hpen pen(::CreatePen(PS_DOT, 1, kHiddenInk));
    const unique_select penSelection(dc, pen.get());
    const unique_select brushSelection(dc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    RECT text = bounds;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kHiddenInk);
    const HGDIOBJ guiFont = ::GetStockObject(DEFAULT_GUI_FONT);
    const unique_select fontSelection(dc, guiFont);
    ::DrawTextW(dc, L"(hidden: Visible is False)", -1, &text, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

}  // namespace zo::demo
