// The drawing surface of a user control: its window, colours, font, border
// and mouse pointer, its scale size in twips and its text metrics. The
// control's own code paints and measures through this object.
#pragma once

#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <string_view>

#include "common/com_ptr.h"
#include "runtime/control_window.h"
#include "runtime/text_measure.h"

namespace zo {

class ControlSurface {
public:
    ControlSurface() = default;
    ControlSurface(const ControlSurface&) = delete;
    ControlSurface& operator=(const ControlSurface&) = delete;
    ~ControlSurface();

    // Creates the window; its messages go to the handler.
    void Create(WindowMessageHandler& handler);
    void Destroy() noexcept;

    [[nodiscard]] HWND hWnd() const noexcept { return m_window; }
    // The device context to draw on: the window's own DC, or the DC a
    // container handed in for a print or a snapshot while that lasts.
    [[nodiscard]] HDC hDC() const noexcept;
    void SetDrawTarget(HDC dc) noexcept { m_drawTarget = dc; }
    // The whole window has just been drawn through hDC(): what waited for
    // WM_PAINT is up to date, so it is not painted a second time. Nothing
    // happens while drawing goes to a container's DC.
    void MarkPainted() const noexcept {
        if (!m_drawTarget && m_window) ::ValidateRect(m_window, nullptr);
    }

    // Client size in twips.
    [[nodiscard]] double ScaleWidth() const noexcept;
    [[nodiscard]] double ScaleHeight() const noexcept;
    // Text extent in twips with the current font (0 without a window).
    [[nodiscard]] double TextWidth(std::wstring_view text) const noexcept;
    [[nodiscard]] double TextHeight(std::wstring_view text) const noexcept;

    [[nodiscard]] OLE_COLOR BackColor() const noexcept { return m_backColor; }
    void SetBackColor(OLE_COLOR colour) noexcept;
    [[nodiscard]] OLE_COLOR ForeColor() const noexcept { return m_foreColor; }
    void SetForeColor(OLE_COLOR colour) noexcept;
    [[nodiscard]] bool Enabled() const noexcept { return m_enabled; }
    void SetEnabled(bool enabled) noexcept;

    [[nodiscard]] com_ptr<IFont> Font() const noexcept { return m_font; }
    // The surface shares the font object it is given.
    void SetFont(com_ptr<IFont> font) noexcept;
    // Selects the current font's handle into the surface's DC.
    void SelectCurrentFont() const noexcept;
    [[nodiscard]] double FontSize() const noexcept;

    [[nodiscard]] int16_t BorderStyle() const noexcept { return m_borderStyle; }
    void SetBorderStyle(int16_t style);  // 0 none, 1 fixed single; others: error 380

    [[nodiscard]] int16_t MousePointer() const noexcept { return m_mousePointer; }
    void SetMousePointer(int16_t pointer);  // 0..15 or 99; others: error 380
    [[nodiscard]] com_ptr<IPictureDisp> MouseIcon() const noexcept { return m_mouseIcon; }
    void SetMouseIcon(com_ptr<IPictureDisp> picture) noexcept { m_mouseIcon = std::move(picture); }
    // Answers WM_SETCURSOR; false when the default cursor applies.

    // Invalidates the whole window with erasing and paints it now.
    void Refresh() const noexcept;
    // Fills the client area with the back colour.
    void Erase(HDC dc) const noexcept;
    // Prints text at a position in twips, in the fore colour, transparent.
    // Throws Overflow (6) for a position beyond a Long of twips.
    void Print(double xTwips, double yTwips, std::wstring_view text) const;

private:
    [[nodiscard]] SIZE PixelExtent(std::wstring_view text) const noexcept;

    HWND m_window = nullptr;
    HDC m_drawTarget = nullptr;
    mutable TextMeasurer m_measurer;
    OLE_COLOR m_backColor = 0x80000005;
    OLE_COLOR m_foreColor = 0x80000008;
    bool m_enabled = true;
    com_ptr<IFont> m_font;
    int16_t m_borderStyle = 1;
    int16_t m_mousePointer = 0;
    com_ptr<IPictureDisp> m_mouseIcon;
};

}  // namespace zo
