#include "tests/property_list/painted_list.h"

#include "common/handles.h"
#include "common/twips.h"

namespace zo::test {

void PaintedListTest::SetUp() {
    ASSERT_TRUE(HostList());
    ASSERT_TRUE(DispOk(Put(list.get(), L"BackColor", Colour(0x00FFFFFF))));
    ASSERT_TRUE(DispOk(Put(list.get(), L"ForeColor", Colour(0x00000000))));
    ASSERT_TRUE(DispOk(Put(list.get(), L"HighlightColor", Colour(0x00FF0000))));
}

CapturedBitmap PaintedListTest::Picture() {
    container.Pump();
    return CapturedBitmap::Capture(ListWindow(), CaptureMethod::PrintClient);
}

int PaintedListTest::LineHeight() {
    com_ptr<IFont> object = Property(L"Font").ToUnknown().query<IFont>();
    HFONT handle = nullptr;
    if (!object || FAILED(object->get_hFont(&handle)) || !handle) return -1;
    unique_hdc dc(::CreateCompatibleDC(nullptr));
    unique_select selection(dc.get(), handle);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get(), L"Qq", 2, &extent);
    return extent.cy;
}

int PaintedListTest::Divider() { return Property(L"LongestItem").ToLong() / zo::TwipsPerPixelX(); }

int PaintedListTest::RowsThatFit() {
    RECT client{};
    ::GetClientRect(ListWindow(), &client);
    const int tppy = zo::TwipsPerPixelY();
    return (client.bottom * tppy) / (LineHeight() * tppy + 45);
}

int PaintedListTest::TopIndex() { return Property(L"TopIndex").ToLong(); }

}  // namespace zo::test
