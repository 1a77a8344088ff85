// A vertical scroll bar over the native "SCROLLBAR" window class, placed in
// twips on its parent. It keeps its range, position and page whatever the
// window does, so that the values survive re-creating the window.
#pragma once

#include <windows.h>

#include <cstdint>

namespace zo {

class CScrollbar {
public:
    CScrollbar() = default;
    CScrollbar(const CScrollbar&) = delete;
    CScrollbar& operator=(const CScrollbar&) = delete;
    ~CScrollbar();

    // Creates (again) the scroll bar window on the parent.
    void RecreateScrollbar(HWND parent) noexcept;
    [[nodiscard]] HWND hWnd() const noexcept { return m_window; }

    [[nodiscard]] int32_t Value() const noexcept { return m_value; }
    void SetValue(int32_t value) noexcept;
    [[nodiscard]] int32_t Max() const noexcept { return m_max; }
    void SetMax(int32_t value) noexcept;
    [[nodiscard]] int32_t LargeChange() const noexcept { return m_largeChange; }
    void SetLargeChange(int32_t value) noexcept;
    [[nodiscard]] bool Enabled() const noexcept { return m_enabled; }
    void SetEnabled(bool enabled) noexcept;
    [[nodiscard]] bool Visible() const noexcept { return m_visible; }
    void SetVisible(bool visible) noexcept;

    // Geometry in twips of the parent.
    [[nodiscard]] double Width() const noexcept { return m_width; }
    void Move(double left, double top, double width, double height) noexcept;

private:
    void ApplyRange() const noexcept;
    void Place() const noexcept;
    HWND m_window = nullptr;
    int32_t m_value = 0;
    int32_t m_max = 0;
    int32_t m_largeChange = 1;
    bool m_enabled = true;
    bool m_visible = true;
    double m_left = 0, m_top = 0, m_width = 255, m_height = 1200;
};

}  // namespace zo
