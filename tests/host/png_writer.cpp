#include "tests/host/png_writer.h"

#include <objbase.h>
#include <wincodec.h>

#include <vector>

#include "common/com_ptr.h"

namespace zo::test {

namespace {

// Balances a CoInitializeEx that succeeded.
class ComScope {
public:
    ComScope() noexcept : m_hr(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }

private:
    HRESULT m_hr;
};

// The bitmap's pixels as top-down rows of 24-bit BGR, each row padded to
// four bytes.
HRESULT ReadBgrRows(HBITMAP bitmap, UINT& width, UINT& height, UINT& stride, std::vector<BYTE>& pixels) {
    BITMAP info{};
    if (!::GetObjectW(bitmap, sizeof(info), &info)) return E_INVALIDARG;
    width = static_cast<UINT>(info.bmWidth);
    height = static_cast<UINT>(info.bmHeight < 0 ? -info.bmHeight : info.bmHeight);
    stride = (width * 3 + 3) & ~3u;
    pixels.assign(static_cast<size_t>(stride) * height, 0);
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(header.bmiHeader);
    header.bmiHeader.biWidth = static_cast<LONG>(width);
    header.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 24;
    header.bmiHeader.biCompression = BI_RGB;
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, height, pixels.data(), &header, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return rows == static_cast<int>(height) ? S_OK : E_FAIL;
}

}  // namespace

HRESULT SaveBitmapAsPng(HBITMAP bitmap, const wchar_t* path) {
    if (!bitmap || !path) return E_INVALIDARG;
    UINT width = 0, height = 0, stride = 0;
    std::vector<BYTE> pixels;
    HRESULT hr = ReadBgrRows(bitmap, width, height, stride, pixels);
    if (FAILED(hr)) return hr;

    ComScope com;
    com_ptr<IWICImagingFactory> factory;
    hr = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                            factory.put_void());
    if (FAILED(hr)) return hr;
    com_ptr<IWICStream> stream;
    com_ptr<IWICBitmapEncoder> encoder;
    com_ptr<IWICBitmapFrameEncode> frame;
    if (FAILED(hr = factory->CreateStream(stream.put()))) return hr;
    if (FAILED(hr = stream->InitializeFromFilename(path, GENERIC_WRITE))) return hr;
    if (FAILED(hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()))) return hr;
    if (FAILED(hr = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache))) return hr;
    if (FAILED(hr = encoder->CreateNewFrame(frame.put(), nullptr))) return hr;
    if (FAILED(hr = frame->Initialize(nullptr))) return hr;
    if (FAILED(hr = frame->SetSize(width, height))) return hr;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(hr = frame->SetPixelFormat(&format))) return hr;
    // The encoder may only offer another layout; ours is the only one we write.
    if (format != GUID_WICPixelFormat24bppBGR) return WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    if (FAILED(hr = frame->WritePixels(height, stride, static_cast<UINT>(pixels.size()), pixels.data()))) return hr;
    if (FAILED(hr = frame->Commit())) return hr;
    return encoder->Commit();
}

}  // namespace zo::test
