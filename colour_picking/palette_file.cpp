#include "colour_picking/palette_file.h"

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <utility>

#include "common/handles.h"

namespace zo {

namespace {

constexpr wchar_t kFileName[] = L"ZoPropList.sys";
constexpr wchar_t kUserFolderName[] = L"ZoPropList";
constexpr std::size_t kBytesPerColour = 4;

using PaletteBytes = std::array<unsigned char, PaletteFile::kFileBytes>;

// An unknown folder stays unknown: joining it would name a file relative to
// whatever the current directory happens to be.
std::wstring JoinPath(const std::wstring& directory, const wchar_t* name) {
    if (directory.empty()) return {};
    std::wstring path = directory;
    if (path.back() != L'\\') path += L'\\';
    return path + name;
}

std::wstring WindowsDirectory() {
    std::wstring buffer(MAX_PATH, L'\0');
    UINT length = ::GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) {  // too small: length is the size needed, terminator included
        buffer.resize(length);
        length = ::GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    if (length == 0 || length >= buffer.size()) return {};
    buffer.resize(length);
    return buffer;
}

std::wstring UserDirectory() {
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) return {};
    return JoinPath(appData, kUserFolderName);
}

[[nodiscard]] std::optional<WIN32_FILE_ATTRIBUTE_DATA> Attributes(const std::wstring& path) noexcept {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return data;
}

[[nodiscard]] bool IsDirectory(const std::wstring& path) noexcept {
    const auto data = Attributes(path);
    return data && (data->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

[[nodiscard]] bool IsFile(const std::wstring& path) noexcept {
    const auto data = Attributes(path);
    return data && !(data->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A file of at least a palette's size, which Load reads whenever it can open it.
[[nodiscard]] bool HoldsWholePalette(const std::wstring& path) noexcept {
    const auto data = Attributes(path);
    return data && !(data->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (data->nFileSizeHigh != 0 || data->nFileSizeLow >= PaletteFile::kFileBytes);
}

// Creates the folder and any missing parents. Parents that cannot be created
// (a drive, a share, a folder that exists) are passed over; what counts is
// whether the folder exists at the end.
bool CreateDirectories(const std::wstring& directory) {
    if (directory.empty()) return false;
    if (IsDirectory(directory)) return true;
    for (auto at = directory.find_first_of(L"\\/", 1); at != std::wstring::npos;
         at = directory.find_first_of(L"\\/", at + 1)) {
        ::CreateDirectoryW(directory.substr(0, at).c_str(), nullptr);
    }
    ::CreateDirectoryW(directory.c_str(), nullptr);
    return IsDirectory(directory);
}

// The file format is little-endian whatever the host is: build each value
// from its bytes rather than copying host integers.
PaletteColours DecodePalette(const PaletteBytes& bytes) noexcept {
    PaletteColours colours{};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const unsigned char* at = &bytes[i * kBytesPerColour];
        const std::uint32_t value = std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 |
                                    std::uint32_t{at[2]} << 16 | std::uint32_t{at[3]} << 24;
        colours[i] = static_cast<std::int32_t>(value);
    }
    return colours;
}

PaletteBytes EncodePalette(const PaletteColours& colours) noexcept {
    PaletteBytes bytes{};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const auto value = static_cast<std::uint32_t>(colours[i]);
        for (std::size_t b = 0; b < kBytesPerColour; ++b)
            bytes[i * kBytesPerColour + b] = static_cast<unsigned char>(value >> (8 * b));
    }
    return bytes;
}

// A short file, or one that cannot be opened or read, counts as absent: a
// partial palette must never be mistaken for a whole one.
std::optional<PaletteColours> ReadPaletteFile(const std::wstring& path) noexcept {
    if (path.empty()) return std::nullopt;
    const unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    PaletteBytes bytes{};
    DWORD total = 0;
    while (total < bytes.size()) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), bytes.data() + total, static_cast<DWORD>(bytes.size()) - total, &read, nullptr) ||
            read == 0)
            return std::nullopt;
        total += read;
    }
    return DecodePalette(bytes);
}

// Unique per process and per call, so that two saves never write into the
// same new file; CREATE_NEW below makes sure it was not there before.
std::wstring NewFilePath(const std::wstring& target) {
    static std::atomic<unsigned long> s_counter{0};
    return target + L'.' + std::to_wstring(::GetCurrentProcessId()) + L'-' + std::to_wstring(++s_counter) + L".new";
}

[[nodiscard]] bool WriteAll(HANDLE file, const PaletteBytes& bytes) noexcept {
    DWORD total = 0;
    while (total < bytes.size()) {
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + total, static_cast<DWORD>(bytes.size()) - total, &written, nullptr) ||
            written == 0)
            return false;
        total += written;
    }
    return true;
}

// Creates the file (which must not exist yet) with the whole palette on
// disk. A file it created but could not fill is deleted again.
[[nodiscard]] bool WriteNewFile(const std::wstring& path, const PaletteBytes& bytes) noexcept {
    bool written = false;
    {
        const unique_hfile file(
            ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        written = WriteAll(file.get(), bytes) && ::FlushFileBuffers(file.get());
    }  // closed here: an open file can be neither deleted nor moved
    if (!written) ::DeleteFileW(path.c_str());
    return written;
}

// Never leaves a half-written palette at the target: the new file is
// complete before it takes the target's place in one step, and on any
// failure the target is untouched and the new file is gone.
[[nodiscard]] bool WritePaletteFile(const std::wstring& target, const PaletteColours& colours) {
    if (target.empty()) return false;
    const std::wstring newFile = NewFilePath(target);
    if (!WriteNewFile(newFile, EncodePalette(colours))) return false;
    if (::MoveFileExW(newFile.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileW(newFile.c_str());
    return false;
}

}  // namespace

PaletteFileLocations DefaultPaletteFileLocations() { return {WindowsDirectory(), UserDirectory()}; }

PaletteFile::PaletteFile(PaletteFileLocations locations) : m_locations(std::move(locations)) {}

std::wstring PaletteFile::WindowsPath() const { return JoinPath(m_locations.windowsDirectory, kFileName); }

std::wstring PaletteFile::UserPath() const { return JoinPath(m_locations.userDirectory, kFileName); }

std::optional<PaletteColours> PaletteFile::Load() const noexcept try {
    if (auto colours = ReadPaletteFile(UserPath())) return colours;
    return ReadPaletteFile(WindowsPath());
} catch (...) {
    return std::nullopt;
}

bool PaletteFile::Save(const PaletteColours& colours) const noexcept try {
    const std::wstring user = UserPath();
    if (IsFile(user)) {
        // Load prefers this copy, so it is the one to replace. Should that
        // fail, a copy in the Windows directory only helps when the old user
        // copy is too short for Load to prefer it.
        if (WritePaletteFile(user, colours)) return true;
        return !HoldsWholePalette(user) && WritePaletteFile(WindowsPath(), colours);
    }
    if (WritePaletteFile(WindowsPath(), colours)) return true;
    // The Windows directory is not writable for a standard user: keep the
    // palette in the user's own folder rather than lose it.
    return CreateDirectories(m_locations.userDirectory) && WritePaletteFile(user, colours);
} catch (...) {
    return false;
}

}  // namespace zo
