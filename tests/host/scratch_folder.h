// A folder of a test's own under the temporary folder, and the few file
// operations the palette file tests need to arrange and inspect it.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/handles.h"

namespace zo::test {

using Bytes = std::vector<unsigned char>;
// Every file (with its bytes) and folder (no bytes) below a folder, by
// relative path.
using Snapshot = std::map<std::wstring, std::optional<Bytes>>;

// The whole file, or nothing when it cannot be opened or read.
[[nodiscard]] std::optional<Bytes> ReadBytes(const std::wstring& path);
[[nodiscard]] bool WriteBytes(const std::wstring& path, const Bytes& bytes);
// Holds the file (or folder) open as another program would, with no sharing
// unless told otherwise.
[[nodiscard]] unique_hfile Lock(const std::wstring& path, DWORD share = 0);

// Named after the running test, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();

    [[nodiscard]] const std::wstring& Root() const noexcept { return m_root; }
    [[nodiscard]] std::wstring operator/(const std::wstring& relative) const { return m_root + L'\\' + relative; }
    [[nodiscard]] bool MakeFolder(const std::wstring& relative) const;
    [[nodiscard]] Snapshot Take() const;

private:
    void TakeBelow(const std::wstring& relative, Snapshot& snapshot) const;
    std::wstring m_root;
};

}  // namespace zo::test
