// The mouse on a user control's own surface, as the control's handlers see
// it: positions in twips of the surface (Single), the button and shift state
// as Integers, the capture held while a button is down, and Click and
// DblClick made from the button messages in the platform's order:
//   press:        MouseDown, MouseUp, Click
//   double-click: MouseDown, MouseUp, Click, DblClick, MouseUp
// A double-click of the right or middle button counts as a press of it.
#pragma once

#include <windows.h>

#include <cstdint>

namespace zo {

// Button: 1 left, 2 right, 4 middle (for a move, the buttons held).
// Shift: 1 Shift, 2 Ctrl, 4 Alt.
struct SurfaceMouse {
    int16_t button = 0;
    int16_t shift = 0;
    float x = 0;  // twips
    float y = 0;
};

class SurfaceMouseHandler {
public:
    virtual void OnMouseDown(SurfaceMouse& mouse) = 0;
    virtual void OnMouseMove(SurfaceMouse& mouse) = 0;
    virtual void OnMouseUp(SurfaceMouse& mouse) = 0;
    virtual void OnClick() = 0;
    virtual void OnDblClick() = 0;

protected:
    ~SurfaceMouseHandler() = default;
};

class MouseRoute {
public:
    // Routes a client-area mouse message of `window` (or WM_CAPTURECHANGED)
    // to the handler; false for any other message. The handler may end the
    // control: the route touches nothing of it after a handler returns.
    bool Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam, SurfaceMouseHandler& handler);

private:
    void Press(HWND window, int16_t button) noexcept;
    // True when the released button was pressed on this surface.
    bool Release(HWND window, int16_t button) noexcept;

    int16_t m_pressed = 0;          // buttons pressed here and not yet released
    bool m_doubleClicked = false;   // the left button's release ends a double-click
};

}  // namespace zo
