// The drop-down button of a combo box: a child window drawn as a raised
// three-dimensional button carrying the arrow glyph. It looks the same
// whether the list is open or not. Its mouse and key input go to the combo
// box that owns it.
#pragma once

#include <windows.h>

#include "runtime/child_controls.h"

namespace zo {

class ZoComboBox;

// Draws the button's edges and, when this thread has a transparent painter,
// the arrow glyph centred, on a face already filled with the back colour.
// `width` and `height` are the button's client size in pixels.
void DrawComboButtonFace(HDC dc, int width, int height) noexcept;

class ComboButton final : public ChildControl {
public:
    explicit ComboButton(ZoComboBox& owner) noexcept : m_owner(owner) {}

    void Create(HWND parent) noexcept;
    // Repaints the whole button now.
    void Refresh() const noexcept;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    ZoComboBox& m_owner;
};

}  // namespace zo
