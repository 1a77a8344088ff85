#include "runtime/mouse_route.h"

#include <windowsx.h>

#include "common/twips.h"

namespace zo {

namespace {

int16_t ShiftState(WPARAM keys) noexcept {
    return static_cast<int16_t>(((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) |
                                ((::GetKeyState(VK_MENU) < 0) ? 4 : 0));
}

int16_t ButtonsHeld(WPARAM keys) noexcept {
    return static_cast<int16_t>(((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
                                ((keys & MK_MBUTTON) ? 4 : 0));
}

SurfaceMouse MouseAt(int16_t button, WPARAM keys, LPARAM position) noexcept {
    SurfaceMouse mouse;
    mouse.button = button;
    mouse.shift = ShiftState(keys);
    mouse.x = static_cast<float>(TwipsFromPixelsX(GET_X_LPARAM(position)));
    mouse.y = static_cast<float>(TwipsFromPixelsY(GET_Y_LPARAM(position)));
    return mouse;
}

bool InsideClientArea(HWND window, LPARAM position) noexcept {
    RECT client{};
    ::GetClientRect(window, &client);
    const POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    return ::PtInRect(&client, point) != FALSE;
}

}  // namespace

void MouseRoute::Press(HWND window, int16_t button) noexcept {
    m_pressed = static_cast<int16_t>(m_pressed | button);
    if (::GetCapture() != window) ::SetCapture(window);
}

bool MouseRoute::Release(HWND window, int16_t button) noexcept {
    const bool pressedHere = (m_pressed & button) != 0;
    m_pressed = static_cast<int16_t>(m_pressed & ~button);
    if (m_pressed == 0 && ::GetCapture() == window) ::ReleaseCapture();
    return pressedHere;
}

bool MouseRoute::Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam, SurfaceMouseHandler& handler) {
    int16_t button = 0;
    switch (message) {
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: button = 1; break;
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: button = 2; break;
        case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: button = 4; break;
        default: break;
    }
    switch (message) {
        case WM_MOUSEMOVE: {
            SurfaceMouse mouse = MouseAt(ButtonsHeld(wParam), wParam, lParam);
            handler.OnMouseMove(mouse);
            return true;
        }
        case WM_LBUTTONDBLCLK:
            Press(window, button);
            m_doubleClicked = true;
            handler.OnDblClick();
            return true;
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: {
            Press(window, button);
            if (button == 1) m_doubleClicked = false;
            SurfaceMouse mouse = MouseAt(button, wParam, lParam);
            handler.OnMouseDown(mouse);
            return true;
        }
        case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: {
            const bool pressedHere = Release(window, button);
            const bool endsDoubleClick = button == 1 && m_doubleClicked;
            if (button == 1) m_doubleClicked = false;
            const bool click = pressedHere && !endsDoubleClick && InsideClientArea(window, lParam);
            SurfaceMouse mouse = MouseAt(button, wParam, lParam);
            handler.OnMouseUp(mouse);
            if (click) handler.OnClick();
            return true;
        }
        case WM_CAPTURECHANGED:
            // Another window took the mouse: the buttons down here are no
            // longer ours to release.
            if (reinterpret_cast<HWND>(lParam) != window) m_pressed = 0;
            return false;
        default:
            return false;
    }
}

}  // namespace zo
