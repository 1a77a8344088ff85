// The release layout in dist/ (scripts/package.sh): every file a user gets
// is there, SHA256SUMS matches them, the control the tests create is the
// shipped OCX, and its version resource carries the about box's version.
#include <gtest/gtest.h>

#include <windows.h>
#include <bcrypt.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/atl_host.h"
#include "tests/host/dispatch_call.h"
#include "tests/host/gtest_support.h"
#include "tests/host/message_box_recorder.h"

namespace zo::test {
namespace {

[[maybe_unused]] auto* const g_ole = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

#ifdef _WIN64
constexpr char kArch[] = "x86_64";
#else
constexpr char kArch[] = "i686";
#endif

std::string DistPath(const std::string& relative) { return std::string(ZO_DIST_DIR) + "/" + relative; }

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH * 2] = {};
    ::GetFullPathNameA(path.c_str(), sizeof(full), full, nullptr);
    return Lower(full);
}

std::string Sha256Hex(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return "<unreadable>";
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (!BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
        return "<no sha256>";
    UCHAR digest[32] = {};
    const NTSTATUS status = ::BCryptHash(algorithm, nullptr, 0, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                                         static_cast<ULONG>(bytes.size()), digest, sizeof(digest));
    ::BCryptCloseAlgorithmProvider(algorithm, 0);
    if (!BCRYPT_SUCCESS(status)) return "<hash failed>";
    std::string hex;
    char pair[3];
    for (UCHAR byte : digest) {
        std::snprintf(pair, sizeof(pair), "%02x", byte);
        hex += pair;
    }
    return hex;
}

// Every file under dist/, as "folder/name".
void ListFiles(const std::string& folder, const std::string& prefix, std::vector<std::string>& files) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "/*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListFiles(folder + "/" + name, prefix + name + "/", files);
        else
            files.push_back(prefix + name);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
}

TEST(ReleaseLayout, HoldsEveryFileOfTheRelease) {
    const std::string arch = kArch;
    const std::string expected[] = {
        arch + "/ZoPropList.ocx", arch + "/ZoPropertyList.tlb", arch + "/IPropOwnerDraw.tlb",
        "include/ZoPropertyList.h", "include/ZoPropertyList_i.c", "include/IPropOwnerDraw.h",
        "include/IPropOwnerDraw_i.c", "idl/ZoPropertyList.idl", "idl/IPropOwnerDraw.idl", "docs/api.md",
        "README.md", "LICENSE.txt", "SHA256SUMS"};
    for (const std::string& file : expected)
        EXPECT_NE(::GetFileAttributesA(DistPath(file).c_str()), INVALID_FILE_ATTRIBUTES) << "missing: dist/" << file;
}

TEST(ReleaseLayout, Sha256SumsListsEveryShippedFileWithItsHash) {
    std::ifstream sums(DistPath("SHA256SUMS"));
    ASSERT_TRUE(sums) << "no dist/SHA256SUMS";
    std::map<std::string, std::string> listed;  // path -> hash, as sha256sum writes them
    std::string line;
    while (std::getline(sums, line)) {
        ASSERT_GT(line.size(), 66u) << line;
        ASSERT_EQ(line.substr(64, 2), "  ") << line;
        listed[line.substr(66)] = line.substr(0, 64);
    }
    std::vector<std::string> shipped;
    ListFiles(ZO_DIST_DIR, "", shipped);
    for (const std::string& file : shipped) {
        if (file == "SHA256SUMS") continue;
        SCOPED_TRACE(file);
        const auto entry = listed.find(file);
        ASSERT_NE(entry, listed.end()) << "not in SHA256SUMS";
        EXPECT_EQ(entry->second, Sha256Hex(DistPath(file)));
        listed.erase(entry);
    }
    EXPECT_TRUE(listed.empty()) << "SHA256SUMS names a file that is not shipped: " << listed.begin()->first;
}

// Hosts a PropertyList as a C++ container does, by its registered ProgID.
class ShippedControl : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(S_OK, host.Create(L"ZoPropertyList.PropertyList")); }

    [[nodiscard]] static std::string LoadedOcxPath() {
        char path[MAX_PATH * 2] = {};
        ::GetModuleFileNameA(::GetModuleHandleW(L"ZoPropList.ocx"), path, sizeof(path));
        return path;
    }

    AtlHost host;
};

TEST_F(ShippedControl, IsCreatedFromTheOcxInTheReleaseLayout) {
    EXPECT_EQ(FullPath(LoadedOcxPath()), FullPath(DistPath(std::string(kArch) + "/ZoPropList.ocx")));
}

TEST_F(ShippedControl, VersionResourceCarriesTheAboutBoxVersion) {
    MessageBoxRecorder recorder;
    ASSERT_TRUE(DispOk(Call(host.Dispatch().get(), L"ShowAboutBox")));
    ASSERT_EQ(recorder.Count(), 1u);
    const std::wregex versionLine(L"Version ([0-9]+)\\.([0-9]+)\\.([0-9]+)");
    std::wsmatch about;
    ASSERT_TRUE(std::regex_search(recorder.Calls()[0].text, about, versionLine)) << Narrow(recorder.Calls()[0].text);
    const std::wstring fileVersion = about[1].str() + L"." + about[2].str() + L".0." + about[3].str();

    const std::string ocx = LoadedOcxPath();
    const DWORD size = ::GetFileVersionInfoSizeA(ocx.c_str(), nullptr);
    ASSERT_GT(size, 0u) << "no version resource in " << ocx;
    std::vector<BYTE> block(size);
    ASSERT_TRUE(::GetFileVersionInfoA(ocx.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const std::wstring fixedVersion = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                                      std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                                      std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." +
                                      std::to_wstring(LOWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(Narrow(fixedVersion), Narrow(fileVersion));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    for (const wchar_t* key : {L"\\StringFileInfo\\040904B0\\FileVersion", L"\\StringFileInfo\\040904B0\\ProductVersion"}) {
        const wchar_t* text = nullptr;
        ASSERT_TRUE(::VerQueryValueW(block.data(), key, reinterpret_cast<void**>(const_cast<wchar_t**>(&text)), &length))
            << Narrow(key);
        EXPECT_EQ(Narrow(text), Narrow(fileVersion)) << Narrow(key);
    }
}

}  // namespace
}  // namespace zo::test
