// What a control leaves alive in the process: the GDI objects the library's
// own holders own (its exported ZoLiveGdiObjects), the process's GDI objects
// as the system counts them, and the windows of the calling thread, child
// windows included. A soak takes them before the first control is hosted and
// after the last one is gone, and they must match.
#pragma once

#include <windows.h>

#include <string>

namespace zo::test {

struct LiveCounts {
    long libraryGdiObjects = -1;  // -1 when the library is not loaded or exports no count
    DWORD systemGdiObjects = 0;   // 0 where the platform does not count them
    int threadWindows = 0;

    friend bool operator==(const LiveCounts&, const LiveCounts&) = default;
    [[nodiscard]] std::string Describe() const;
};

[[nodiscard]] LiveCounts TakeLiveCounts();

// Whether every heap of the process passes HeapValidate: a write past a
// block or through a freed pointer shows up here, at the step that made it,
// instead of as a crash many steps later.
[[nodiscard]] bool HeapsAreSound();

}  // namespace zo::test
