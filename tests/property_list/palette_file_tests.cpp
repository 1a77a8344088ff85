// What a property list does with the palette file between runs when the
// user never pops its colour form up: it reads the file when it starts and
// at teardown writes back exactly what it read, and creates no file when
// there was none.
#include <cstdint>
#include <optional>

#include "colour_picking/palette_file.h"
#include "common/handles.h"
#include "tests/host/scratch_folder.h"
#include "tests/property_list/property_list_fixture.h"

namespace zo::test {

namespace {

class PaletteFileTeardownTest : public PropertyListTest {
protected:
    void SetUp() override { RemoveFiles(); }
    void TearDown() override {
        PropertyListTest::TearDown();
        RemoveFiles();
    }
    void RemoveFiles() {
        ::DeleteFileW(file.WindowsPath().c_str());
        ::DeleteFileW(file.UserPath().c_str());
    }
    [[nodiscard]] bool Exists(const std::wstring& path) const {
        return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // The file system's number for the file behind `path`.
    [[nodiscard]] static std::optional<uint64_t> FileIdentity(const std::wstring& path) {
        const unique_hfile handle(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
        BY_HANDLE_FILE_INFORMATION information{};
        if (!handle || !::GetFileInformationByHandle(handle.get(), &information)) return std::nullopt;
        return (uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
    }

    PaletteFile file;
};

TEST_F(PaletteFileTeardownTest, AListThatNeverPopsUpWritesNoFileWhenThereWasNone) {
    ASSERT_TRUE(HostList());
    ASSERT_TRUE(DispOk(Add(L"Colour", L"255", kColourRow)));
    CloseList();
    EXPECT_FALSE(Exists(file.WindowsPath()));
    EXPECT_FALSE(Exists(file.UserPath()));
}

TEST_F(PaletteFileTeardownTest, AListRewritesThePaletteItReadUnchanged) {
    Bytes bytes(256);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 7 + 3);
    ASSERT_TRUE(WriteBytes(file.WindowsPath(), bytes));
    ASSERT_TRUE(HostList());
    CloseList();
    EXPECT_EQ(ReadBytes(file.WindowsPath()), bytes);
    EXPECT_FALSE(Exists(file.UserPath())) << "the Windows directory could be written";
}

// A run-time list replaces a whole palette file with a new file of the same
// bytes at teardown; a design-time list never touches it, so the file is
// still the same file.
TEST_F(PaletteFileTeardownTest, ADesignTimeListLeavesTheFileAlone) {
    const Bytes bytes(256, 0x5A);
    ASSERT_TRUE(WriteBytes(file.WindowsPath(), bytes));
    const std::optional<uint64_t> before = FileIdentity(file.WindowsPath());
    ASSERT_TRUE(before);
    container.Ambient().userMode = false;
    ASSERT_TRUE(HostList());
    CloseList();
    EXPECT_EQ(ReadBytes(file.WindowsPath()), bytes);
    EXPECT_EQ(FileIdentity(file.WindowsPath()), before) << "the file was written again";
}

TEST_F(PaletteFileTeardownTest, AShortFileIsNotTakenForAPalette) {
    const Bytes bytes(100, 0x5A);
    ASSERT_TRUE(WriteBytes(file.WindowsPath(), bytes));
    ASSERT_TRUE(HostList());
    CloseList();
    EXPECT_EQ(ReadBytes(file.WindowsPath()), bytes) << "nothing was read, so nothing is written back";
}


// Another program holding the palette file open for writing while the list
// saves: the file is left whole as it was, the palette goes to the user's
// own copy instead, and no new file is left beside either.
TEST_F(PaletteFileTeardownTest, AFileLockedForWritingWhileTheListSavesIsLeftWholeAndThePaletteKept) {
    Bytes bytes(256);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(255 - i);
    ASSERT_TRUE(WriteBytes(file.WindowsPath(), bytes));
    ASSERT_TRUE(HostList());
    {
        const unique_hfile writer = Lock(file.WindowsPath(), FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(writer);
        CloseList();
    }
    EXPECT_EQ(ReadBytes(file.WindowsPath()), bytes) << "the locked file as it was";
    EXPECT_EQ(ReadBytes(file.UserPath()), bytes) << "the palette kept in the user's copy";
    for (const std::wstring& copy : {file.WindowsPath(), file.UserPath()}) {
        WIN32_FIND_DATAW found{};
        const HANDLE search = ::FindFirstFileW((copy + L"*").c_str(), &found);
        ASSERT_NE(search, INVALID_HANDLE_VALUE);
        do {
            EXPECT_STREQ(found.cFileName, L"ZoPropList.sys") << "a file left beside the palette";
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
}

}  // namespace

}  // namespace zo::test
