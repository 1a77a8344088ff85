#include "colour_picking/paint_effects.h"

#include <ole2.h>

#include <array>
#include <cstdint>
#include <cstring>

#include "common/ole_colour.h"

namespace zo {

namespace {

constexpr DWORD kDestAndNotSource = 0x00220326;  // DSna

std::weak_ptr<PaintEffects>& ThreadPainter() noexcept {
    thread_local std::weak_ptr<PaintEffects> painter;
    return painter;
}

// Selects a palette forced into the background and realises it; puts the
// previous one back (realised too) when it goes.
class RealizedPalette {
public:
    RealizedPalette(HDC dc, HPALETTE palette) noexcept
        : m_dc(dc), m_previous(palette ? ::SelectPalette(dc, palette, TRUE) : nullptr) {
        if (m_previous) ::RealizePalette(dc);
    }
    RealizedPalette(const RealizedPalette&) = delete;
    RealizedPalette& operator=(const RealizedPalette&) = delete;
    ~RealizedPalette() {
        if (!m_previous) return;
        ::SelectPalette(m_dc, m_previous, TRUE);
        ::RealizePalette(m_dc);
    }

private:
    HDC m_dc;
    HPALETTE m_previous;
};

// A memory DC holding a new width x height bitmap compatible with the screen,
// with a palette selected.
struct WorkArea {
    WorkArea(HDC screen, int width, int height, HPALETTE palette) noexcept
        : dc(::CreateCompatibleDC(screen)),
          bitmap(::CreateCompatibleBitmap(screen, width, height)),
          selected(dc.get(), bitmap.get()),
          realized(dc.get(), palette) {}
    unique_hdc dc;
    unique_hbitmap bitmap;
    unique_select selected;
    RealizedPalette realized;
};

// System colours resolved; with a palette a plain colour comes back
// palette-relative (or as a palette index), which SetBkColor understands.
COLORREF MaskRgb(OLE_COLOR mask, HPALETTE palette) noexcept {
    COLORREF rgb = 0;
    if (FAILED(::OleTranslateColor(mask, palette, &rgb))) return RGB(0, 0, 0);
    return rgb;
}

template <typename Handle>
Handle HandleOf(OLE_HANDLE handle) noexcept {
    // Picture handles travel as 32-bit values; GDI handles are sign-extended.
    return reinterpret_cast<Handle>(static_cast<LONG_PTR>(static_cast<LONG>(handle)));
}

}  // namespace

PaintEffects::PaintEffects() noexcept : m_glyph(CreateDropDownGlyphBitmap()) {
    const unique_hdc_window screen(nullptr);
    m_palette.reset(::CreateHalftonePalette(screen.get()));
}

void PaintEffects::PaintTransparentDC(HDC dest, int xDest, int yDest, int width, int height, HDC source,
                                      int xSrc, int ySrc, OLE_COLOR mask, HPALETTE palette) const noexcept {
    if (width <= 0 || height <= 0) return;
    const HPALETTE pal = palette ? palette : m_palette.get();
    const unique_hdc_window screen(nullptr);
    const COLORREF maskRgb = MaskRgb(mask, pal);

    // The destination block as it is now: the background the result is
    // composed on, so that the destination changes only once, at the end.
    WorkArea background(screen.get(), width, height, pal);
    ::BitBlt(background.dc.get(), 0, 0, width, height, dest, xDest, yDest, SRCCOPY);

    // The source block, with the source's colours for a monochrome source.
    WorkArea image(screen.get(), width, height, pal);
    ::SetBkColor(image.dc.get(), ::GetBkColor(source));
    ::SetTextColor(image.dc.get(), ::GetTextColor(source));
    ::BitBlt(image.dc.get(), 0, 0, width, height, source, xSrc, ySrc, SRCCOPY);

    // Mask: 1 where the source copy has the mask colour, 0 elsewhere.
    const unique_hdc maskDc(::CreateCompatibleDC(screen.get()));
    const unique_hbitmap maskBitmap(::CreateBitmap(width, height, 1, 1, nullptr));
    const unique_select maskSelected(maskDc.get(), maskBitmap.get());
    ::SetBkColor(image.dc.get(), maskRgb);
    ::SetTextColor(image.dc.get(), RGB(255, 255, 255));
    ::BitBlt(maskDc.get(), 0, 0, width, height, image.dc.get(), 0, 0, SRCCOPY);

    // Transparent pixels of the source copy become black ...
    ::SetTextColor(image.dc.get(), RGB(0, 0, 0));
    ::SetBkColor(image.dc.get(), RGB(255, 255, 255));
    ::BitBlt(image.dc.get(), 0, 0, width, height, maskDc.get(), 0, 0, kDestAndNotSource);
    // ... the opaque shape is cut out of the background ...
    ::SetTextColor(background.dc.get(), RGB(0, 0, 0));
    ::SetBkColor(background.dc.get(), RGB(255, 255, 255));
    ::BitBlt(background.dc.get(), 0, 0, width, height, maskDc.get(), 0, 0, SRCAND);
    // ... and the two are combined, then copied out in one step.
    ::BitBlt(background.dc.get(), 0, 0, width, height, image.dc.get(), 0, 0, SRCPAINT);
    ::BitBlt(dest, xDest, yDest, width, height, background.dc.get(), 0, 0, SRCCOPY);
}

void PaintEffects::PaintTransparentStdPic(HDC dest, int xDest, int yDest, int width, int height,
                                          IPicture* picture, int xSrc, int ySrc, OLE_COLOR mask,
                                          HPALETTE palette) const noexcept {
    if (!picture) return;
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Type(&type)) || FAILED(picture->get_Handle(&handle)) || !handle) return;
    const HPALETTE pal = palette ? palette : m_palette.get();
    const unique_hdc_window screen(nullptr);

    if (type == PICTYPE_BITMAP) {
        const unique_hdc dc(::CreateCompatibleDC(screen.get()));
        const unique_select selected(dc.get(), HandleOf<HBITMAP>(handle));
        const RealizedPalette realized(dc.get(), pal);
        PaintTransparentDC(dest, xDest, yDest, width, height, dc.get(), xSrc, ySrc, mask, pal);
    } else if (type == PICTYPE_ICON) {
        if (width <= 0 || height <= 0) return;
        // The icon is drawn over the mask colour, so that its transparent
        // parts are left out like the mask colour itself.
        const COLORREF maskRgb = TranslateColour(mask);
        WorkArea canvas(screen.get(), width, height, pal);
        const RECT all{0, 0, width, height};
        const unique_hbrush brush(::CreateSolidBrush(maskRgb));
        ::FillRect(canvas.dc.get(), &all, brush.get());
        ::DrawIconEx(canvas.dc.get(), 0, 0, HandleOf<HICON>(handle), 0, 0, 0, nullptr, DI_NORMAL);
        PaintTransparentDC(dest, xDest, yDest, width, height, canvas.dc.get(), 0, 0, maskRgb, pal);
    }
}

void PaintEffects::PaintDropDownGlyph(HDC dest, int x, int y, int scale) const noexcept {
    if (!m_glyph) return;
    const unique_hdc_window screen(nullptr);
    const unique_hdc dc(::CreateCompatibleDC(screen.get()));
    const unique_select selected(dc.get(), m_glyph.get());
    if (scale <= 1) {
        PaintTransparentDC(dest, x, y, kDropDownGlyphWidth, kDropDownGlyphHeight, dc.get(), 0, 0,
                           kDropDownGlyphMask);
        return;
    }
    // Enlarged pixel for pixel first, then painted with the grey left out.
    const int width = kDropDownGlyphWidth * scale, height = kDropDownGlyphHeight * scale;
    const unique_hdc large(::CreateCompatibleDC(screen.get()));
    const unique_hbitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
    if (!large || !bitmap) return;
    const unique_select selectedLarge(large.get(), bitmap.get());
    ::SetStretchBltMode(large.get(), COLORONCOLOR);
    ::StretchBlt(large.get(), 0, 0, width, height, dc.get(), 0, 0, kDropDownGlyphWidth, kDropDownGlyphHeight,
                 SRCCOPY);
    PaintTransparentDC(dest, x, y, width, height, large.get(), 0, 0, kDropDownGlyphMask);
}

unique_hbitmap CreateDropDownGlyphBitmap() noexcept {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kDropDownGlyphWidth;
    info.bmiHeader.biHeight = -kDropDownGlyphHeight;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    unique_hbitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return {};
    // Row r is black from column r to column 6 - r: 7, 5, 3 and 1 pixels.
    constexpr std::uint32_t kGrey = 0x00C0C0C0;  // 0x00RRGGBB in a DIB
    constexpr std::uint32_t kBlack = 0;
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int row = 0; row < kDropDownGlyphHeight; ++row) {
        for (int column = 0; column < kDropDownGlyphWidth; ++column) {
            const bool inside = column >= row && column <= kDropDownGlyphWidth - 1 - row;
            pixels[row * kDropDownGlyphWidth + column] = inside ? kBlack : kGrey;
        }
    }
    ::GdiFlush();
    return bitmap;
}

bool DrawDropDownGlyph(HDC dest, int x, int y, int scale) noexcept {
    const std::shared_ptr<PaintEffects> painter = CurrentPaintFx();
    if (!painter) return false;
    painter->PaintDropDownGlyph(dest, x, y, scale);
    return true;
}

std::shared_ptr<PaintEffects> AcquirePaintFx() {
    std::shared_ptr<PaintEffects> painter = ThreadPainter().lock();
    if (!painter) {
        painter = std::make_shared<PaintEffects>();
        ThreadPainter() = painter;
    }
    return painter;
}

std::shared_ptr<PaintEffects> CurrentPaintFx() noexcept { return ThreadPainter().lock(); }

}  // namespace zo
