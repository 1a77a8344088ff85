// The drop-down button's face, read back pixel by pixel.
#include <gtest/gtest.h>

#include "colour_picking/paint_effects.h"
#include "tests/combo_box/combo_fixture.h"
#include "tests/host/message_pump.h"
#include "tests/host/pixels.h"

namespace zo::test {
namespace {

using ButtonFaceTest = ComboFixture;

struct Pixel {
    int x, y;  // negative: from the right or bottom edge (-1 is the last)
    int sysColour;  // -1: the glyph's black
};

COLORREF Expected(const Pixel& p) { return p.sysColour < 0 ? RGB(0, 0, 0) : ::GetSysColor(p.sysColour); }

void ExpectPixels(const CapturedBitmap& face, const std::vector<Pixel>& pixels, const char* what) {
    const int w = face.Width(), h = face.Height();
    for (const Pixel& p : pixels) {
        const int x = p.x < 0 ? w + p.x : p.x;
        const int y = p.y < 0 ? h + p.y : p.y;
        EXPECT_EQ(face.At(x, y), Expected(p)) << what << " at (" << x << ", " << y << ")";
    }
}

// The glyph's pixels relative to its top-left corner: rows of 7, 5, 3 and 1
// black pixels, centred; the grey around them is left out.
std::vector<Pixel> GlyphPixels(int gx, int gy, bool drawn) {
    const int black = drawn ? -1 : COLOR_BTNFACE;
    return {{gx, gy, black},         {gx + 6, gy, black},         {gx + 1, gy + 1, black},
            {gx + 5, gy + 1, black}, {gx + 3, gy + 3, black},     {gx, gy + 1, COLOR_BTNFACE},
            {gx + 2, gy + 3, COLOR_BTNFACE}, {gx + 4, gy + 3, COLOR_BTNFACE}, {gx + 3, gy + 4, COLOR_BTNFACE}};
}

TEST_F(ButtonFaceTest, EdgesAndGlyphUpAndDropped) {
    const std::shared_ptr<PaintEffects> painter = AcquirePaintFx();
    AddRows({L"a", L"b"});
    const CapturedBitmap up = CapturedBitmap::Capture(combo->ButtonWindow(), CaptureMethod::PrintClient);
    ASSERT_TRUE(up.Valid());
    const int w = up.Width(), h = up.Height();
    ASSERT_GE(w, 9);
    ASSERT_GE(h, 6);

    // Each edge line stops one pixel short of its end point.
    ExpectPixels(up,
                 {{1, 1, COLOR_BTNHIGHLIGHT}, {w - 3, 1, COLOR_BTNHIGHLIGHT}, {1, h - 3, COLOR_BTNHIGHLIGHT},
                  {w - 1, 0, COLOR_3DDKSHADOW}, {w - 1, h - 1, COLOR_3DDKSHADOW}, {1, h - 1, COLOR_3DDKSHADOW},
                  {w - 2, 1, COLOR_BTNSHADOW}, {w - 2, h - 2, COLOR_BTNSHADOW}, {2, h - 2, COLOR_BTNSHADOW},
                  {0, 0, COLOR_BTNFACE}, {0, h - 1, COLOR_BTNFACE}, {1, h - 2, COLOR_BTNFACE},
                  {2, 2, COLOR_BTNFACE}},
                 "edges");
    ExpectPixels(up, GlyphPixels((w - 7) / 2, (h - 4) / 2, true), "glyph");

    // The window's own painting shows the same face on the screen.
    ::RedrawWindow(combo->ButtonWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpMessages();
    EXPECT_EQ(CountDifferences(CapturedBitmap::Capture(combo->ButtonWindow(), CaptureMethod::Screen), up), 0);

    // Open, the button looks exactly the same.
    OpenWithButton();
    EXPECT_EQ(CountDifferences(CapturedBitmap::Capture(combo->ButtonWindow(), CaptureMethod::PrintClient), up), 0);
}

TEST_F(ButtonFaceTest, NoGlyphWithoutTheSharedPainter) {
    ASSERT_EQ(CurrentPaintFx(), nullptr);
    const CapturedBitmap face = CapturedBitmap::Capture(combo->ButtonWindow(), CaptureMethod::PrintClient);
    ExpectPixels(face, GlyphPixels((face.Width() - 7) / 2, (face.Height() - 4) / 2, false), "no glyph");
    ExpectPixels(face, {{1, 1, COLOR_BTNHIGHLIGHT}, {-1, 0, COLOR_3DDKSHADOW}}, "edges");
}

}  // namespace
}  // namespace zo::test
