// The intrinsic child controls a user control places on its surface: a text
// box over the native EDIT control and a picture box. Positions and sizes
// are twips of the parent surface; every setter leaves the window alone when
// nothing changes, so that repeated layout costs no window traffic.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/com_ptr.h"
#include "common/handles.h"
#include "common/window_subclass.h"
#include "runtime/accessible_hook.h"
#include "runtime/window_font.h"

namespace zo {

class ChildControl {
public:
    ChildControl() = default;
    ChildControl(const ChildControl&) = delete;
    ChildControl& operator=(const ChildControl&) = delete;
    virtual ~ChildControl();

    [[nodiscard]] HWND hWnd() const noexcept { return m_window; }

    [[nodiscard]] double Left() const noexcept { return m_left; }
    [[nodiscard]] double Top() const noexcept { return m_top; }
    [[nodiscard]] double Width() const noexcept { return m_width; }
    [[nodiscard]] double Height() const noexcept { return m_height; }
    void SetLeft(double twips) noexcept { Move(twips, m_top, m_width, m_height); }
    void SetTop(double twips) noexcept { Move(m_left, twips, m_width, m_height); }
    void SetWidth(double twips) noexcept { Move(m_left, m_top, twips, m_height); }
    void SetHeight(double twips) noexcept { Move(m_left, m_top, m_width, twips); }
    void Move(double left, double top, double width, double height) noexcept;
    // Client size in twips.
    [[nodiscard]] double ScaleWidth() const noexcept;
    [[nodiscard]] double ScaleHeight() const noexcept;

    [[nodiscard]] bool Visible() const noexcept { return m_visible; }
    void SetVisible(bool visible) noexcept;

    [[nodiscard]] OLE_COLOR BackColor() const noexcept { return m_backColor; }
    void SetBackColor(OLE_COLOR colour) noexcept;
    [[nodiscard]] OLE_COLOR ForeColor() const noexcept { return m_foreColor; }
    void SetForeColor(OLE_COLOR colour) noexcept;

    [[nodiscard]] com_ptr<IFont> Font() const noexcept { return m_font.Font(); }
    // The control shares the font object it is given, and follows its
    // changes: the window always has the object's current font.
    void SetFont(com_ptr<IFont> font) noexcept;
    void SetFocus() const noexcept;

    // Colours for WM_CTLCOLOR* sent to the parent about this child.
    [[nodiscard]] HBRUSH PrepareColours(HDC dc) noexcept;
    // Drops the cached background brush and repaints, so that system colours
    // are read afresh after the user changes the colour scheme.
    void RefreshColours() noexcept;
    // The child control behind a window created by this class, if any.
    [[nodiscard]] static ChildControl* FromWindow(HWND window) noexcept;
    // A notification (WM_COMMAND code) the window sent to its parent.
    virtual void OnCommand(WORD code) noexcept { (void)code; }

protected:
    void CreateWindowOf(HWND parent, const wchar_t* className, DWORD style, DWORD exStyle) noexcept;
    void Destroy() noexcept;

private:
    HWND m_window = nullptr;
    unique_window_property m_childProperty;  // "ZoChildPtr": this object, for FromWindow
    double m_left = 0, m_top = 0, m_width = 1215, m_height = 285;
    bool m_visible = true;
    OLE_COLOR m_backColor = 0x80000005;
    OLE_COLOR m_foreColor = 0x80000008;
    WindowFont m_font;
    unique_hbrush m_backBrush;
};

// Key handlers get the key by reference: setting it to 0 drops the key.
using KeyPressHandler = std::function<void(int16_t& keyAscii)>;
using KeyDownHandler = std::function<void(int16_t& keyCode, int16_t& shift)>;

// The shift state of the keyboard now: 1 Shift, 2 Ctrl, 4 Alt.
[[nodiscard]] int16_t KeyboardShiftState() noexcept;

// The text box raises GotFocus, Change, KeyDown and KeyPress. Its window is
// subclassed (window properties "ZoTextBoxProc" and "ZoTextBoxPtr") for the
// keys and the focus; Change comes from the EDIT control's notification.
class TextBox final : public ChildControl {
public:
    static constexpr wchar_t kProcProperty[] = L"ZoTextBoxProc";
    static constexpr wchar_t kObjectProperty[] = L"ZoTextBoxPtr";

    TextBox() noexcept : m_subclass(kProcProperty, kObjectProperty) {}
    void Create(HWND parent) noexcept;

    void SetGotFocusHandler(std::function<void()> handler) { m_gotFocus = std::move(handler); }
    void SetChangeHandler(std::function<void()> handler) { m_change = std::move(handler); }
    void SetKeyPressHandler(KeyPressHandler handler) { m_keyPress = std::move(handler); }
    void SetKeyDownHandler(KeyDownHandler handler) { m_keyDown = std::move(handler); }
    void OnCommand(WORD code) noexcept override;

    [[nodiscard]] std::wstring Text() const;
    void SetText(const std::wstring& text) noexcept;
    [[nodiscard]] bool Locked() const noexcept { return m_locked; }
    void SetLocked(bool locked) noexcept;
    [[nodiscard]] long SelStart() const noexcept;
    void SetSelStart(long start) noexcept;
    [[nodiscard]] long SelLength() const noexcept;
    void SetSelLength(long length) noexcept;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    // Runs the key handlers; false when the key was dropped.
    bool OnKeyDown(WPARAM& key) noexcept;
    bool OnChar(WPARAM& key) noexcept;

    bool m_locked = false;
    std::function<void()> m_gotFocus;
    std::function<void()> m_change;
    KeyPressHandler m_keyPress;
    KeyDownHandler m_keyDown;
    WindowSubclass m_subclass;  // taken out before the base class destroys the window
};

// A mouse event of a child control: the button that changed (1 left,
// 2 right, 4 middle; for a move, the buttons held), the shift state
// (1 Shift, 2 Ctrl) and the position in pixels of the child's client area.
enum class MouseAction { Down, Move, Up };
struct MouseEvent {
    MouseAction action;
    int16_t button;
    int16_t shift;
    int x;
    int y;
};
using MouseHandler = std::function<void(const MouseEvent&)>;
// The mouse event a client-area mouse message describes.
[[nodiscard]] MouseEvent MouseEventOf(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
[[nodiscard]] bool IsMouseMessage(UINT message) noexcept;

class PictureBox final : public ChildControl {
public:
    void Create(HWND parent) noexcept;
    // Paints the face after the background has been filled.
    void SetPainter(std::function<void(HDC, const RECT&)> painter) { m_painter = std::move(painter); }
    // Mouse events. While a button is down the box holds the mouse capture,
    // so that moves and the release outside it still reach it.
    void SetMouseHandler(MouseHandler handler) { m_mouse = std::move(handler); }
    // With a double-click handler, a left double-click calls it instead of
    // counting as a second press.
    void SetDblClickHandler(std::function<void()> handler) { m_dblClick = std::move(handler); }
    // A box that takes the focus gets it when pressed, and raises its key
    // events while it has it.
    void SetTakesFocus(bool takesFocus) noexcept { m_takesFocus = takesFocus; }
    void SetKeyPressHandler(KeyPressHandler handler) { m_keyPress = std::move(handler); }
    void SetKeyDownHandler(KeyDownHandler handler) { m_keyDown = std::move(handler); }
    // Called after the box changed its size.
    void SetResizeHandler(std::function<void()> handler) { m_resize = std::move(handler); }
    void Refresh() const noexcept;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    bool OnKey(UINT message, WPARAM wParam) noexcept;
    std::function<void(HDC, const RECT&)> m_painter;
    MouseHandler m_mouse;
    std::function<void()> m_dblClick;
    bool m_takesFocus = false;
    KeyPressHandler m_keyPress;
    KeyDownHandler m_keyDown;
    std::function<void()> m_resize;
};

// The native list box. Rows carry a 32-bit data value each. The window is
// subclassed (window properties "ZoListBoxProc" and "ZoListBoxPtr") so that
// the list reports mouse presses.
class ListBox final : public ChildControl {
public:
    static constexpr wchar_t kProcProperty[] = L"ZoListBoxProc";
    static constexpr wchar_t kObjectProperty[] = L"ZoListBoxPtr";

    ListBox() noexcept : m_subclass(kProcProperty, kObjectProperty) {}
    // An owner-drawn list asks its parent to draw every row (WM_DRAWITEM).
    void Create(HWND parent, bool ownerDrawn) noexcept;

    void AddItem(const std::wstring& text, int32_t itemData);
    [[nodiscard]] int32_t ListCount() const noexcept;
    // The text of a row; empty for a row that does not exist.
    [[nodiscard]] std::wstring List(int32_t index) const;
    // The data of a row; nullopt for a row that does not exist.
    [[nodiscard]] std::optional<int32_t> ItemData(int32_t index) const noexcept;
    // The selected row, -1 for none.
    [[nodiscard]] int32_t ListIndex() const noexcept;
    void SetListIndex(int32_t index) noexcept;
    void SetItemHeight(int pixels) noexcept;
    // Mouse presses, reported after the list box has handled them (so the
    // clicked row is already selected).
    void SetMouseDownHandler(MouseHandler handler) { m_mouseDown = std::move(handler); }

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    MouseHandler m_mouseDown;
    WindowSubclass m_subclass;  // taken out before the base class destroys the window
    AccessibleHook m_accessible;  // names the items for assistive clients
};

}  // namespace zo
