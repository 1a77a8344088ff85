#include "tests/dpi/log_pixels_override.h"

namespace zo::test {

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";
// Where the value found before a change is kept while the change lasts
// (0 for "absent"): a run that dies before it restores leaves it here.
constexpr wchar_t kBackupKey[] = L"Software\\ZoPropList\\Tests";
constexpr wchar_t kBackupValue[] = L"LogPixelsBeforeDpiTests";

std::optional<DWORD> ReadDword(const wchar_t* key, const wchar_t* name) noexcept {
    DWORD value = 0, size = sizeof(value);
    if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

bool WriteDword(const wchar_t* key, const wchar_t* name, DWORD value) noexcept {
    return ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_DWORD, &value, sizeof(value)) == ERROR_SUCCESS;
}

void DeleteValue(const wchar_t* key, const wchar_t* name) noexcept {
    (void)::RegDeleteKeyValueW(HKEY_CURRENT_USER, key, name);
}

void PutBack(std::optional<DWORD> original) noexcept {
    if (original && *original != 0)
        (void)WriteDword(kDesktopKey, kLogPixels, *original);
    else
        DeleteValue(kDesktopKey, kLogPixels);
}

}  // namespace

std::optional<DWORD> UserLogPixels() noexcept { return ReadDword(kDesktopKey, kLogPixels); }

LogPixelsOverride::LogPixelsOverride() {
    if (const std::optional<DWORD> left = ReadDword(kBackupKey, kBackupValue)) {
        PutBack(left);
        DeleteValue(kBackupKey, kBackupValue);
    }
    m_original = UserLogPixels();
}

LogPixelsOverride::~LogPixelsOverride() { Restore(); }

bool LogPixelsOverride::Set(DWORD dpi) noexcept {
    if (!m_changed) {
        if (!WriteDword(kBackupKey, kBackupValue, m_original.value_or(0))) return false;
        m_changed = true;
    }
    return WriteDword(kDesktopKey, kLogPixels, dpi);
}

void LogPixelsOverride::Restore() noexcept {
    if (!m_changed) return;
    PutBack(m_original);
    DeleteValue(kBackupKey, kBackupValue);
    m_changed = false;
}

}  // namespace zo::test
