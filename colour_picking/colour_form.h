// frmColor: the small top-most form that pops up a ZoColorPicker under a
// colour-valued row. It hides itself on a pick or when the user activates
// another window, reports the pick through ColorPicked, and keeps the user's
// palette between popups (and, through the palette file, between runs).
//
// The caller's order: touch the form (Picker() or hWnd() load it), SetColor
// on the picker, place the form with SetWindowPos (HWND_TOPMOST, NOSIZE |
// NOACTIVATE), Popup, then handle ColorPicked (the form is hidden by then).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "colour_picking/palette.h"
#include "colour_picking/palette_file.h"
#include "colour_picking/zo_color_picker.h"
#include "common/com_ptr.h"
#include "common/window_subclass.h"
#include "runtime/accessible_hook.h"

namespace zo {

class ColorForm {
public:
    explicit ColorForm(PaletteFile paletteFile = PaletteFile());
    ColorForm(const ColorForm&) = delete;
    ColorForm& operator=(const ColorForm&) = delete;
    ~ColorForm();

    // The embedded picker and the form's window; either loads the form.
    [[nodiscard]] ZoColorPicker& Picker();
    [[nodiscard]] HWND hWnd();
    [[nodiscard]] bool Loaded() const noexcept { return m_window != nullptr; }
    [[nodiscard]] bool Visible() const noexcept { return m_window && ::IsWindowVisible(m_window); }

    // Shows and activates the form where the caller placed it.
    void Popup();
    void Hide() noexcept;
    // Keeps the picker's palette for the next load, then closes the picker
    // and destroys the window. Nothing happens when not loaded.
    void Unload() noexcept;

    // What assistive clients call the form (a dialog): what it picks.
    void SetAccessibleName(std::wstring name) { m_accessibleName = std::move(name); }
    [[nodiscard]] const std::wstring& AccessibleName() const noexcept { return m_accessibleName; }

    // The colour picked, by reference; raised once per pick, after hiding.
    void SetColorPickedListener(std::function<void(int32_t&)> listener) { m_onColorPicked = std::move(listener); }

    // Reads and writes the palette file. Saving takes the palette of a loaded
    // picker first, so that nothing the user redefined is lost.
    void LoadSavedColors() noexcept;
    void SaveSavedColors() noexcept;
    [[nodiscard]] const std::optional<PaletteColours>& SavedColors() const noexcept { return m_savedColors; }

private:
    void Form_Load();
    // Assistive clients see the form as a dialog named AccessibleName
    // (picker_accessible.cpp).
    void AnswerAsDialog() noexcept;
    // A length designed in pixels at 96 DPI, at the form's DPI.
    [[nodiscard]] int FormPixels(int pixelsAt96) const noexcept;
    void CreatePicker();
    void ReleasePicker() noexcept;
    void Form_Resize() noexcept;
    void zocr_ColorPicked(int32_t colour);
    void OnDeactivated(HWND activated) noexcept;
    [[nodiscard]] bool OwnsWindow(HWND window) const noexcept;
    static LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK ColorFormWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    PaletteFile m_paletteFile;
    std::optional<PaletteColours> m_savedColors;
    HWND m_window = nullptr;
    com_ptr<ZoColorPicker> m_picker;
    WindowSubclass m_subclass;
    std::function<void(int32_t&)> m_onColorPicked;
    std::wstring m_accessibleName = L"Colour";
    AccessibleHook m_accessibleHook;
};

}  // namespace zo
