#include "demo/screenshot.h"

#include <objbase.h>
#include <wincodec.h>

#include "common/com_ptr.h"
#include "common/handles.h"
#include "demo/report.h"

namespace zo::demo {

namespace {

// Enough for any burst of posted work; a window that keeps posting to itself
// must not hold the pump forever.
constexpr int kMaxMessagesPerRound = 2000;
// Rounds in a row with no message and nothing to paint before the window
// counts as painted.
constexpr int kQuietRoundsNeeded = 3;

BOOL CALLBACK FindUnpaintedChild(HWND child, LPARAM found) noexcept {
    if (::IsWindowVisible(child) && ::GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

bool HasUnpaintedArea(HWND window) noexcept {
    if (::GetUpdateRect(window, nullptr, FALSE)) return true;
    bool found = false;
    ::EnumChildWindows(window, FindUnpaintedChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

// A 32-bit top-down DIB section and its pixels (B, G, R, A per pixel).
struct Capture {
    unique_hbitmap bitmap;
    BYTE* pixels = nullptr;
    UINT width = 0;
    UINT height = 0;
    [[nodiscard]] UINT Stride() const noexcept { return width * 4; }
};

Capture CaptureClientArea(HWND window) {
    RECT client{};
    if (!::GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0)
        throw DemoError(L"The window to capture has no client area");
    // Whatever is still invalid is painted now, children included, so that
    // the window's surface holds the finished picture.
    ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);

    Capture capture;
    capture.width = static_cast<UINT>(client.right);
    capture.height = static_cast<UINT>(client.bottom);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;  // top-down, like the rows WIC takes
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    capture.bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!capture.bitmap || !bits) throw DemoError(L"Creating the capture bitmap", E_OUTOFMEMORY);
    capture.pixels = static_cast<BYTE*>(bits);

    {
        const unique_hdc memory(::CreateCompatibleDC(nullptr));
        const unique_hdc_window source(window);
        if (!memory || !source) throw DemoError(L"Getting device contexts for the capture", E_FAIL);
        const unique_select selected(memory.get(), capture.bitmap.get());
        // The window's DC shows what is on its surface, the child windows
        // (the container and the control) included.
        if (!::BitBlt(memory.get(), 0, 0, client.right, client.bottom, source.get(), 0, 0, SRCCOPY))
            throw DemoError(L"Copying the window's pixels", HRESULT_FROM_WIN32(::GetLastError()));
        ::GdiFlush();
    }
    // GDI leaves the fourth byte undefined (mostly 0, i.e. transparent); the
    // picture of a window is opaque.
    const size_t count = static_cast<size_t>(capture.width) * capture.height;
    for (size_t i = 0; i < count; ++i) capture.pixels[i * 4 + 3] = 0xFF;
    return capture;
}

void WritePng(const Capture& capture, const wchar_t* path) {
    com_ptr<IWICImagingFactory> factory;
    Check(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                             factory.put_void()),
          L"Creating the WIC imaging factory");
    com_ptr<IWICStream> stream;
    Check(factory->CreateStream(stream.put()), L"Creating a WIC stream");
    Check(stream->InitializeFromFilename(path, GENERIC_WRITE), std::wstring(L"Opening ") + path + L" for writing");
    com_ptr<IWICBitmapEncoder> encoder;
    Check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()), L"Creating the PNG encoder");
    Check(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache), L"Starting the PNG encoder");
    com_ptr<IWICBitmapFrameEncode> frame;
    Check(encoder->CreateNewFrame(frame.put(), nullptr), L"Adding the PNG frame");
    Check(frame->Initialize(nullptr), L"Initialising the PNG frame");
    Check(frame->SetSize(capture.width, capture.height), L"Sizing the PNG frame");
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    Check(frame->SetPixelFormat(&format), L"Choosing the PNG pixel format");
    // The encoder answers with the closest layout it supports; the pixels
    // are written as they are, so only this one will do.
    if (!IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA))
        throw DemoError(L"The PNG encoder does not take 32-bit BGRA pixels", WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT);
    Check(frame->WritePixels(capture.height, capture.Stride(), capture.Stride() * capture.height, capture.pixels),
          L"Writing the pixels");
    Check(frame->Commit(), L"Finishing the PNG frame");
    Check(encoder->Commit(), std::wstring(L"Finishing ") + path);
}

}  // namespace

bool PumpUntilPainted(HWND window, const MessageFilter& preTranslate, int maxRounds) {
    int quietRounds = 0;
    for (int round = 0; round < maxRounds; ++round) {
        bool handled = false;
        MSG message{};
        for (int count = 0; count < kMaxMessagesPerRound && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
             ++count) {
            if (message.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(message.wParam));
                return false;
            }
            handled = true;
            if (preTranslate && preTranslate(message)) continue;
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (handled || !::IsWindowVisible(window) || HasUnpaintedArea(window))
            quietRounds = 0;
        else if (++quietRounds >= kQuietRoundsNeeded)
            return true;
    }
    return false;
}

void SaveClientAreaAsPng(HWND window, const wchar_t* path) {
    const Capture capture = CaptureClientArea(window);
    try {
        WritePng(capture, path);
    } catch (...) {
        ::DeleteFileW(path);  // no half-written PNG left behind
        throw;
    }
}

}  // namespace zo::demo
