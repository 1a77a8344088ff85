#include "window_support/scrollbar.h"

#include <cmath>

#include "common/twips.h"

namespace zo {

CScrollbar::~CScrollbar() {
    if (m_window) ::DestroyWindow(m_window);
}

void CScrollbar::RecreateScrollbar(HWND parent) noexcept {
    if (m_window) ::DestroyWindow(m_window);
    m_window = ::CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | SBS_VERT, 0, 0, 0, 0, parent, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    Place();
    ApplyRange();
    if (m_window) {
        ::EnableWindow(m_window, m_enabled ? TRUE : FALSE);
        ::ShowWindow(m_window, m_visible ? SW_SHOWNA : SW_HIDE);
    }
}

void CScrollbar::ApplyRange() const noexcept {
    if (!m_window) return;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    // The page is part of the range so that the thumb can reach Max.
    info.nMax = m_max + (m_largeChange > 1 ? m_largeChange - 1 : 0);
    info.nPage = static_cast<UINT>(m_largeChange > 0 ? m_largeChange : 1);
    info.nPos = m_value;
    ::SetScrollInfo(m_window, SB_CTL, &info, TRUE);
}

void CScrollbar::Place() const noexcept {
    if (!m_window) return;
    ::MoveWindow(m_window, static_cast<int>(std::lround(m_left / TwipsPerPixelX())),
                 static_cast<int>(std::lround(m_top / TwipsPerPixelY())),
                 static_cast<int>(std::lround(m_width / TwipsPerPixelX())),
                 static_cast<int>(std::lround(m_height / TwipsPerPixelY())), TRUE);
}

void CScrollbar::SetValue(int32_t value) noexcept {
    if (value == m_value) return;
    m_value = value;
    ApplyRange();
}

void CScrollbar::SetMax(int32_t value) noexcept {
    if (value == m_max) return;
    m_max = value;
    ApplyRange();
}

void CScrollbar::SetLargeChange(int32_t value) noexcept {
    if (value == m_largeChange) return;
    m_largeChange = value;
    ApplyRange();
}

void CScrollbar::SetEnabled(bool enabled) noexcept {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    if (m_window) ::EnableWindow(m_window, enabled ? TRUE : FALSE);
}

void CScrollbar::SetVisible(bool visible) noexcept {
    if (visible == m_visible) return;
    m_visible = visible;
    if (m_window) ::ShowWindow(m_window, visible ? SW_SHOWNA : SW_HIDE);
}

void CScrollbar::Move(double left, double top, double width, double height) noexcept {
    if (left == m_left && top == m_top && width == m_width && height == m_height) return;
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    Place();
}

}  // namespace zo
