// DemoWindow: a frame window holding a PropertyList control and, beside it,
// a ZoColorPicker, each in the system's ATL container window ("AtlAxWin"
// from atl.dll). The demo talks to
// the control only late-bound, through IDispatch by name, and listens to its
// events through a plain IDispatch sink, as a script host would.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include <string>

#include "common/com_ptr.h"

namespace zo::demo {

inline constexpr wchar_t kPropertyListProgId[] = L"ZoPropertyList.PropertyList";
inline constexpr wchar_t kColorPickerProgId[] = L"ZoPropertyList.ZoColorPicker";

class DemoWindow {
public:
    DemoWindow() = default;
    DemoWindow(const DemoWindow&) = delete;
    DemoWindow& operator=(const DemoWindow&) = delete;
    ~DemoWindow() { Destroy(); }

    // Creates the (hidden) frame, the containers and the controls, connects
    // the event sinks and fills the list with sample rows. Throws DemoError.
    void Create();
    // Disconnects the sinks and destroys the windows (the container then
    // closes the control). Idempotent.
    void Destroy() noexcept;

    // Offers a keystroke to the control first, as containers do, so that its
    // editors get Tab, Enter and the arrow keys. True when the control used it.
    [[nodiscard]] bool PreTranslateMessage(MSG& message) const noexcept;

    [[nodiscard]] HWND Frame() const noexcept { return m_frame; }
    // The control's own window once it is active in place; null before.
    [[nodiscard]] HWND ControlWindow() const noexcept;

private:
    static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void LayOut() const noexcept;

    void CreateFrame();
    void CreateContainers();
    void ConnectEvents(const com_ptr<IUnknown>& control, com_ptr<IConnectionPoint>& connected, DWORD& cookie);
    void FillList();

    HWND m_frame = nullptr;
    HWND m_container = nullptr;
    com_ptr<IUnknown> m_control;
    com_ptr<IDispatch> m_list;
    com_ptr<IConnectionPoint> m_eventPoint;
    DWORD m_eventCookie = 0;
    HWND m_pickerContainer = nullptr;
    com_ptr<IUnknown> m_pickerControl;
    com_ptr<IDispatch> m_picker;
    com_ptr<IConnectionPoint> m_pickerEventPoint;
    DWORD m_pickerEventCookie = 0;
};

}  // namespace zo::demo
