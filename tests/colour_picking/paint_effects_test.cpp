// The transparent painter, checked by reading pixels back: where the source
// has the mask colour the destination keeps its own pixels, everywhere else
// it takes the source's, and nothing outside the block changes.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "colour_picking/paint_effects.h"
#include "common/com_ptr.h"
#include "common/handles.h"
#include "common/ole_colour.h"
#include "tests/host/gtest_support.h"
#include "tests/host/pixels.h"

namespace {

[[maybe_unused]] auto* const ole = ::testing::AddGlobalTestEnvironment(new zo::test::OleEnvironment);

using zo::test::CapturedBitmap;
using PixelFunction = std::function<COLORREF(int x, int y)>;

constexpr int kDestWidth = 24;
constexpr int kDestHeight = 16;

// Every pixel of the destination differs, so that a pixel shown through
// from the wrong place is seen.
COLORREF Background(int x, int y) { return RGB(8 * x, 12 * y, 0x40 + x + y); }

CapturedBitmap Filled(int width, int height, const PixelFunction& pixel) {
    CapturedBitmap bitmap(width, height);
    bitmap.PaintWith([&](HDC dc) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) ::SetPixel(dc, x, y, pixel(x, y));
    });
    return bitmap;
}

// Compares every destination pixel with `expected`; reports the first few
// differences.
::testing::AssertionResult PixelsAre(const CapturedBitmap& bitmap, const PixelFunction& expected) {
    int wrong = 0;
    std::string report;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            const COLORREF want = expected(x, y);
            const COLORREF got = bitmap.At(x, y);
            if (got == want) continue;
            if (++wrong <= 5) {
                char line[96];
                std::snprintf(line, sizeof line, "\n  (%d, %d): 0x%06lX, expected 0x%06lX", x, y,
                              static_cast<unsigned long>(got), static_cast<unsigned long>(want));
                report += line;
            }
        }
    }
    if (wrong == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong << " pixels differ" << report;
}

bool Inside(int x, int y, const RECT& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

TEST(PaintEffectsTest, MaskColourShowsTheDestinationThrough) {
    struct Case {
        const char* what;
        OLE_COLOR mask;
        bool ownPalette;
    };
    const Case cases[] = {
        {"light grey", 0x00C0C0C0, false},
        {"a colour the halftone palette does not hold", 0x00123457, false},
        {"system colour: button face", 0x8000000F, false},
        {"system colour: window", 0x80000005, false},
        {"the caller's palette", 0x00123457, true},
        {"system colour through the caller's palette", 0x8000000F, true},
    };
    zo::PaintEffects painter;
    for (const Case& c : cases) {
        const COLORREF maskRgb = zo::TranslateColour(c.mask);
        // Source checkerboard: mask colour on even squares, an opaque colour
        // (different at every pixel) on odd ones.
        const auto source = [&](int x, int y) { return (x + y) % 2 ? RGB(200, 30 + x, 20 * y) : maskRgb; };
        CapturedBitmap src = Filled(10, 8, source);
        CapturedBitmap dest = Filled(kDestWidth, kDestHeight, Background);

        struct {
            WORD version = 0x300, count = 2;
            PALETTEENTRY entries[2] = {{0x12, 0x34, 0x57, 0}, {200, 30, 0, 0}};
        } logPalette;
        const zo::unique_hpalette palette(
            c.ownPalette ? ::CreatePalette(reinterpret_cast<LOGPALETTE*>(&logPalette)) : nullptr);

        // The 6 x 5 block at (2, 1) of the source goes to (5, 3).
        dest.PaintWith([&](HDC destDc) {
            src.PaintWith([&](HDC srcDc) {
                painter.PaintTransparentDC(destDc, 5, 3, 6, 5, srcDc, 2, 1, c.mask, palette.get());
            });
        });
        const RECT block{5, 3, 11, 8};
        EXPECT_TRUE(PixelsAre(dest, [&](int x, int y) {
            if (!Inside(x, y, block)) return Background(x, y);
            const COLORREF from = source(x - 5 + 2, y - 3 + 1);
            return from == maskRgb ? Background(x, y) : from;
        })) << c.what;
    }
}

TEST(PaintEffectsTest, PaintingLeaksNoGdiObjects) {
    zo::PaintEffects painter;
    CapturedBitmap src = Filled(7, 4, [](int x, int) { return x % 2 ? RGB(0, 0, 0) : RGB(192, 192, 192); });
    CapturedBitmap dest(20, 20);
    const long before = zo::LiveGdiHandles();
    dest.PaintWith([&](HDC destDc) {
        src.PaintWith([&](HDC srcDc) {
            for (int i = 0; i < 20; ++i) painter.PaintTransparentDC(destDc, i % 10, i % 7, 7, 4, srcDc, 0, 0, 0xC0C0C0);
        });
        for (int i = 0; i < 20; ++i) painter.PaintDropDownGlyph(destDc, i % 10, 3);
    });
    EXPECT_EQ(zo::LiveGdiHandles(), before);
}

// A picture object over a bitmap; the picture does not own it.
zo::com_ptr<IPicture> BitmapPicture(HBITMAP bitmap) {
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof(desc);
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = bitmap;
    zo::com_ptr<IPicture> picture;
    ::OleCreatePictureIndirect(&desc, IID_IPicture, FALSE, reinterpret_cast<void**>(picture.put()));
    return picture;
}

TEST(PaintEffectsTest, BitmapPictureIsPaintedFromItsSourceOrigin) {
    zo::PaintEffects painter;
    const COLORREF maskRgb = ::GetSysColor(COLOR_BTNFACE);
    const auto source = [&](int x, int y) { return x < 4 ? maskRgb : RGB(10, 20 * y, 30 + x); };
    CapturedBitmap src = Filled(9, 6, source);
    const zo::com_ptr<IPicture> picture = BitmapPicture(src.Bitmap());
    ASSERT_TRUE(picture);

    CapturedBitmap dest = Filled(kDestWidth, kDestHeight, Background);
    dest.PaintWith([&](HDC dc) { painter.PaintTransparentStdPic(dc, 3, 4, 6, 5, picture.get(), 2, 1, 0x8000000F); });
    const RECT block{3, 4, 9, 9};
    EXPECT_TRUE(PixelsAre(dest, [&](int x, int y) {
        if (!Inside(x, y, block)) return Background(x, y);
        const COLORREF from = source(x - 3 + 2, y - 4 + 1);
        return from == maskRgb ? Background(x, y) : from;
    }));
}

// An 8 x 8 icon: columns 0-1 transparent (AND mask), columns 2-3 drawn in
// `maskRgb`, the rest in an opaque colour.
struct TestIcon {
    static constexpr COLORREF kOpaque = RGB(10, 100, 200);
    explicit TestIcon(COLORREF maskRgb) {
        const zo::unique_hdc_window screen(nullptr);
        zo::unique_hbitmap colour(::CreateCompatibleBitmap(screen.get(), 8, 8));
        zo::unique_hbitmap andMask(::CreateBitmap(8, 8, 1, 1, nullptr));
        {
            const zo::unique_hdc dc(::CreateCompatibleDC(screen.get()));
            zo::unique_select selected(dc.get(), colour.get());
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) ::SetPixel(dc.get(), x, y, x < 2 ? RGB(0, 0, 0) : x < 4 ? maskRgb : kOpaque);
            selected.reset();
            zo::unique_select maskSelected(dc.get(), andMask.get());
            const RECT all{0, 0, 8, 8};
            const RECT transparent{0, 0, 2, 8};
            ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
            ::FillRect(dc.get(), &transparent, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        }
        ICONINFO info{TRUE, 0, 0, andMask.get(), colour.get()};
        icon = ::CreateIconIndirect(&info);
        PICTDESC desc{};
        desc.cbSizeofstruct = sizeof(desc);
        desc.picType = PICTYPE_ICON;
        desc.icon.hicon = icon;
        ::OleCreatePictureIndirect(&desc, IID_IPicture, TRUE, reinterpret_cast<void**>(picture.put()));
    }
    HICON icon = nullptr;  // owned by the picture
    zo::com_ptr<IPicture> picture;
};

TEST(PaintEffectsTest, IconPictureLeavesOutItsTransparentPartAndTheMaskColour) {
    struct Case {
        const char* what;
        OLE_COLOR mask;
    };
    const Case cases[] = {{"light grey", 0x00C0C0C0}, {"system colour: button face", 0x8000000F}};
    zo::PaintEffects painter;
    for (const Case& c : cases) {
        TestIcon icon(zo::TranslateColour(c.mask));
        ASSERT_TRUE(icon.picture) << c.what;
        CapturedBitmap dest = Filled(kDestWidth, kDestHeight, Background);
        // The source origin is not used for an icon.
        dest.PaintWith([&](HDC dc) { painter.PaintTransparentStdPic(dc, 6, 5, 8, 8, icon.picture.get(), 3, 3, c.mask); });
        const RECT opaque{6 + 4, 5, 6 + 8, 5 + 8};
        EXPECT_TRUE(PixelsAre(dest, [&](int x, int y) {
            return Inside(x, y, opaque) ? TestIcon::kOpaque : Background(x, y);
        })) << c.what;
    }
}

TEST(PaintEffectsTest, PicturesOtherThanBitmapOrIconDrawNothing) {
    zo::PaintEffects painter;
    zo::com_ptr<IPicture> uninitialised;
    ::OleCreatePictureIndirect(nullptr, IID_IPicture, TRUE, reinterpret_cast<void**>(uninitialised.put()));

    PICTDESC noneDesc{};
    noneDesc.cbSizeofstruct = sizeof(noneDesc);
    noneDesc.picType = PICTYPE_NONE;
    zo::com_ptr<IPicture> none;
    ::OleCreatePictureIndirect(&noneDesc, IID_IPicture, TRUE, reinterpret_cast<void**>(none.put()));

    HDC recorder = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    const RECT area{0, 0, 20, 20};
    ::FillRect(recorder, &area, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    PICTDESC metaDesc{};
    metaDesc.cbSizeofstruct = sizeof(metaDesc);
    metaDesc.picType = PICTYPE_ENHMETAFILE;
    metaDesc.emf.hemf = ::CloseEnhMetaFile(recorder);
    zo::com_ptr<IPicture> metafile;
    ::OleCreatePictureIndirect(&metaDesc, IID_IPicture, TRUE, reinterpret_cast<void**>(metafile.put()));
    ASSERT_TRUE(metafile);

    const std::pair<const char*, IPicture*> cases[] = {
        {"no picture", nullptr}, {"uninitialised", uninitialised.get()}, {"empty", none.get()},
        {"metafile", metafile.get()}};
    for (const auto& [what, picture] : cases) {
        CapturedBitmap dest = Filled(kDestWidth, kDestHeight, Background);
        dest.PaintWith([&](HDC dc) { painter.PaintTransparentStdPic(dc, 0, 0, 20, 20, picture, 0, 0, 0xC0C0C0); });
        EXPECT_TRUE(PixelsAre(dest, Background)) << what;
    }
}

bool InGlyph(int x, int y) { return y >= 0 && y < 4 && x >= y && x <= 6 - y; }

TEST(PaintEffectsTest, DropDownGlyphIsABlackTriangleOnLightGrey) {
    const zo::unique_hbitmap glyph = zo::CreateDropDownGlyphBitmap();
    ASSERT_TRUE(glyph);
    BITMAP info{};
    ::GetObjectW(glyph.get(), sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, zo::kDropDownGlyphWidth);
    EXPECT_EQ(info.bmHeight, zo::kDropDownGlyphHeight);
    CapturedBitmap copy(7, 4);
    copy.PaintWith([&](HDC dc) {
        const zo::unique_hdc source(::CreateCompatibleDC(dc));
        const zo::unique_select selected(source.get(), glyph.get());
        ::BitBlt(dc, 0, 0, 7, 4, source.get(), 0, 0, SRCCOPY);
    });
    EXPECT_TRUE(PixelsAre(copy, [](int x, int y) { return InGlyph(x, y) ? RGB(0, 0, 0) : RGB(0xC0, 0xC0, 0xC0); }));
}

TEST(PaintEffectsTest, DropDownGlyphIsDrawnWithTheGreyLeftOut) {
    zo::PaintEffects painter;
    CapturedBitmap dest = Filled(kDestWidth, kDestHeight, Background);
    dest.PaintWith([&](HDC dc) { painter.PaintDropDownGlyph(dc, 9, 6); });
    EXPECT_TRUE(PixelsAre(dest, [](int x, int y) { return InGlyph(x - 9, y - 6) ? RGB(0, 0, 0) : Background(x, y); }));
}

TEST(PaintEffectsTest, SharedGlyphDrawingNeedsAPainter) {
    ASSERT_EQ(zo::CurrentPaintFx(), nullptr);
    CapturedBitmap dest = Filled(kDestWidth, kDestHeight, Background);
    bool drawn = true;
    dest.PaintWith([&](HDC dc) { drawn = zo::DrawDropDownGlyph(dc, 1, 2); });
    EXPECT_FALSE(drawn);
    EXPECT_TRUE(PixelsAre(dest, Background)) << "nothing is drawn while no control holds a painter";

    const std::shared_ptr<zo::PaintEffects> held = zo::AcquirePaintFx();
    dest.PaintWith([&](HDC dc) { drawn = zo::DrawDropDownGlyph(dc, 1, 2); });
    EXPECT_TRUE(drawn);
    EXPECT_TRUE(PixelsAre(dest, [](int x, int y) { return InGlyph(x - 1, y - 2) ? RGB(0, 0, 0) : Background(x, y); }));
}

}  // namespace
