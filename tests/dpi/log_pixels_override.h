// The logical DPI Wine gives a process comes from the registry value
// LogPixels under HKCU\Control Panel\Desktop, read as the process starts
// (without it, the machine-wide value under HKLM, 96 in a new prefix). The
// tests of other DPIs set that value for the child processes they start and
// put it back afterwards, so that the programs that run later on the same
// prefix see the DPI they always did.
#pragma once

#include <windows.h>

#include <optional>

namespace zo::test {

class LogPixelsOverride {
public:
    // Puts back a value a run that never finished left set, so that a
    // crashed or killed run is repaired by the next one.
    LogPixelsOverride();
    LogPixelsOverride(const LogPixelsOverride&) = delete;
    LogPixelsOverride& operator=(const LogPixelsOverride&) = delete;
    // Puts the value back as it was found (removed when it was absent).
    ~LogPixelsOverride();

    // Processes started from now on run at `dpi`. False when the value could
    // not be written.
    [[nodiscard]] bool Set(DWORD dpi) noexcept;
    void Restore() noexcept;

private:
    std::optional<DWORD> m_original;  // nullopt: the value was absent
    bool m_changed = false;
};

// The value as it is now; nullopt when absent.
[[nodiscard]] std::optional<DWORD> UserLogPixels() noexcept;

}  // namespace zo::test
