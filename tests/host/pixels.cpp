#include "tests/host/pixels.h"

#include <algorithm>

#include <ocidl.h>
#include <oleidl.h>

#include "common/com_ptr.h"
#include "tests/host/png_writer.h"

namespace zo::test {

namespace {

// WM_PRINTCLIENT to `window` at `origin` in the DC, then its visible
// children, bottom of the z-order first, each at its own offset.
void PrintTree(HWND window, HDC dc, POINT origin, bool children) {
    POINT previous;
    ::SetViewportOrgEx(dc, origin.x, origin.y, &previous);
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    ::SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
    if (!children) return;
    for (HWND child = ::GetWindow(window, GW_CHILD) ? ::GetWindow(::GetWindow(window, GW_CHILD), GW_HWNDLAST)
                                                    : nullptr;
         child; child = ::GetWindow(child, GW_HWNDPREV)) {
        if (!::IsWindowVisible(child)) continue;
        POINT clientOrigin{0, 0};
        ::ClientToScreen(child, &clientOrigin);
        POINT parentOrigin{0, 0};
        ::ClientToScreen(window, &parentOrigin);
        const POINT at{origin.x + clientOrigin.x - parentOrigin.x, origin.y + clientOrigin.y - parentOrigin.y};
        // Clip to the child's client area, as the screen would.
        RECT client;
        ::GetClientRect(child, &client);
        const int saved = ::SaveDC(dc);
        ::IntersectClipRect(dc, at.x, at.y, at.x + client.right, at.y + client.bottom);
        PrintTree(child, dc, at, true);
        ::RestoreDC(dc, saved);
    }
}

}  // namespace

CapturedBitmap::CapturedBitmap(int width, int height) : m_width(width), m_height(height) {
    if (width <= 0 || height <= 0) return;
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(header.bmiHeader);
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = -height;  // top-down: row 0 is the top
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap.reset(::CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!m_bitmap) return;
    m_bits = static_cast<const DWORD*>(bits);
    const DWORD fill = (GetRValue(kUnpainted) << 16) | (GetGValue(kUnpainted) << 8) | GetBValue(kUnpainted);
    std::fill_n(static_cast<DWORD*>(bits), static_cast<size_t>(width) * height, fill);
}

CapturedBitmap CapturedBitmap::Capture(HWND window, CaptureMethod method) {
    RECT client{};
    if (!::IsWindow(window) || !::GetClientRect(window, &client)) return CapturedBitmap(0, 0);
    CapturedBitmap capture(client.right, client.bottom);
    if (!capture.Valid()) return capture;
    capture.PaintWith([&](HDC dc) {
        switch (method) {
        case CaptureMethod::PrintClient: PrintTree(window, dc, POINT{0, 0}, false); break;
        case CaptureMethod::PrintClientWithChildren: PrintTree(window, dc, POINT{0, 0}, true); break;
        case CaptureMethod::PrintWindow: ::PrintWindow(window, dc, PW_CLIENTONLY); break;
        case CaptureMethod::Screen: {
            ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            unique_hdc_window source(window);
            ::BitBlt(dc, 0, 0, client.right, client.bottom, source.get(), 0, 0, SRCCOPY);
            break;
        }
        }
    });
    return capture;
}

CapturedBitmap CapturedBitmap::FromView(IUnknown* control, int width, int height) {
    CapturedBitmap capture(width, height);
    auto view = com_ptr<IUnknown>(control).query<IViewObject>();
    if (!capture.Valid() || !view) return capture;
    capture.PaintWith([&](HDC dc) {
        RECTL bounds{0, 0, width, height};
        (void)view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0);
    });
    return capture;
}

COLORREF CapturedBitmap::At(int x, int y) const noexcept {
    if (!m_bits || x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    const DWORD pixel = m_bits[static_cast<size_t>(y) * m_width + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

long CapturedBitmap::CountColor(COLORREF color, const RECT* area) const noexcept {
    RECT bounds{0, 0, m_width, m_height};
    if (area) ::IntersectRect(&bounds, &bounds, area);
    long count = 0;
    for (int y = bounds.top; y < bounds.bottom; ++y)
        for (int x = bounds.left; x < bounds.right; ++x)
            if (At(x, y) == color) ++count;
    return count;
}

HRESULT CapturedBitmap::SavePng(const wchar_t* path) const {
    return m_bitmap ? SaveBitmapAsPng(m_bitmap.get(), path) : E_UNEXPECTED;
}

int CountDifferences(const CapturedBitmap& a, const CapturedBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
    int differing = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) differing += a.At(x, y) != b.At(x, y);
    return differing;
}

}  // namespace zo::test
