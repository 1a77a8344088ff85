// DemoWindow: the shape inspector. A frame window with the shape's canvas on
// the left, a PropertyList inspecting the shape on the right (in the
// system's ATL container window, "AtlAxWin" from atl.dll), the event log
// below them and a status line at the bottom. The demo talks to the list
// only late-bound, through IDispatch by name, and listens to its events
// through a plain IDispatch sink, as a script host would.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <memory>
#include <string>

#include "common/com_ptr.h"
#include "common/handles.h"
#include "demo/border_width_row.h"
#include "demo/control_events.h"
#include "demo/event_log.h"
#include "demo/script_player.h"
#include "demo/shape_model.h"
#include "demo/shape_view.h"
#include "demo/status_line.h"

namespace zo::demo {

inline constexpr wchar_t kPropertyListProgId[] = L"ZoPropertyList.PropertyList";

class Inspector;

class DemoWindow final : public ScriptTarget {
public:
    DemoWindow();
    DemoWindow(const DemoWindow&) = delete;
    DemoWindow& operator=(const DemoWindow&) = delete;
    ~DemoWindow();

    // Creates the (hidden) frame, its panes and the list, connects the event
    // sink and fills the list from the shape. Throws DemoError.
    void Create();
    // Disconnects the sink and destroys the windows (the container then
    // closes the control). Idempotent.
    void Destroy() noexcept;

    // Keys the demo handles itself (F6 between panes, the owner-drawn row's
    // editor), then keys for the list, offered to the control first as
    // containers do so that its editors get Tab, Enter and the arrow keys.
    // True when the message was used.
    [[nodiscard]] bool PreTranslateMessage(MSG& message) noexcept;

    // With a script playing, the file dialog is answered by the script.
    void UseScriptedBrowsing() noexcept;
    // Where the shape stands in the frame's client area.
    [[nodiscard]] RECT ShapeBoundsInFrame() const noexcept;

    // ScriptTarget
    [[nodiscard]] HWND Frame() const override { return m_frame; }
    [[nodiscard]] HWND ListWindow() const override;
    [[nodiscard]] long RowIndexOf(const std::wstring& name) const override;
    [[nodiscard]] long SelectedRow() const override;
    void QueueBrowseAnswer(std::wstring path) override;
    void Settle() override;

private:
    static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    [[nodiscard]] LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void LayOut() const noexcept;
    void CreateFrame();
    void CreatePanes();
    void HostList();
    [[nodiscard]] bool FocusIsInList() const noexcept;
    void FocusNextPane() noexcept;

    HWND m_frame = nullptr;
    unique_hfont m_font;
    ShapeModel m_model;
    ShapeView m_view;
    EventLog m_log;
    StatusLine m_status;
    BorderWidthRow m_borderWidth;
    HWND m_container = nullptr;
    HWND m_lastFocus = nullptr;
    com_ptr<IUnknown> m_control;
    com_ptr<IDispatch> m_list;
    std::unique_ptr<Inspector> m_inspector;
    EventConnection m_events;
};

}  // namespace zo::demo
