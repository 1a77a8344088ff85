// What a property list does with the palette file between runs when the
// user never pops its colour form up: it reads the file when it starts and
// at teardown writes back exactly what it read, and creates no file when
// there was none.
#include <vector>

#include "colour_picking/palette_file.h"
#include "tests/property_list/property_list_fixture.h"

namespace zo::test {

namespace {

std::vector<unsigned char> ReadBytes(const std::wstring& path) {
    std::vector<unsigned char> bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    unsigned char buffer[512];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.insert(bytes.end(), buffer, buffer + read);
    ::CloseHandle(file);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

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
    std::vector<unsigned char> bytes(256);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 7 + 3);
    WriteBytes(file.WindowsPath(), bytes);
    ASSERT_TRUE(HostList());
    CloseList();
    EXPECT_EQ(ReadBytes(file.WindowsPath()), bytes);
    EXPECT_FALSE(Exists(file.UserPath())) << "the Windows directory could be written";
}

TEST_F(PaletteFileTeardownTest, ADesignTimeListLeavesTheFileAlone) {
    std::vector<unsigned char> bytes(100, 0x5A);  // too short to be a palette
    WriteBytes(file.WindowsPath(), bytes);
    container.Ambient().userMode = false;
    ASSERT_TRUE(HostList());
    CloseList();
    EXPECT_EQ(ReadBytes(file.WindowsPath()), bytes);
}

TEST_F(PaletteFileTeardownTest, AShortFileIsNotTakenForAPalette) {
    std::vector<unsigned char> bytes(100, 0x5A);
    WriteBytes(file.WindowsPath(), bytes);
    ASSERT_TRUE(HostList());
    CloseList();
    EXPECT_EQ(ReadBytes(file.WindowsPath()), bytes) << "nothing was read, so nothing is written back";
}

}  // namespace

}  // namespace zo::test
