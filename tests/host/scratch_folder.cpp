#include "tests/host/scratch_folder.h"

#include <gtest/gtest.h>

namespace zo::test {

namespace {

template <typename Visit>
void ForEachEntry(const std::wstring& folder, Visit visit) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") visit(name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

void RemoveTree(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileW(path.c_str());
        return;
    }
    std::vector<std::wstring> names;  // gathered first: deleting does not disturb the search
    ForEachEntry(path, [&](const std::wstring& name, bool) { names.push_back(name); });
    for (const auto& name : names) RemoveTree(path + L'\\' + name);
    ::RemoveDirectoryW(path.c_str());
}

}  // namespace

std::optional<Bytes> ReadBytes(const std::wstring& path) {
    const unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    Bytes bytes(::GetFileSize(file.get(), nullptr));
    DWORD read = 0;
    if (!bytes.empty() && (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size()))
        return std::nullopt;
    return bytes;
}

bool WriteBytes(const std::wstring& path, const Bytes& bytes) {
    const unique_hfile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

unique_hfile Lock(const std::wstring& path, DWORD share) {
    return unique_hfile(::CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

ScratchFolder::ScratchFolder() {
    static int s_count = 0;
    wchar_t temp[MAX_PATH] = {};
    EXPECT_NE(0u, ::GetTempPathW(MAX_PATH, temp));
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    m_root = std::wstring(temp) + L"zo_" + std::wstring(test.begin(), test.end()) + L'_' +
             std::to_wstring(::GetCurrentProcessId()) + L'_' + std::to_wstring(++s_count);
    RemoveTree(m_root);
    EXPECT_TRUE(::CreateDirectoryW(m_root.c_str(), nullptr));
}

ScratchFolder::~ScratchFolder() { RemoveTree(m_root); }

bool ScratchFolder::MakeFolder(const std::wstring& relative) const {
    return ::CreateDirectoryW((*this / relative).c_str(), nullptr) != FALSE;
}

Snapshot ScratchFolder::Take() const {
    Snapshot snapshot;
    TakeBelow(L"", snapshot);
    return snapshot;
}

void ScratchFolder::TakeBelow(const std::wstring& relative, Snapshot& snapshot) const {
    ForEachEntry(relative.empty() ? m_root : *this / relative, [&](const std::wstring& name, bool isFolder) {
        const std::wstring entry = relative.empty() ? name : relative + L'\\' + name;
        snapshot[entry] = isFolder ? std::nullopt : ReadBytes(*this / entry);
        if (isFolder) TakeBelow(entry, snapshot);
    });
}

}  // namespace zo::test
