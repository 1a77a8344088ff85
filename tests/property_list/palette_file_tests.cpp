// What a property list does with the palette file between runs when the
// user never pops its colour form up: it reads the file when it starts and
// at teardown writes back exactly what it read, and creates no file when
// there was none.
#include "colour_picking/palette_file.h"
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

TEST_F(PaletteFileTeardownTest, ADesignTimeListLeavesTheFileAlone) {
    const Bytes bytes(100, 0x5A);  // too short to be a palette
    ASSERT_TRUE(WriteBytes(file.WindowsPath(), bytes));
    container.Ambient().userMode = false;
    ASSERT_TRUE(HostList());
    CloseList();
    EXPECT_EQ(ReadBytes(file.WindowsPath()), bytes);
}

TEST_F(PaletteFileTeardownTest, AShortFileIsNotTakenForAPalette) {
    const Bytes bytes(100, 0x5A);
    ASSERT_TRUE(WriteBytes(file.WindowsPath(), bytes));
    ASSERT_TRUE(HostList());
    CloseList();
    EXPECT_EQ(ReadBytes(file.WindowsPath()), bytes) << "nothing was read, so nothing is written back";
}

}  // namespace

}  // namespace zo::test
