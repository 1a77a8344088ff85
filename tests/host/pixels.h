// CapturedBitmap: what a window (or a control's view) painted, captured into
// a 32-bit top-down DIB section, for reading pixels back.
#pragma once

#include <windows.h>

#include "common/handles.h"

namespace zo::test {

enum class CaptureMethod {
    // WM_PRINTCLIENT to the window alone: only what its own procedure paints.
    PrintClient,
    // WM_PRINTCLIENT to the window, then to each visible child at its offset,
    // bottom of the z-order first: the window as composed of its children.
    PrintClientWithChildren,
    // PrintWindow(PW_CLIENTONLY), i.e. WM_PRINT as the system sends it
    // (Wine's default WM_PRINT handling paints the window alone, no children).
    PrintWindow,
    // UpdateWindow, then BitBlt from the window's DC: what is on the screen,
    // children included (the window must be visible and not covered).
    Screen,
};

class CapturedBitmap {
public:
    // Pixels no capture touched keep this colour, so that a test can tell
    // "not painted" from any colour a control would choose.
    static constexpr COLORREF kUnpainted = RGB(0xFE, 0x01, 0xFD);

    // A blank capture of the given size, filled with kUnpainted.
    CapturedBitmap(int width, int height);
    CapturedBitmap(CapturedBitmap&&) noexcept = default;
    CapturedBitmap& operator=(CapturedBitmap&&) noexcept = default;

    // The window's client area. Pumps nothing: pump first if painting was posted.
    [[nodiscard]] static CapturedBitmap Capture(HWND window, CaptureMethod method = CaptureMethod::PrintClient);
    // IViewObject::Draw(DVASPECT_CONTENT) of a control into a width x height
    // bitmap: works for a control with no window (no site, design mode).
    [[nodiscard]] static CapturedBitmap FromView(IUnknown* control, int width, int height);

    [[nodiscard]] bool Valid() const noexcept { return m_bits != nullptr; }
    [[nodiscard]] int Width() const noexcept { return m_width; }
    [[nodiscard]] int Height() const noexcept { return m_height; }
    // CLR_INVALID outside the bitmap.
    [[nodiscard]] COLORREF At(int x, int y) const noexcept;
    // How many pixels in `area` (the whole bitmap when null) have `color`.
    [[nodiscard]] long CountColor(COLORREF color, const RECT* area = nullptr) const noexcept;
    [[nodiscard]] HBITMAP Bitmap() const noexcept { return m_bitmap.get(); }

    // For debugging a failure and for screenshots; see png_writer.h.
    [[nodiscard]] HRESULT SavePng(const wchar_t* path) const;

    // Paints through `paint` into this bitmap's memory DC.
    template <typename Paint>
    void PaintWith(Paint&& paint) {
        unique_hdc dc(::CreateCompatibleDC(nullptr));
        unique_select selection(dc.get(), m_bitmap.get());
        paint(dc.get());
        ::GdiFlush();
    }

private:
    unique_hbitmap m_bitmap;
    const DWORD* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
};

// How many pixels differ between two captures of one size; -1 when the
// sizes differ.
[[nodiscard]] int CountDifferences(const CapturedBitmap& a, const CapturedBitmap& b);

}  // namespace zo::test
