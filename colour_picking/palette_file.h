// The colour picker's user palette: 64 colours kept between program runs in
// the file ZoPropList.sys, as 64 signed 32-bit little-endian integers
// (256 bytes, no header).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "colour_picking/palette.h"

namespace zo {


// Where the palette file is looked for: the Windows directory, and the
// user's own application-data folder used when the Windows directory cannot
// be written (a standard user on current Windows). An empty folder name
// means that place is unknown and is never used.
struct PaletteFileLocations {
    std::wstring windowsDirectory;  // e.g. C:\windows
    std::wstring userDirectory;     // e.g. C:\users\me\AppData\Roaming\ZoPropList (created on demand)
};

// GetWindowsDirectoryW, and the user's application-data folder + "\ZoPropList".
[[nodiscard]] PaletteFileLocations DefaultPaletteFileLocations();

class PaletteFile {
public:
    static constexpr std::size_t kFileBytes = 256;

    explicit PaletteFile(PaletteFileLocations locations = DefaultPaletteFileLocations());

    [[nodiscard]] std::wstring WindowsPath() const;  // <windows dir>\ZoPropList.sys
    [[nodiscard]] std::wstring UserPath() const;     // <user dir>\ZoPropList.sys

    // The saved palette: the user copy when it holds a whole palette,
    // otherwise the Windows-directory copy, otherwise nothing. Bytes beyond
    // the first 256 are ignored.
    [[nodiscard]] std::optional<PaletteColours> Load() const noexcept;

    // Writes the palette to the copy Load will read, replacing any old file
    // in one step (a longer old file becomes exactly 256 bytes). False when
    // it could be written nowhere; then every old file is left as it was.
    [[nodiscard]] bool Save(const PaletteColours& colours) const noexcept;

private:
    PaletteFileLocations m_locations;
};

}  // namespace zo
