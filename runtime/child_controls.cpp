#include "runtime/child_controls.h"

#include <windowsx.h>

#include <cmath>

#include "common/ole_colour.h"
#include "common/twips.h"
#include "runtime/control_window.h"
#include "runtime/module.h"

namespace zo {

namespace {

constexpr wchar_t kChildProperty[] = L"ZoChildPtr";
constexpr wchar_t kPictureClass[] = L"ZoPictureBox";

int ToPixelsX(double twips) noexcept { return static_cast<int>(std::lround(twips / TwipsPerPixelX())); }
int ToPixelsY(double twips) noexcept { return static_cast<int>(std::lround(twips / TwipsPerPixelY())); }

}  // namespace

ChildControl::~ChildControl() { Destroy(); }

void ChildControl::CreateWindowOf(HWND parent, const wchar_t* className, DWORD style, DWORD exStyle) noexcept {
    m_window = ::CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_CLIPSIBLINGS | style, ToPixelsX(m_left),
                                 ToPixelsY(m_top), ToPixelsX(m_width), ToPixelsY(m_height), parent, nullptr,
                                 ModuleInstance(), this);
    if (!m_window) return;
    m_childProperty = unique_window_property(m_window, kChildProperty, this);
    if (m_visible) ::ShowWindow(m_window, SW_SHOWNA);
}

void ChildControl::Destroy() noexcept {
    if (HWND window = std::exchange(m_window, nullptr)) {
        m_childProperty.reset();
        m_font.DetachWindow();
        ::DestroyWindow(window);
    }
}

ChildControl* ChildControl::FromWindow(HWND window) noexcept {
    return window ? static_cast<ChildControl*>(::GetPropW(window, kChildProperty)) : nullptr;
}

void ChildControl::Move(double left, double top, double width, double height) noexcept {
    const bool unchanged = left == m_left && top == m_top && width == m_width && height == m_height;
    m_left = left;
    m_top = top;
    m_width = width < 0 ? 0 : width;
    m_height = height < 0 ? 0 : height;
    if (unchanged || !m_window) return;
    ::SetWindowPos(m_window, nullptr, ToPixelsX(m_left), ToPixelsY(m_top), ToPixelsX(m_width), ToPixelsY(m_height),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

double ChildControl::ScaleWidth() const noexcept {
    RECT client{};
    if (m_window) ::GetClientRect(m_window, &client);
    return static_cast<double>(client.right - client.left) * TwipsPerPixelX();
}

double ChildControl::ScaleHeight() const noexcept {
    RECT client{};
    if (m_window) ::GetClientRect(m_window, &client);
    return static_cast<double>(client.bottom - client.top) * TwipsPerPixelY();
}

void ChildControl::SetVisible(bool visible) noexcept {
    if (visible == m_visible) return;
    m_visible = visible;
    if (m_window) ::ShowWindow(m_window, visible ? SW_SHOWNA : SW_HIDE);
}

void ChildControl::SetBackColor(OLE_COLOR colour) noexcept {
    if (colour == m_backColor) return;
    m_backColor = colour;
    m_backBrush.reset();
    if (m_window) ::InvalidateRect(m_window, nullptr, TRUE);
}

void ChildControl::SetForeColor(OLE_COLOR colour) noexcept {
    if (colour == m_foreColor) return;
    m_foreColor = colour;
    if (m_window) ::InvalidateRect(m_window, nullptr, TRUE);
}

void ChildControl::SetFont(com_ptr<IFont> font) noexcept { m_font.Attach(m_window, std::move(font)); }

void ChildControl::SetFocus() const noexcept {
    if (m_window) ::SetFocus(m_window);
}

void ChildControl::RefreshColours() noexcept {
    m_backBrush.reset();
    if (m_window) ::InvalidateRect(m_window, nullptr, TRUE);
}

HBRUSH ChildControl::PrepareColours(HDC dc) noexcept {
    const COLORREF back = TranslateColour(m_backColor);
    if (!m_backBrush) m_backBrush.reset(::CreateSolidBrush(back));
    ::SetTextColor(dc, TranslateColour(m_foreColor));
    ::SetBkColor(dc, back);
    return m_backBrush.get();
}

// --- PictureBox ---------------------------------------------------------------

void PictureBox::Create(HWND parent) noexcept {
    RegisterClassOnce(kPictureClass, WindowProc, CS_DBLCLKS);
    CreateWindowOf(parent, kPictureClass, WS_CLIPCHILDREN, 0);
}

void PictureBox::Refresh() const noexcept {
    if (!hWnd()) return;
    ::InvalidateRect(hWnd(), nullptr, TRUE);
    ::UpdateWindow(hWnd());
}

MouseEvent MouseEventOf(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    MouseEvent event{MouseAction::Move, 0, 0, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: event = {MouseAction::Down, 1, 0, event.x, event.y}; break;
        case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: event = {MouseAction::Down, 2, 0, event.x, event.y}; break;
        case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: event = {MouseAction::Down, 4, 0, event.x, event.y}; break;
        case WM_LBUTTONUP: event = {MouseAction::Up, 1, 0, event.x, event.y}; break;
        case WM_RBUTTONUP: event = {MouseAction::Up, 2, 0, event.x, event.y}; break;
        case WM_MBUTTONUP: event = {MouseAction::Up, 4, 0, event.x, event.y}; break;
        default:
            event.button = static_cast<int16_t>(((wParam & MK_LBUTTON) ? 1 : 0) | ((wParam & MK_RBUTTON) ? 2 : 0) |
                                                ((wParam & MK_MBUTTON) ? 4 : 0));
            break;
    }
    event.shift = static_cast<int16_t>(((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0) |
                                       ((::GetKeyState(VK_MENU) < 0) ? 4 : 0));
    return event;
}

bool IsMouseMessage(UINT message) noexcept {
    return message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK;
}

void PictureBox::OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    const MouseEvent event = MouseEventOf(message, wParam, lParam);
    if (event.action == MouseAction::Down) {
        if (m_takesFocus && ::GetFocus() != window) ::SetFocus(window);
        ::SetCapture(window);
    }
    if (message == WM_LBUTTONDBLCLK && m_dblClick) {
        try {
            m_dblClick();  // may end this box
        } catch (...) {
        }
        return;
    }
    const bool buttonsHeld = (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
    if (event.action == MouseAction::Up && !buttonsHeld && ::GetCapture() == window) ::ReleaseCapture();
    if (!m_mouse) return;
    try {
        m_mouse(event);  // may end this box: nothing of it is used afterwards
    } catch (...) {
    }
}

// True when a handler dropped the key.
bool PictureBox::OnKey(UINT message, WPARAM wParam) noexcept {
    try {
        if (message == WM_CHAR) {
            if (!m_keyPress) return false;
            auto key = static_cast<int16_t>(wParam);
            m_keyPress(key);  // may end this box
            return key == 0;
        }
        if (!m_keyDown) return false;
        auto key = static_cast<int16_t>(wParam);
        int16_t shift = KeyboardShiftState();
        m_keyDown(key, shift);
        return key == 0;
    } catch (...) {
        return true;
    }
}

LRESULT CALLBACK PictureBox::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* self = static_cast<PictureBox*>(FromWindow(window));
    if (self && IsMouseMessage(message)) {
        self->OnMouse(window, message, wParam, lParam);
        return 0;
    }
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_CHAR:
            if (self && self->OnKey(message, wParam)) return 0;
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            ReportChildFocus(window, message == WM_SETFOCUS, reinterpret_cast<HWND>(wParam));
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SIZE:
            if (self && self->m_resize) {
                try {
                    self->m_resize();
                } catch (...) {
                }
            }
            return 0;
        case WM_ERASEBKGND:
            if (self) {
                RECT client{};
                ::GetClientRect(window, &client);
                ::FillRect(reinterpret_cast<HDC>(wParam), &client, self->PrepareColours(reinterpret_cast<HDC>(wParam)));
                return 1;
            }
            break;
        case WM_PAINT:
        case WM_PRINTCLIENT: {
            PAINTSTRUCT paint{};
            HDC dc = message == WM_PAINT ? ::BeginPaint(window, &paint) : reinterpret_cast<HDC>(wParam);
            if (self && self->m_painter) {
                RECT client{};
                ::GetClientRect(window, &client);
                if (message == WM_PRINTCLIENT) ::FillRect(dc, &client, self->PrepareColours(dc));
                try {
                    self->m_painter(dc, client);
                } catch (...) {
                }
            }
            if (message == WM_PAINT) ::EndPaint(window, &paint);
            return 0;
        }
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace zo
