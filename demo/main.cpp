// ZoDemo.exe: a shape inspector. A drawn shape beside a PropertyList whose
// rows edit it; the list's events show in a log pane as they arrive.
//
//   ZoDemo.exe                                runs until the window is closed
//   ZoDemo.exe --screenshot <file.png>        saves a picture of the window and exits
//   ZoDemo.exe --script <file> [--screenshot <file.png>]
//                                             plays the recorded input first
//                                             (see script_player.h)
//
// Exit code 0 on success, 1 when a step fails (the message says which),
// 2 for a wrong command line.
#include <windows.h>
#include <ole2.h>

#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "demo/hosting.h"
#include "demo/report.h"
#include "demo/screenshot.h"
#include "demo/script_player.h"

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

int RunMessageLoop(DemoWindow& demo) {
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

struct Options {
    const wchar_t* screenshot = nullptr;
    const wchar_t* script = nullptr;
};

// The folder of `path`, for the script's relative file names.
std::wstring FolderOf(const wchar_t* path) {
    wchar_t full[MAX_PATH] = L"";
    wchar_t* name = nullptr;
    if (::GetFullPathNameW(path, MAX_PATH, full, &name) == 0 || !name) return L".";
    return std::wstring(full, name > full ? name - full - 1 : 0);
}

void PlayScriptFile(DemoWindow& demo, const wchar_t* path) {
    const std::vector<ScriptStep> steps = ReadScript(path);
    demo.UseScriptedBrowsing();
    demo.Settle();
    PlayScript(steps, FolderOf(path), demo);
    demo.Settle();
}

// "shape at (20, 40)-(260, 190)": where a check of the picture finds the shape.
void ReportShapeBounds(const DemoWindow& demo) {
    const RECT r = demo.ShapeBoundsInFrame();
    PrintLine(L"shape at (" + std::to_wstring(r.left) + L", " + std::to_wstring(r.top) + L")-(" +
              std::to_wstring(r.right) + L", " + std::to_wstring(r.bottom) + L")");
}

int Run(const Options& options) {
    OleScope ole;
    DemoWindow demo;
    demo.Create();
    ::ShowWindow(demo.Frame(), SW_SHOWNORMAL);
    ::UpdateWindow(demo.Frame());
    if (options.script) PlayScriptFile(demo, options.script);
    if (!options.screenshot) {
        PrintLine(L"close the window to end the demo");
        return RunMessageLoop(demo);
    }
    demo.Settle();
    const HWND list = demo.ListWindow();
    if (!list || !::IsWindowVisible(list)) throw DemoError(L"The control did not show its window in the container");
    ReportShapeBounds(demo);
    SaveClientAreaAsPng(demo.Frame(), options.screenshot);
    PrintLine(std::wstring(L"screenshot: ") + options.screenshot);
    return 0;
}

// Fills `options`; false for a command line the demo does not take.
bool ReadOptions(int argc, wchar_t** argv, Options& options) {
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc || !argv[i + 1][0]) return false;
        const std::wstring_view option = argv[i];
        if (option == L"--screenshot" && !options.screenshot)
            options.screenshot = argv[i + 1];
        else if (option == L"--script" && !options.script)
            options.script = argv[i + 1];
        else
            return false;
    }
    return true;
}

}  // namespace

}  // namespace zo::demo

int wmain(int argc, wchar_t** argv) {
    using namespace zo::demo;
    Options options;
    if (!ReadOptions(argc, argv, options)) {
        PrintLine(L"usage: ZoDemo.exe [--script <file>] [--screenshot <file.png>]", stderr);
        return 2;
    }
    try {
        return Run(options);
    } catch (const DemoError& error) {
        PrintLine(L"ZoDemo: " + error.Message(), stderr);
    } catch (const std::exception& error) {
        const std::string what = error.what();
        PrintLine(L"ZoDemo: unexpected failure: " + std::wstring(what.begin(), what.end()), stderr);
    }
    return 1;
}
