#include "tests/dpi/dpi_list_fixture.h"

#include <string>

#include "common/handles.h"

namespace zo::test {

void DpiListTest::SetUp() {
    HostOptions options;
    options.position = {10, 10, 10 + Scaled(320), 10 + Scaled(200)};
    ASSERT_TRUE(HostList(options));
    ASSERT_TRUE(DispOk(Put(list.get(), L"BackColor", Colour(0x00FFFFFF))));
    ASSERT_TRUE(DispOk(Put(list.get(), L"ForeColor", Colour(0x00000000))));
    ASSERT_TRUE(DispOk(Put(list.get(), L"HighlightColor", Colour(0x00FF0000))));
}

void DpiListTest::AddEveryRowKind() {
    ASSERT_TRUE(DispOk(Put(list.get(), L"HoldDraw", Variant(true))));
    for (const RowCase& row : kRowCases) ASSERT_TRUE(DispOk(Add(row.name, row.content, row.kind)));
    ASSERT_TRUE(DispOk(Put(list.get(), L"HoldDraw", Variant(false))));
    container.Pump();
}

CapturedBitmap DpiListTest::Picture(CaptureMethod method) {
    container.Pump();
    return CapturedBitmap::Capture(ListWindow(), method);
}

RECT DpiListTest::Client() {
    RECT client{};
    ::GetClientRect(ListWindow(), &client);
    return client;
}

int DpiListTest::LineHeight() {
    const HFONT font = FontHandle(Property(L"Font"));
    unique_hdc dc(::CreateCompatibleDC(nullptr));
    unique_select selection(dc.get(), font);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get(), L"Qq", 2, &extent);
    return extent.cy;
}

int DpiListTest::Divider() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return Property(L"LongestItem").ToLong() / (1440 / dpi);
}

void DpiListTest::PressAt(int x, int y) {
    ::SendMessageW(ListWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageW(ListWindow(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    container.Pump();
}

HWND DpiListTest::ShownChild(const wchar_t* className) {
    for (HWND child = ::GetWindow(ListWindow(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        ::GetClassNameW(child, name, 64);
        if (::IsWindowVisible(child) && std::wstring(name) == className) return child;
    }
    return nullptr;
}

RECT DpiListTest::RectInList(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ListWindow(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HFONT FontHandle(const Variant& font) {
    com_ptr<IFont> object = font.ToUnknown().query<IFont>();
    HFONT handle = nullptr;
    if (object) (void)object->get_hFont(&handle);
    return handle;
}

long InkOf(HFONT font, const std::wstring& text) {
    CapturedBitmap sheet(2000, 200);
    sheet.PaintWith([&](HDC dc) {
        RECT all{0, 0, 2000, 200};
        unique_hbrush paper(::CreateSolidBrush(kPaper));
        ::FillRect(dc, &all, paper.get());
        unique_select selection(dc, font);
        ::SetTextColor(dc, kInk);
        ::SetBkMode(dc, TRANSPARENT);
        RECT place{10, 10, 2000, 200};
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &place, DT_SINGLELINE);
    });
    return sheet.CountColor(kInk);
}

long CountIn(const CapturedBitmap& picture, COLORREF colour, int left, int top, int right, int bottom) {
    const RECT area{left, top, right, bottom};
    return picture.CountColor(colour, &area);
}

void SaveScreenshot(const CapturedBitmap& picture, const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"ZO_DPI_SCREENSHOTS", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const std::wstring path =
        std::wstring(folder) + L"\\" + name + L"-" + std::to_wstring(ScreenDpi()) + L"dpi.png";
    EXPECT_EQ(picture.SavePng(path.c_str()), S_OK) << "could not save a screenshot";
}

}  // namespace zo::test
