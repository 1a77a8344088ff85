// The native window behind a control surface. Created when the control is
// created, it waits hidden under a per-thread parking window until a
// container activates the control in place, and goes back there when the
// control is deactivated, so that the control always has a window handle
// and a device context to measure text with.
#pragma once

#include <windows.h>

namespace zo {

class WindowMessageHandler {
public:
    // Returns true when the message was handled and *result holds the answer.
    virtual bool HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     LRESULT* result) noexcept = 0;
    // The window is going: no more messages reach the handler after this.
    virtual void OnWindowDestroyed() noexcept = 0;

protected:
    ~WindowMessageHandler() = default;
};

// Registers a window class of this module unless it is registered already.
void RegisterClassOnce(const wchar_t* name, WNDPROC procedure, UINT style) noexcept;

// The hidden top-level window that holds inactive control windows.
[[nodiscard]] HWND ParkingWindow() noexcept;

// Destroys this thread's parking window and unregisters the module's window
// classes, so that a later load of the module, perhaps at another address,
// registers them afresh. Classes that still have windows stay registered.
void ReleaseModuleWindows() noexcept;

// Creates a hidden child window of the parking window whose messages go to
// the handler. The window has its own DC (CS_OWNDC) and takes double-clicks.
[[nodiscard]] HWND CreateControlWindow(WindowMessageHandler& handler, DWORD style, DWORD exStyle) noexcept;

// Whether `window` is a user control's own window (made by CreateControlWindow).
[[nodiscard]] bool IsControlWindow(HWND window) noexcept;

// The message a child window sends to the user control it belongs to when
// the focus enters it (wParam TRUE) or leaves it (wParam FALSE; lParam is
// the window that gets the focus, or null).
[[nodiscard]] UINT ChildFocusMessage() noexcept;
// Sends ChildFocusMessage to the nearest ancestor of `child` that is a user
// control's window, if there is one.
void ReportChildFocus(HWND child, bool gained, HWND other) noexcept;

}  // namespace zo
