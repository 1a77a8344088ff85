// CControl: a native window the library creates by class name, caption, style bits and parent, then moves, sizes, restyles and destroys (all in pixels).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace zo {

// Where a window sits, in the client coordinates of its parent (screen
// coordinates for a window created without a parent).
struct PixelBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Describes a window first (class, caption, styles, parent), creates it on
// request and owns it from then on: Destroy, a second Create or the end of the
// object destroys it. Without a window the calls that need one do nothing, and
// the getters give 0.
class CControl {
public:
    // WS_CLIPSIBLINGS | WS_CLIPCHILDREN.
    static constexpr DWORD kInitialStyle = 0x06000000;

    CControl() = default;
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;
    ~CControl();

    // The window created by the last Create; nullptr while there is none.
    [[nodiscard]] HWND hWnd() const noexcept { return m_window; }

    [[nodiscard]] HWND Parent() const noexcept { return m_parent; }
    // Also re-parents the window when one exists.
    void SetParent(HWND parent) noexcept;

    // Takes effect at the next Create.
    [[nodiscard]] const std::wstring& ClassName() const noexcept { return m_className; }
    void SetClassName(std::wstring className) { m_className = std::move(className); }

    // With a window, the window's whole text (kept as the caption too).
    [[nodiscard]] const std::wstring& Caption();
    // Stores the text and sets it as the window text.
    void SetCaption(std::wstring caption);

    // Destroys the present window, if any, and creates a new one at (0, 0),
    // 100 x 100, with this module as its instance. Returns hWnd (nullptr on
    // failure).
    HWND Create() noexcept;
    // Destroys the window; nothing happens when there is none.
    void Destroy() noexcept;

    // True when every bit of `bits` is set.
    [[nodiscard]] bool Style(DWORD bits) const noexcept { return (m_style & bits) == bits; }
    [[nodiscard]] bool StyleEx(DWORD bits) const noexcept { return (m_styleEx & bits) == bits; }
    // Sets or clears the bits, and applies the whole style to the window.
    void SetStyle(DWORD bits, bool set) noexcept;
    void SetStyleEx(DWORD bits, bool set) noexcept;
    // The whole style words kept for the next Create.
    [[nodiscard]] DWORD StyleBits() const noexcept { return m_style; }
    [[nodiscard]] DWORD StyleExBits() const noexcept { return m_styleEx; }

    // Moves the window; each omitted value keeps the window's present one
    // (in the parent's client coordinates when a parent is set). Returns the
    // bounds used, or nothing when there is no window.
    std::optional<PixelBounds> Move(int left, std::optional<int> top = std::nullopt,
                                    std::optional<int> width = std::nullopt,
                                    std::optional<int> height = std::nullopt) noexcept;

    // Outer size of the window.
    [[nodiscard]] int Width() const noexcept;
    [[nodiscard]] int Height() const noexcept;
    void SetWidth(int width) noexcept;
    void SetHeight(int height) noexcept;

private:
    HWND m_window = nullptr;
    HWND m_parent = nullptr;
    DWORD m_style = kInitialStyle;
    DWORD m_styleEx = 0;
    std::wstring m_className;
    std::wstring m_caption;
};

}  // namespace zo
