#include "tests/host/soak/live_counts.h"

#include <vector>

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

bool HeapsAreSound() {
    std::vector<HANDLE> heaps(64);
    DWORD count = ::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    if (count > heaps.size()) {
        heaps.resize(count);
        count = ::GetProcessHeaps(count, heaps.data());
    }
    for (DWORD i = 0; i < count && i < heaps.size(); ++i)
        if (!::HeapValidate(heaps[i], 0, nullptr)) return false;
    return true;
}

LiveCounts TakeLiveCounts() {
    LiveCounts counts;
    counts.libraryGdiObjects = LibraryGdiObjects();
    counts.systemGdiObjects = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    ::EnumThreadWindows(::GetCurrentThreadId(), &CountTopLevel, reinterpret_cast<LPARAM>(&counts.threadWindows));
    return counts;
}

}  // namespace zo::test
