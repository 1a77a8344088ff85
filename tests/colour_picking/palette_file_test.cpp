// PaletteFile against real files in a scratch folder of each test's own; the
// real Windows directory is only asked for its name.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "colour_picking/palette_file.h"
#include "common/handles.h"
#include "tests/host/scratch_folder.h"

namespace {

using zo::PaletteColours;
using zo::PaletteFile;
using zo::PaletteFileLocations;
using zo::test::Bytes;
using zo::test::Lock;
using zo::test::ReadBytes;
using zo::test::ScratchFolder;
using zo::test::Snapshot;
using zo::test::WriteBytes;

// Windows directory "windows" (present), user folder "user" (absent).
PaletteFileLocations ScratchLocations(const ScratchFolder& scratch) {
    EXPECT_TRUE(scratch.MakeFolder(L"windows"));
    return {scratch / L"windows", scratch / L"user"};
}

// Steps wrap around, so a palette can run through both signs.
PaletteColours Palette(std::int32_t first, std::int32_t step) {
    PaletteColours colours{};
    std::uint32_t colour = static_cast<std::uint32_t>(first);
    for (std::int32_t& entry : colours) {
        entry = static_cast<std::int32_t>(colour);
        colour += static_cast<std::uint32_t>(step);
    }
    return colours;
}

Bytes Encoded(const PaletteColours& colours) {
    Bytes bytes;
    for (std::int32_t colour : colours)
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<unsigned char>(colour >> shift));
    return bytes;
}

// Colours whose bytes on disk are written out by hand: the sign bit and the
// byte order show in them.
struct KnownColour {
    std::size_t index;
    std::int32_t value;
    std::array<unsigned char, 4> bytes;
};
constexpr KnownColour kKnownColours[] = {
    {0, 0x00FF8040, {0x40, 0x80, 0xFF, 0x00}},  {1, -1, {0xFF, 0xFF, 0xFF, 0xFF}},
    {2, INT32_MIN, {0x00, 0x00, 0x00, 0x80}},   {3, INT32_MAX, {0xFF, 0xFF, 0xFF, 0x7F}},
    {31, -2, {0xFE, 0xFF, 0xFF, 0xFF}},         {62, 0x12345678, {0x78, 0x56, 0x34, 0x12}},
    {63, -2147483624, {0x18, 0x00, 0x00, 0x80}},
};

TEST(PaletteFilePaths, JoinTheFileNameToEachFolderWithOneBackslash) {
    const struct {
        std::wstring folder, expected;
    } cases[] = {
        {L"C:\\windows", L"C:\\windows\\ZoPropList.sys"},
        {L"C:\\", L"C:\\ZoPropList.sys"},
        {L"\\\\server\\share\\Roaming\\ZoPropList", L"\\\\server\\share\\Roaming\\ZoPropList\\ZoPropList.sys"},
        {L"", L""},  // an unknown folder names no file, not one in the current directory
    };
    for (const auto& c : cases) {
        const PaletteFile file({c.folder, c.folder});
        EXPECT_EQ(c.expected, file.WindowsPath());
        EXPECT_EQ(c.expected, file.UserPath());
    }
}

TEST(PaletteFilePaths, DefaultsAreTheWindowsDirectoryAndTheUsersApplicationDataFolder) {
    wchar_t windows[MAX_PATH] = {};
    ASSERT_NE(0u, ::GetWindowsDirectoryW(windows, MAX_PATH));
    wchar_t appData[MAX_PATH] = {};
    ASSERT_EQ(S_OK, ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData));

    const PaletteFileLocations locations = zo::DefaultPaletteFileLocations();
    EXPECT_EQ(windows, locations.windowsDirectory);
    EXPECT_EQ(std::wstring(appData) + L"\\ZoPropList", locations.userDirectory);
    const PaletteFile file(locations);
    for (const std::wstring& path : {file.WindowsPath(), file.UserPath()}) {
        EXPECT_TRUE(path.ends_with(L"\\ZoPropList.sys")) << path.c_str();
        EXPECT_EQ(std::wstring::npos, path.find(L"\\\\", 1)) << path.c_str();  // a share name starts with two
    }
}

TEST(PaletteFile, SavesLittleEndianBytesThatLoadReadsBackAndReplacesThemNextTime) {
    ScratchFolder scratch;
    const PaletteFile file(ScratchLocations(scratch));
    PaletteColours colours = Palette(-100, 0x01020305);
    for (const KnownColour& known : kKnownColours) colours[known.index] = known.value;

    ASSERT_TRUE(file.Save(colours));
    // Only the file itself appears: nothing beside it, no user folder.
    ASSERT_EQ(Snapshot({{L"windows", std::nullopt}, {L"windows\\ZoPropList.sys", Encoded(colours)}}), scratch.Take());
    const Bytes onDisk = *ReadBytes(file.WindowsPath());
    for (const KnownColour& known : kKnownColours)
        EXPECT_EQ(Bytes(known.bytes.begin(), known.bytes.end()),
                  Bytes(onDisk.begin() + 4 * known.index, onDisk.begin() + 4 * known.index + 4))
            << "colour " << known.index;
    EXPECT_EQ(colours, file.Load());
    // Neither call left the file open.
    EXPECT_TRUE(Lock(file.WindowsPath()));

    const PaletteColours next = Palette(7, -3);
    ASSERT_TRUE(file.Save(next));
    EXPECT_EQ(next, file.Load());
    EXPECT_EQ(Snapshot({{L"windows", std::nullopt}, {L"windows\\ZoPropList.sys", Encoded(next)}}), scratch.Take());
}

TEST(PaletteFile, LoadsTheFirst256BytesOfALongerFile) {
    ScratchFolder scratch;
    const PaletteFile file(ScratchLocations(scratch));
    Bytes bytes(300, 0);
    std::fill(bytes.begin() + 256, bytes.end(), 0xEE);
    PaletteColours expected{};
    for (const KnownColour& known : kKnownColours) {
        std::copy(known.bytes.begin(), known.bytes.end(), bytes.begin() + 4 * known.index);
        expected[known.index] = known.value;
    }
    ASSERT_TRUE(WriteBytes(file.WindowsPath(), bytes));
    EXPECT_EQ(expected, file.Load());
}

TEST(PaletteFile, AFileWithoutAWholeReadablePaletteCountsAsAbsent) {
    const Bytes whole = Encoded(Palette(INT32_MIN, 0x0F0F0F0F));
    const struct {
        const char* name;
        std::function<bool(const std::wstring&)> make;  // at the path given
        bool locked;
    } cases[] = {
        {"no file", [](const std::wstring&) { return true; }, false},
        {"empty", [](const std::wstring& p) { return WriteBytes(p, {}); }, false},
        {"one colour", [](const std::wstring& p) { return WriteBytes(p, Bytes(4, 0xAB)); }, false},
        {"one byte short", [&](const std::wstring& p) { return WriteBytes(p, Bytes(whole.begin(), whole.end() - 1)); },
         false},
        {"a folder", [](const std::wstring& p) { return ::CreateDirectoryW(p.c_str(), nullptr) != FALSE; }, false},
        {"locked by another", [&](const std::wstring& p) { return WriteBytes(p, whole); }, true},
    };
    const PaletteColours windowsColours = Palette(12345, -54321);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder scratch;
        const PaletteFile file(ScratchLocations(scratch));
        ASSERT_TRUE(scratch.MakeFolder(L"user"));
        ASSERT_TRUE(c.make(file.UserPath()) && c.make(file.WindowsPath()));
        // Such a user copy is passed over for a whole one in the Windows directory.
        ASSERT_TRUE(scratch.MakeFolder(L"good"));
        ASSERT_TRUE(WriteBytes(scratch / L"good\\ZoPropList.sys", Encoded(windowsColours)));
        const PaletteFile fallback({scratch / L"good", scratch / L"user"});

        const zo::unique_hfile userLock = c.locked ? Lock(file.UserPath()) : zo::unique_hfile();
        const zo::unique_hfile windowsLock = c.locked ? Lock(file.WindowsPath()) : zo::unique_hfile();
        ASSERT_EQ(c.locked, userLock && windowsLock);
        EXPECT_EQ(std::nullopt, file.Load());
        EXPECT_EQ(windowsColours, fallback.Load());
    }
}

TEST(PaletteFile, TheUserCopyIsTheOneLoadedAndTheOneSaved) {
    ScratchFolder scratch;
    const PaletteFile file(ScratchLocations(scratch));
    ASSERT_TRUE(scratch.MakeFolder(L"user"));
    const PaletteColours windowsColours = Palette(1, 1), userColours = Palette(-1, -1), saved = Palette(99, 1000);
    ASSERT_TRUE(WriteBytes(file.WindowsPath(), Encoded(windowsColours)));
    ASSERT_TRUE(WriteBytes(file.UserPath(), Encoded(userColours)));
    EXPECT_EQ(userColours, file.Load());

    ASSERT_TRUE(file.Save(saved));
    EXPECT_EQ(saved, file.Load());
    EXPECT_EQ(Snapshot({{L"windows", std::nullopt}, {L"windows\\ZoPropList.sys", Encoded(windowsColours)},
                        {L"user", std::nullopt}, {L"user\\ZoPropList.sys", Encoded(saved)}}),
              scratch.Take());
}

// A Windows directory below a plain file cannot hold any file, as one a
// standard user may not write to.
TEST(PaletteFile, AnUnwritableWindowsDirectorySendsTheSaveToANewUserFolder) {
    ScratchFolder scratch;
    ASSERT_TRUE(WriteBytes(scratch / L"plain", Bytes(3, 1)));
    const PaletteFile file({scratch / L"plain\\windows", scratch / L"appdata\\roaming\\ZoPropList"});
    const PaletteColours colours = Palette(-5, 77), next = Palette(0, INT32_MIN);
    for (const PaletteColours& saved : {colours, next}) {
        ASSERT_TRUE(file.Save(saved));
        EXPECT_EQ(saved, file.Load());
        EXPECT_EQ(Snapshot({{L"plain", Bytes(3, 1)},
                            {L"appdata", std::nullopt},
                            {L"appdata\\roaming", std::nullopt},
                            {L"appdata\\roaming\\ZoPropList", std::nullopt},
                            {L"appdata\\roaming\\ZoPropList\\ZoPropList.sys", Encoded(saved)}}),
                  scratch.Take());
    }
}

// Under Wine, as under Windows, a file held open without delete sharing
// cannot be replaced, one held open with no sharing cannot be read either,
// and a folder cannot be replaced by a file.
TEST(PaletteFile, ASaveThatCannotReplaceItsTargetLeavesTheOldFilesAndNoNewFile) {
    const PaletteColours oldUser = Palette(10, 10), oldWindows = Palette(20, 20), saved = Palette(-30, -30);
    const std::wstring userCopy = L"user\\ZoPropList.sys", windowsCopy = L"windows\\ZoPropList.sys";
    const struct {
        const char* name;
        std::vector<std::wstring> folders;
        std::vector<std::pair<std::wstring, Bytes>> files;
        std::wstring locked;
        DWORD share;  // what the holder of the locked file lets others do
        bool result;
        std::optional<PaletteColours> loads;
        std::wstring written;  // the one file the save adds or changes
    } cases[] = {
        {"Windows path is a folder", {windowsCopy}, {{windowsCopy + L"\\in", {1}}}, L"", 0, true, saved, userCopy},
        {"both paths are folders", {windowsCopy, L"user", userCopy},
         {{windowsCopy + L"\\in", {1}}, {userCopy + L"\\in", {2}}}, L"", 0, false, std::nullopt, L""},
        {"Windows copy locked", {}, {{windowsCopy, Encoded(oldWindows)}}, windowsCopy, 0, true, saved, userCopy},
        // Rewriting it in place would show that reader a palette in the making.
        {"Windows copy being read", {}, {{windowsCopy, Encoded(oldWindows)}}, windowsCopy,
         FILE_SHARE_READ | FILE_SHARE_WRITE, true, saved, userCopy},
        {"whole user copy locked", {L"user"}, {{userCopy, Encoded(oldUser)}, {windowsCopy, Encoded(oldWindows)}},
         userCopy, 0, false, oldUser, L""},
        // Load passes a short user copy over, so the Windows directory serves.
        {"short user copy locked", {L"user"}, {{userCopy, Bytes(10, 0xAB)}}, userCopy, 0, true, saved, windowsCopy},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder scratch;
        const PaletteFile file(ScratchLocations(scratch));
        for (const auto& folder : c.folders) ASSERT_TRUE(scratch.MakeFolder(folder));
        for (const auto& [path, bytes] : c.files) ASSERT_TRUE(WriteBytes(scratch / path, bytes));
        Snapshot expected = scratch.Take();
        if (c.written == userCopy) expected[L"user"] = std::nullopt;
        if (!c.written.empty()) expected[c.written] = Encoded(saved);
        {
            const zo::unique_hfile lock = c.locked.empty() ? zo::unique_hfile() : Lock(scratch / c.locked, c.share);
            ASSERT_EQ(c.locked.empty(), !lock);
            EXPECT_EQ(c.result, file.Save(saved));
        }
        EXPECT_EQ(expected, scratch.Take());  // old files as they were, nothing stray
        EXPECT_EQ(c.loads, file.Load());
    }
}

}  // namespace
