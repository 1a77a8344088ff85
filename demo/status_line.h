// The line under the panes that says what the last change did, or why the
// shape refused it (in red).
#pragma once

#include <windows.h>

#include <string>

namespace zo::demo {

class StatusLine {
public:
    StatusLine() = default;
    StatusLine(const StatusLine&) = delete;
    StatusLine& operator=(const StatusLine&) = delete;
    ~StatusLine();

    void Create(HWND parent, HFONT font);  // throws DemoError
    [[nodiscard]] HWND Window() const noexcept { return m_window; }

    void Say(const std::wstring& text) noexcept { Set(text, false); }
    void Refuse(const std::wstring& reason) noexcept { Set(reason, true); }
    // The text colour for the frame's WM_CTLCOLORSTATIC.
    [[nodiscard]] COLORREF TextColour() const noexcept;

private:
    void Set(const std::wstring& text, bool refusal) noexcept;

    HWND m_window = nullptr;
    bool m_refusal = false;
};

}  // namespace zo::demo
