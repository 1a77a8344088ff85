// ZoDemo.exe: shows a PropertyList control filled with sample rows of every
// kind, and prints the control's events on stdout.
//
//   ZoDemo.exe                          runs until the window is closed
//   ZoDemo.exe --screenshot <file.png>  saves a picture of the window and exits
//
// Exit code 0 on success, 1 when a step fails (the message says which),
// 2 for a wrong command line.
#include <windows.h>
#include <ole2.h>

#include <exception>
#include <string>
#include <string_view>

#include "demo/hosting.h"
#include "demo/report.h"
#include "demo/screenshot.h"

namespace zo::demo {

namespace {

// OleInitialize for the life of the demo: the container and the control need
// OLE (in-place activation, drag and drop), not only COM.
class OleScope {
public:
    OleScope() : m_hr(::OleInitialize(nullptr)) { Check(m_hr, L"OleInitialize"); }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;
    ~OleScope() {
        if (SUCCEEDED(m_hr)) ::OleUninitialize();
    }

private:
    HRESULT m_hr;
};

int RunMessageLoop(const DemoWindow& demo) {
    MSG message{};
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got == -1) throw DemoError(L"GetMessage", HRESULT_FROM_WIN32(::GetLastError()));
        if (demo.PreTranslateMessage(message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

int Run(const wchar_t* screenshotPath) {
    OleScope ole;
    DemoWindow demo;
    demo.Create();
    ::ShowWindow(demo.Frame(), SW_SHOWNORMAL);
    ::UpdateWindow(demo.Frame());
    if (!screenshotPath) {
        PrintLine(L"close the window to end the demo");
        return RunMessageLoop(demo);
    }

    if (!PumpUntilPainted(demo.Frame()))
        PrintLine(L"warning: the window was still busy after the last round of messages; capturing it as it is",
                  stderr);
    const HWND control = demo.ControlWindow();
    if (!control || !::IsWindowVisible(control))
        throw DemoError(L"The control did not show its window in the container");
    SaveClientAreaAsPng(demo.Frame(), screenshotPath);
    PrintLine(std::wstring(L"screenshot: ") + screenshotPath);
    return 0;
}

}  // namespace

}  // namespace zo::demo

int wmain(int argc, wchar_t** argv) {
    using namespace zo::demo;
    const wchar_t* screenshotPath = nullptr;
    if (argc == 3 && std::wstring_view(argv[1]) == L"--screenshot" && argv[2][0]) {
        screenshotPath = argv[2];
    } else if (argc != 1) {
        PrintLine(L"usage: ZoDemo.exe [--screenshot <file.png>]", stderr);
        return 2;
    }
    try {
        return Run(screenshotPath);
    } catch (const DemoError& error) {
        PrintLine(L"ZoDemo: " + error.Message(), stderr);
    } catch (const std::exception& error) {
        const std::string what = error.what();
        PrintLine(L"ZoDemo: unexpected failure: " + std::wstring(what.begin(), what.end()), stderr);
    }
    return 1;
}
