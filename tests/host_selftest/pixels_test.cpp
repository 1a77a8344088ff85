// Captures of a window whose picture is known: a red left half, a blue right
// half, and a green child window in the middle.
#include <gtest/gtest.h>

#include <wincodec.h>

#include <string>

#include "common/com_ptr.h"
#include "tests/host/message_pump.h"
#include "tests/host/pixels.h"
#include "tests/host/png_writer.h"

namespace zo::test {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 160, 0);

void Fill(HDC dc, const RECT& rect, COLORREF color) {
    unique_hbrush brush(::CreateSolidBrush(color));
    ::FillRect(dc, &rect, brush.get());
}

void PaintHalves(HWND window, HDC dc) {
    RECT client;
    ::GetClientRect(window, &client);
    RECT left = client, right = client;
    left.right = right.left = client.right / 2;
    Fill(dc, left, kRed);
    Fill(dc, right, kBlue);
}

void PaintGreen(HWND window, HDC dc) {
    RECT client;
    ::GetClientRect(window, &client);
    Fill(dc, client, kGreen);
}

template <void (*Paint)(HWND, HDC)>
LRESULT CALLBACK PaintingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        unique_hdc_paint paint(window);
        Paint(window, paint.get());
        return 0;
    }
    case WM_PRINTCLIENT: Paint(window, reinterpret_cast<HDC>(wParam)); return 0;
    default: return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

void Register(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    ::RegisterClassW(&windowClass);
}

class PixelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Register(L"ZoHalvesWindow", PaintingProc<PaintHalves>);
        Register(L"ZoGreenWindow", PaintingProc<PaintGreen>);
        m_window = ::CreateWindowW(L"ZoHalvesWindow", L"pixels", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 50, 50,
                                   200, 100, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, m_window);
        ::CreateWindowW(L"ZoGreenWindow", L"", WS_CHILD | WS_VISIBLE, 80, 30, 40, 40, m_window, nullptr,
                        ::GetModuleHandleW(nullptr), nullptr);
        PumpMessages();
    }
    void TearDown() override { ::DestroyWindow(m_window); }

    HWND m_window = nullptr;
};

TEST_F(PixelsTest, EachMethodReadsTheColoursTheWindowPainted) {
    const struct {
        CaptureMethod method;
        bool childIncluded;
    } kCases[] = {
        {CaptureMethod::PrintClient, false},
        {CaptureMethod::PrintClientWithChildren, true},
        {CaptureMethod::Screen, true},
    };
    for (const auto& test : kCases) {
        SCOPED_TRACE(static_cast<int>(test.method));
        CapturedBitmap capture = CapturedBitmap::Capture(m_window, test.method);
        ASSERT_TRUE(capture.Valid());
        EXPECT_EQ(200, capture.Width());
        EXPECT_EQ(100, capture.Height());
        EXPECT_EQ(kRed, capture.At(5, 5));
        EXPECT_EQ(kRed, capture.At(99, 95));
        EXPECT_EQ(kBlue, capture.At(100, 5));
        EXPECT_EQ(kBlue, capture.At(199, 99));
        // The child covers x 80..119, y 30..69.
        EXPECT_EQ(test.childIncluded ? kGreen : kRed, capture.At(80, 30));
        EXPECT_EQ(test.childIncluded ? kGreen : kBlue, capture.At(119, 69));
        EXPECT_EQ(kBlue, capture.At(120, 69));
        const RECT child{80, 30, 120, 70};
        EXPECT_EQ(test.childIncluded ? 1600 : 0, capture.CountColor(kGreen, &child));
        EXPECT_EQ(CLR_INVALID, capture.At(200, 0));
        EXPECT_EQ(CLR_INVALID, capture.At(-1, 0));
    }
}

TEST_F(PixelsTest, PrintWindowCapturesTheWindowsOwnPainting) {
    CapturedBitmap capture = CapturedBitmap::Capture(m_window, CaptureMethod::PrintWindow);
    EXPECT_EQ(kRed, capture.At(5, 5));
    EXPECT_EQ(kBlue, capture.At(150, 90));
}

TEST(CapturedBitmap, PixelsNoPaintingReachedKeepTheUnpaintedColour) {
    CapturedBitmap capture(4, 3);
    ASSERT_TRUE(capture.Valid());
    EXPECT_EQ(12, capture.CountColor(CapturedBitmap::kUnpainted));
    capture.PaintWith([](HDC dc) { ::SetPixel(dc, 2, 1, RGB(1, 2, 3)); });
    EXPECT_EQ(RGB(1, 2, 3), capture.At(2, 1));
    EXPECT_EQ(11, capture.CountColor(CapturedBitmap::kUnpainted));
}

// Decodes the PNG with WIC and reads two pixels back.
TEST(SaveBitmapAsPng, WritesAPngThatDecodesToTheSamePixels) {
    CapturedBitmap capture(30, 20);
    capture.PaintWith([](HDC dc) {
        Fill(dc, RECT{0, 0, 30, 20}, kBlue);
        Fill(dc, RECT{0, 0, 10, 10}, kRed);
    });
    wchar_t folder[MAX_PATH];
    ASSERT_NE(0u, ::GetTempPathW(MAX_PATH, folder));
    const std::wstring path = std::wstring(folder) + L"zo_png_writer_test.png";
    ::DeleteFileW(path.c_str());
    ASSERT_EQ(S_OK, capture.SavePng(path.c_str()));

    com_ptr<IWICImagingFactory> factory;
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IWICImagingFactory, factory.put_void()));
    com_ptr<IWICBitmapDecoder> decoder;
    ASSERT_EQ(S_OK, factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                       WICDecodeMetadataCacheOnDemand, decoder.put()));
    GUID format{};
    ASSERT_EQ(S_OK, decoder->GetContainerFormat(&format));
    EXPECT_TRUE(format == GUID_ContainerFormatPng);
    com_ptr<IWICBitmapFrameDecode> frame;
    ASSERT_EQ(S_OK, decoder->GetFrame(0, frame.put()));
    UINT width = 0, height = 0;
    ASSERT_EQ(S_OK, frame->GetSize(&width, &height));
    EXPECT_EQ(30u, width);
    EXPECT_EQ(20u, height);
    com_ptr<IWICFormatConverter> converter;
    ASSERT_EQ(S_OK, factory->CreateFormatConverter(converter.put()));
    ASSERT_EQ(S_OK, converter->Initialize(frame.get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone,
                                          nullptr, 0.0, WICBitmapPaletteTypeCustom));
    BYTE pixels[20 * 96] = {};
    ASSERT_EQ(S_OK, converter->CopyPixels(nullptr, 96, sizeof(pixels), pixels));
    auto at = [&](int x, int y) {
        const BYTE* p = pixels + y * 96 + x * 3;
        return RGB(p[2], p[1], p[0]);
    };
    EXPECT_EQ(kRed, at(3, 4));
    EXPECT_EQ(kBlue, at(25, 15));
    converter = nullptr;
    frame = nullptr;
    decoder = nullptr;
    EXPECT_TRUE(::DeleteFileW(path.c_str()));
}

}  // namespace
}  // namespace zo::test
