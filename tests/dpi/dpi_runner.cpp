// The test program of the DPI tests runs every selected test once per
// logical DPI, each time in a child process of its own, started after the
// registry says that DPI (a process takes its DPI as it starts). The child
// checks that it got the DPI it was started for before any test runs. The
// registry value is put back when the last child ends, whether the tests
// passed, failed, crashed or hung (a child is ended after kChildTimeoutMs).
// Listing the tests, and a child, run the tests in this process.
#include <windows.h>

#include <gmock/gmock.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/dpi/dpi_scale.h"
#include "tests/dpi/log_pixels_override.h"

namespace {

constexpr wchar_t kChildVariable[] = L"ZO_DPI_CHILD";
constexpr wchar_t kDpiListVariable[] = L"ZO_DPI_LIST";  // e.g. "144" to run at one DPI by hand
constexpr DWORD kDefaultDpis[] = {96, 120, 144, 192};
// Four children must end within the 60 s a test may take.
constexpr DWORD kChildTimeoutMs = 13000;

DWORD EnvironmentNumber(const wchar_t* name) {
    wchar_t text[16] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, text, 16);
    return length > 0 && length < 16 ? std::wcstoul(text, nullptr, 10) : 0;
}

std::vector<DWORD> DpisToRun() {
    wchar_t text[128] = {};
    const DWORD length = ::GetEnvironmentVariableW(kDpiListVariable, text, 128);
    if (length == 0 || length >= 128) return {std::begin(kDefaultDpis), std::end(kDefaultDpis)};
    std::vector<DWORD> dpis;
    for (wchar_t* next = text; *next;) {
        wchar_t* end = nullptr;
        const unsigned long dpi = std::wcstoul(next, &end, 10);
        if (end == next) break;
        if (dpi >= 96 && dpi <= 480) dpis.push_back(dpi);
        next = *end ? end + 1 : end;
    }
    return dpis;
}

// Runs this program again with the same arguments at `dpi`; its exit code,
// or a failure when it could not start or did not end in time.
int RunChildAt(DWORD dpi) {
    ::SetEnvironmentVariableW(kChildVariable, std::to_wstring(dpi).c_str());
    std::wstring commandLine = ::GetCommandLineW();
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    const BOOL started = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                          nullptr, &startup, &child);
    ::SetEnvironmentVariableW(kChildVariable, nullptr);
    if (!started) {
        std::printf("[dpi %lu] could not start the child process (error %lu)\n", dpi, ::GetLastError());
        return 1;
    }
    ::CloseHandle(child.hThread);
    DWORD exitCode = 1;
    if (::WaitForSingleObject(child.hProcess, kChildTimeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(child.hProcess, 1);
        ::WaitForSingleObject(child.hProcess, 5000);
        std::printf("[dpi %lu] the tests did not end within %lu ms and were stopped\n", dpi, kChildTimeoutMs);
    } else {
        ::GetExitCodeProcess(child.hProcess, &exitCode);
    }
    ::CloseHandle(child.hProcess);
    return static_cast<int>(exitCode);
}

int RunAtEachDpi() {
    zo::test::LogPixelsOverride override;
    int failed = 0;
    for (DWORD dpi : DpisToRun()) {
        std::printf("[dpi %lu] running the tests at %lu logical DPI\n", dpi, dpi);
        std::fflush(stdout);
        if (!override.Set(dpi)) {
            std::printf("[dpi %lu] could not set LogPixels\n", dpi);
            return 1;
        }
        const int exitCode = RunChildAt(dpi);
        std::fflush(stdout);
        if (exitCode != 0) {
            std::printf("[dpi %lu] FAILED (exit code %d)\n", dpi, exitCode);
            ++failed;
        }
    }
    return failed ? 1 : 0;
}

bool ListsTests(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const DWORD childDpi = EnvironmentNumber(kChildVariable);
    if (childDpi == 0 && !ListsTests(argc, argv)) return RunAtEachDpi();
    ::testing::InitGoogleMock(&argc, argv);
    if (childDpi != 0 && zo::test::ScreenDpi() != static_cast<int>(childDpi)) {
        std::printf("[dpi %lu] the process runs at %d DPI: the registry value was not honoured\n", childDpi,
                    zo::test::ScreenDpi());
        return 1;
    }
    return RUN_ALL_TESTS();
}
