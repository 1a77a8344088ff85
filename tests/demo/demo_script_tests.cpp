// The demo played with its sample script: the PNG it writes shows the shape
// as the script left it. The demo runs as its own process, as a user starts
// it; the picture is read back through WIC.
#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "common/com_ptr.h"
#include "common/handles.h"
#include "tests/host/scratch_folder.h"

namespace zo::test {
namespace {

// The colours the sample script picks in the popup palette (column 4, row 3
// and column 2, row 5 of the preset colours).
constexpr COLORREF kScriptedFill = RGB(255, 255, 0);
constexpr COLORREF kScriptedBorder = RGB(128, 0, 0);
constexpr COLORREF kCanvas = RGB(255, 255, 255);

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

struct DemoRun {
    DWORD exitCode = 0;
    std::string output;
};

// Runs ZoDemo.exe with `arguments` and collects what it prints.
DemoRun RunDemo(const std::wstring& arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    EXPECT_TRUE(::CreatePipe(&readEnd, &writeEnd, &inherit, 0));
    const unique_hfile reader(readEnd);
    unique_hfile writer(writeEnd);
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = writeEnd;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    std::wstring commandLine = L"\"" + ProgramFolder() + L"\\ZoDemo.exe\" " + arguments;
    PROCESS_INFORMATION process{};
    DemoRun run;
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, ProgramFolder().c_str(),
                          &startup, &process)) {
        ADD_FAILURE() << "ZoDemo.exe did not start: error " << ::GetLastError();
        return run;
    }
    const unique_hfile processHandle(process.hProcess), threadHandle(process.hThread);
    writer.reset();  // the pipe ends when the demo exits
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got) run.output.append(buffer, got);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::GetExitCodeProcess(process.hProcess, &run.exitCode);
    return run;
}

// The 32-bit BGRA pixels of a PNG file.
struct PixelPicture {
    UINT width = 0, height = 0;
    std::vector<BYTE> pixels;
    [[nodiscard]] COLORREF At(LONG x, LONG y) const {
        if (x < 0 || y < 0 || static_cast<UINT>(x) >= width || static_cast<UINT>(y) >= height) return CLR_INVALID;
        const BYTE* p = &pixels[(static_cast<size_t>(y) * width + static_cast<size_t>(x)) * 4];
        return RGB(p[2], p[1], p[0]);
    }
};

PixelPicture ReadPng(const std::wstring& path) {
    PixelPicture picture;
    com_ptr<IWICImagingFactory> factory;
    com_ptr<IWICBitmapDecoder> decoder;
    com_ptr<IWICBitmapFrameDecode> frame;
    com_ptr<IWICFormatConverter> converter;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  factory.put_void())) ||
        FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&picture.width, &picture.height))) {
        ADD_FAILURE() << "cannot read the screenshot as a PNG";
        return picture;
    }
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height * 4);
    EXPECT_HRESULT_SUCCEEDED(converter->CopyPixels(nullptr, picture.width * 4,
                                                   static_cast<UINT>(picture.pixels.size()), picture.pixels.data()));
    return picture;
}

// "shape at (43, 101)-(313, 251)" from the demo's output.
bool FindShapeBounds(const std::string& output, RECT& bounds) {
    const size_t at = output.rfind("shape at (");
    return at != std::string::npos && std::sscanf(output.c_str() + at, "shape at (%ld, %ld)-(%ld, %ld)", &bounds.left,
                                                  &bounds.top, &bounds.right, &bounds.bottom) == 4;
}

class ComScope {
public:
    ComScope() : m_hr(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }

private:
    HRESULT m_hr;
};

TEST(DemoScript, TheScreenshotShowsTheShapeAsTheSampleScriptLeftIt) {
    ComScope com;
    ScratchFolder scratch;
    const std::wstring png = scratch / L"showcase.png";
    const DemoRun run = RunDemo(L"--script \"" + ProgramFolder() + L"\\demo_sample\\showcase.zoscript\" --screenshot \"" +
                                png + L"\"");
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    RECT shape{};
    ASSERT_TRUE(FindShapeBounds(run.output, shape)) << run.output;
    const PixelPicture picture = ReadPng(png);
    ASSERT_GT(picture.width, 0u);

    const LONG middleX = (shape.left + shape.right) / 2, middleY = (shape.top + shape.bottom) / 2;
    struct Probe {
        const char* what;
        POINT at;
        COLORREF expected;
    };
    // The caption and picture sit in the shape's middle; its fill shows above and below them.
    const Probe probes[] = {
        {"the picked fill above the caption", {middleX, shape.top + 16}, kScriptedFill},
        {"the picked fill below the caption", {middleX, shape.bottom - 16}, kScriptedFill},
        {"the canvas right of the shape", {shape.right + 6, middleY}, kCanvas},
    };
    for (const Probe& probe : probes)
        EXPECT_EQ(picture.At(probe.at.x, probe.at.y), probe.expected)
            << probe.what << " at (" << probe.at.x << ", " << probe.at.y << ")";

    // The border is dashed: count its colour down the left edge rather than
    // test one point, which may fall in a gap.
    int borderPixels = 0;
    for (LONG y = shape.top + 16; y < shape.bottom - 16; ++y)
        borderPixels += picture.At(shape.left + 2, y) == kScriptedBorder;
    EXPECT_GT(borderPixels, (shape.bottom - shape.top - 32) / 4) << "the picked border colour on the left edge";

    // The refused width left the shape as wide as before, and said why.
    EXPECT_NE(run.output.find("refused: Width must be a whole number"), std::string::npos) << run.output;
    EXPECT_EQ(shape.right - shape.left, 270) << run.output;
}

}  // namespace
}  // namespace zo::test
