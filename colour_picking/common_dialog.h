// CommonDialog: the Windows colour dialog, opened with the caller's flags and 16 custom colours that persist between openings.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <array>
#include <cstdint>

namespace zo {

class CommonDialog {
public:
    static constexpr int kCustomColourCount = 16;
    // Added to the caller's flags at every opening: start on the given colour.
    static constexpr DWORD kAlwaysFlags = CC_RGBINIT;

    CommonDialog() noexcept;

    // CHOOSECOLOR flags (CC_FULLOPEN, CC_ANYCOLOR, ...).
    [[nodiscard]] DWORD Flags() const noexcept { return m_flags; }
    void SetFlags(DWORD flags) noexcept { m_flags = flags; }

    // The colour chosen at the last ShowColor, or -1 when it was cancelled.
    [[nodiscard]] std::int32_t Color() const noexcept { return m_color; }
    void SetColor(std::int32_t colour) noexcept { m_color = colour; }

    // Custom colour 0..15 (white at first); other indices read 0 and are
    // ignored when set.
    [[nodiscard]] std::int32_t CustomColors(int index) const noexcept;
    void SetCustomColors(int index, std::int32_t colour) noexcept;

    // Runs the modal colour dialog, owned by the active window, starting on
    // initColor (an OLE colour). Returns Color: the chosen RGB colour, or -1
    // when the user cancelled or the dialog failed. The custom colours are
    // read and updated by the dialog.
    std::int32_t ShowColor(std::int32_t initColor = 0) noexcept;

private:
    DWORD m_flags = 0;
    std::int32_t m_color = 0;
    std::array<COLORREF, kCustomColourCount> m_customColours{};
};

}  // namespace zo
