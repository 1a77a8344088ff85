#include "runtime/mouse_route.h"

#include <windowsx.h>

#include <utility>

#include "common/twips.h"
#include "runtime/child_controls.h"

namespace zo {

namespace {

// The child controls' reading of a mouse message (button, shift, position),
// with the position in twips.
SurfaceMouse SurfaceMouseOf(const MouseEvent& event) noexcept {
    return SurfaceMouse{event.button, event.shift, static_cast<float>(TwipsFromPixelsX(event.x)),
                        static_cast<float>(TwipsFromPixelsY(event.y))};
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
    if (message == WM_CAPTURECHANGED) {
        // Another window took the mouse: the buttons down here are no longer
        // ours to release.
        if (reinterpret_cast<HWND>(lParam) != window) m_pressed = 0;
        return false;
    }
    if (!IsMouseMessage(message)) return false;
    const MouseEvent event = MouseEventOf(message, wParam, lParam);
    SurfaceMouse mouse = SurfaceMouseOf(event);
    if (message == WM_LBUTTONDBLCLK) {
        Press(window, event.button);
        m_doubleClicked = true;
        handler.OnDblClick();
        return true;
    }
    switch (event.action) {
        case MouseAction::Move:
            handler.OnMouseMove(mouse);
            return true;
        case MouseAction::Down:  // a right or middle double-click too
            Press(window, event.button);
            if (event.button == 1) m_doubleClicked = false;
            handler.OnMouseDown(mouse);
            return true;
        case MouseAction::Up: {
            const bool pressedHere = Release(window, event.button);
            const bool endsDoubleClick = event.button == 1 && std::exchange(m_doubleClicked, false);
            const bool click = pressedHere && !endsDoubleClick && InsideClientArea(window, lParam);
            handler.OnMouseUp(mouse);
            if (click) handler.OnClick();
            return true;
        }
    }
    return false;
}

}  // namespace zo
