// What a PropertyList paints when a container asks for its picture: through
// IViewObject2::Draw into a memory bitmap and through WM_PRINTCLIENT.
#include <gtest/gtest.h>

#include <string>

#include "tests/host/pixels.h"
#include "tests/property_list/property_list_fixture.h"

namespace zo::test {
namespace {

struct ColourCase {
    unsigned long oleColour;
    COLORREF rgb;
};

// Plain colours and system colours, which are drawn as the system's colour.
std::vector<ColourCase> BackColours() {
    return {
        {0x000000FF, RGB(0xFF, 0, 0)},
        {0x0000FF00, RGB(0, 0xFF, 0)},
        {0x00804020, RGB(0x20, 0x40, 0x80)},
        {0x80000005, ::GetSysColor(COLOR_WINDOW)},
        {0x8000000F, ::GetSysColor(COLOR_BTNFACE)},
    };
}

// Points well inside the picture, away from any border or text.
void ExpectFilledWith(const CapturedBitmap& picture, COLORREF colour) {
    ASSERT_TRUE(picture.Valid());
    const int w = picture.Width(), h = picture.Height();
    const POINT points[] = {{w / 2, h / 2}, {w - 12, h - 12}, {12, h - 12}, {w - 12, h / 3}, {w / 3, h - 20}};
    for (const POINT& point : points)
        EXPECT_EQ(picture.At(point.x, point.y), colour) << "at " << point.x << ", " << point.y;
}

// Pixels in `area` that are not `background`.
long OtherPixels(const CapturedBitmap& picture, COLORREF background, const RECT& area) {
    const long total = (area.right - area.left) * (area.bottom - area.top);
    return total - picture.CountColor(background, &area);
}

class RenderingTest : public PropertyListTest {};

TEST_F(RenderingTest, DrawingTheViewFillsItWithTheBackColour) {
    ASSERT_TRUE(HostList());
    for (const ColourCase& c : BackColours()) {
        SCOPED_TRACE(testing::Message() << "BackColor " << std::hex << c.oleColour);
        ASSERT_TRUE(DispOk(Put(list.get(), L"BackColor", Colour(c.oleColour))));
        ExpectFilledWith(CapturedBitmap::FromView(container.Control(), 200, 150), c.rgb);
    }
}

TEST_F(RenderingTest, PrintClientFillsTheWindowWithTheBackColour) {
    ASSERT_TRUE(HostList());
    AddNamed({L"Only row"});  // a short list leaves most of the window empty
    HWND window = container.ControlHwnd();
    ASSERT_TRUE(window);
    for (const ColourCase& c : BackColours()) {
        SCOPED_TRACE(testing::Message() << "BackColor " << std::hex << c.oleColour);
        ASSERT_TRUE(DispOk(Put(list.get(), L"BackColor", Colour(c.oleColour))));
        container.Pump();
        ExpectFilledWith(CapturedBitmap::Capture(window, CaptureMethod::PrintClient), c.rgb);
    }
}

TEST_F(RenderingTest, AtDesignTimeTheViewShowsTheDisplayName) {
    const RECT nameArea{3, 3, 150, 30};
    const struct {
        const wchar_t* name;
        bool shown;
    } cases[] = {{L"PropertyList1", true}, {L"", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "display name \"" << Narrow(c.name) << "\"");
        container.Ambient().userMode = false;
        container.Ambient().displayName = c.name;
        ASSERT_TRUE(HostList());
        ASSERT_TRUE(DispOk(Put(list.get(), L"BackColor", Colour(0x00FFFFFF))));
        ASSERT_TRUE(DispOk(Put(list.get(), L"ForeColor", Colour(0x00000000))));

        const CapturedBitmap picture = CapturedBitmap::FromView(container.Control(), 200, 150);
        ASSERT_TRUE(picture.Valid());
        EXPECT_EQ(OtherPixels(picture, RGB(0xFF, 0xFF, 0xFF), nameArea) > 0, c.shown);
        CloseList();
    }
}

}  // namespace
}  // namespace zo::test
