#include "tests/host/soak/live_counts.h"

namespace zo::test {

namespace {

using LiveGdiObjects = long(WINAPI*)();

long LibraryGdiObjects() {
    HMODULE library = ::GetModuleHandleW(L"ZoPropList.ocx");
    if (!library) return -1;
    auto count =
        reinterpret_cast<LiveGdiObjects>(reinterpret_cast<void*>(::GetProcAddress(library, "ZoLiveGdiObjects")));
    return count ? count() : -1;
}

BOOL CALLBACK CountChild(HWND, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    ::EnumChildWindows(window, &CountChild, counter);
    return TRUE;
}

}  // namespace

std::string LiveCounts::Describe() const {
    return "library GDI objects " + std::to_string(libraryGdiObjects) + ", system GDI objects " +
           std::to_string(systemGdiObjects) + ", windows " + std::to_string(threadWindows);
}

LiveCounts TakeLiveCounts() {
    LiveCounts counts;
    counts.libraryGdiObjects = LibraryGdiObjects();
    counts.systemGdiObjects = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    ::EnumThreadWindows(::GetCurrentThreadId(), &CountTopLevel, reinterpret_cast<LPARAM>(&counts.threadWindows));
    return counts;
}

}  // namespace zo::test
