#include "demo/picture_file.h"

#include <wincodec.h>

#include "common/com_ptr.h"
#include "demo/report.h"

namespace zo::demo {

namespace {

// Pictures larger than this are refused rather than decoded into memory.
constexpr UINT kMaxSide = 4096;

com_ptr<IWICBitmapSource> DecodeFirstFrame(IWICImagingFactory* factory, const std::wstring& path) {
    com_ptr<IWICBitmapDecoder> decoder;
    const HRESULT opened = factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                              WICDecodeMetadataCacheOnDemand, decoder.put());
    if (opened == WINCODEC_ERR_COMPONENTNOTFOUND)
        throw DemoError(path + L" is in no picture format this system reads");
    Check(opened, L"Reading " + path + L" as a picture");
    com_ptr<IWICBitmapFrameDecode> frame;
    Check(decoder->GetFrame(0, frame.put()), L"Reading the first frame of " + path);
    com_ptr<IWICFormatConverter> converter;
    Check(factory->CreateFormatConverter(converter.put()), L"Creating a pixel format converter");
    Check(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                WICBitmapPaletteTypeCustom),
          L"Converting the pixels of " + path);
    return converter.query<IWICBitmapSource>();
}

}  // namespace

Picture LoadPictureFile(const std::wstring& path) {
    com_ptr<IWICImagingFactory> factory;
    Check(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                             factory.put_void()),
          L"Creating the WIC imaging factory");
    const com_ptr<IWICBitmapSource> source = DecodeFirstFrame(factory.get(), path);
    if (!source) throw DemoError(L"The picture converter has no bitmap source");
    UINT width = 0, height = 0;
    Check(source->GetSize(&width, &height), L"Measuring " + path);
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide)
        throw DemoError(L"The picture is " + std::to_wstring(width) + L" x " + std::to_wstring(height) +
                        L" pixels; it must be 1 to " + std::to_wstring(kMaxSide) + L" pixels a side");

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, as WIC writes rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Picture picture;
    picture.bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture.bitmap || !bits) throw DemoError(L"Making a bitmap for " + path, E_OUTOFMEMORY);
    const UINT stride = width * 4;
    Check(source->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)), L"Decoding " + path);
    ::GdiFlush();
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    return picture;
}

}  // namespace zo::demo
