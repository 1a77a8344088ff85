#include "combo_box/combo_button.h"

#include "colour_picking/paint_effects.h"
#include "combo_box/zo_combo_box.h"
#include "common/dpi.h"
#include "common/handles.h"
#include "common/ole_colour.h"
#include "runtime/control_window.h"
#include "runtime/line_drawing.h"

namespace zo {

namespace {

constexpr wchar_t kButtonClass[] = L"ZoComboButton";

}  // namespace

void DrawComboButtonFace(HDC dc, int width, int height) noexcept {
    DrawButtonEdges(dc, width, height);
    // A memory DC has no window: the screen's DPI then.
    const int scale = DropDownGlyphScale(DpiOfWindow(::WindowFromDC(dc)));
    // Integer division truncates toward zero, as the layout arithmetic does.
    DrawDropDownGlyph(dc, (width - kDropDownGlyphWidth * scale) / 2, (height - kDropDownGlyphHeight * scale) / 2,
                      scale);
}

void ComboButton::Create(HWND parent) noexcept {
    RegisterClassOnce(kButtonClass, WindowProc, 0);
    CreateWindowOf(parent, kButtonClass, 0, 0);
}

void ComboButton::Refresh() const noexcept {
    if (!hWnd()) return;
    ::InvalidateRect(hWnd(), nullptr, TRUE);
    ::UpdateWindow(hWnd());
}

LRESULT CALLBACK ComboButton::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    // The property is set once the window exists and goes before it is
    // destroyed; messages outside that span get the default handling.
    auto* self = static_cast<ComboButton*>(FromWindow(window));
    if (!self || !self->m_owner.m_alive) return ::DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client{};
            ::GetClientRect(window, &client);
            const HDC dc = reinterpret_cast<HDC>(wParam);
            ::FillRect(dc, &client, self->PrepareColours(dc));
            return 1;
        }
        case WM_PAINT:
        case WM_PRINTCLIENT: {
            RECT client{};
            ::GetClientRect(window, &client);
            if (message == WM_PAINT) {
                const unique_hdc_paint paint(window);
                DrawComboButtonFace(paint.get(), client.right, client.bottom);
            } else {
                const HDC dc = reinterpret_cast<HDC>(wParam);
                ::FillRect(dc, &client, self->PrepareColours(dc));
                DrawComboButtonFace(dc, client.right, client.bottom);
            }
            return 0;
        }
        case WM_LBUTTONDOWN:
            // Like any control, the button keeps the mouse while a button is
            // down on it, so that the release comes back here.
            ::SetCapture(window);
            try {
                self->m_owner.ButtonPress();
            } catch (...) {
            }
            return 0;
        case WM_LBUTTONUP:
            if (::GetCapture() == window) ::ReleaseCapture();
            self->m_owner.ButtonRelease();
            return 0;
        case WM_KEYDOWN:
            self->m_owner.ButtonKeyDown(wParam);
            return 0;
        case WM_SYSKEYDOWN:
            // Raised like the text box's; the default handling then runs the
            // system keys (the menu on F10 and Alt).
            if (!self->m_owner.ButtonSysKeyDown(wParam) || !::IsWindow(window)) return 0;
            break;
        case WM_CHAR:
            self->m_owner.ButtonChar(wParam);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace zo
