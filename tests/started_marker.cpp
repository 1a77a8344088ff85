// Lets scripts/wine-run.sh tell a test program that failed from one that Wine
// never got going: as soon as the program's own code runs, it creates the file
// named by ZO_STARTED_MARKER (when that is set). A program that ends with an
// error and no marker failed to start, and the script starts it once more.
#include <windows.h>

namespace {

struct StartedMarker {
    StartedMarker() noexcept {
        wchar_t path[MAX_PATH];
        const DWORD length = GetEnvironmentVariableW(L"ZO_STARTED_MARKER", path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) {
            return;
        }
        const HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
        }
    }
};

const StartedMarker started_marker;

}  // namespace
