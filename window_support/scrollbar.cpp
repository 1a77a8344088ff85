#include "window_support/scrollbar.h"

#include <optional>
#include <utility>

#include "common/twips.h"
#include "runtime/do_events.h"
#include "runtime/module.h"

namespace zo {

LRESULT CALLBACK ScrollbarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

namespace {

constexpr int kControlId = 0x666;
constexpr int kThickness = 25;  // pixels, before the owner places the bar
constexpr int kLength = 100;

RECT WindowRectOf(HWND window) noexcept {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

// The window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window) noexcept {
    RECT rect = WindowRectOf(window);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int32_t TwipsX(int pixels) noexcept { return pixels * TwipsPerPixelX(); }
int32_t TwipsY(int pixels) noexcept { return pixels * TwipsPerPixelY(); }
int PixelsX(int32_t twips) noexcept { return twips / TwipsPerPixelX(); }
int PixelsY(int32_t twips) noexcept { return twips / TwipsPerPixelY(); }

}  // namespace

CScrollbar::CScrollbar(CScrollbarEvents* events) noexcept
    : m_events(events), m_subclass(kScrollProcProperty, kScrollPtrProperty) {}

CScrollbar::~CScrollbar() {
    m_alive.reset();
    m_subclass.Remove();
    DestroyBar();
}

void CScrollbar::DestroyBar() noexcept {
    if (HWND window = std::exchange(m_window, nullptr); window && ::IsWindow(window)) ::DestroyWindow(window);
}

bool CScrollbar::Enabled() const noexcept { return ::IsWindowEnabled(m_window) != FALSE; }

void CScrollbar::SetEnabled(bool enabled) noexcept {
    if (!m_window) return;
    if (m_holdRedraw) {
        m_heldEnabled = enabled;
        return;
    }
    // Enabling repaints the bar even when nothing changes; skip that case.
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    if (enabled && ::GetScrollBarInfo(m_window, OBJID_CLIENT, &info) &&
        !((info.rgstate[0] | info.rgstate[1] | info.rgstate[5]) & STATE_SYSTEM_UNAVAILABLE))
        return;
    ::EnableScrollBar(m_window, SB_CTL, enabled ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
}

void CScrollbar::SetScrollType(int32_t scrollType) noexcept {
    m_scrollType = scrollType;
    if (m_window) RecreateScrollbar();
}

void CScrollbar::SetProportionalThumb(int32_t proportional) noexcept {
    m_proportionalThumb = proportional;
    if (m_window) RecreateScrollbar();
}

void CScrollbar::SetMax(int32_t newMax) noexcept {
    ShowRange(m_min, newMax);
    m_max = newMax;
}

void CScrollbar::SetMin(int32_t newMin) noexcept {
    ShowRange(newMin, m_max);
    m_min = newMin;
}

// Gives the bar the range and reads back what it kept.
void CScrollbar::ShowRange(int32_t low, int32_t high) noexcept {
    if (!m_window) return;
    if (m_holdRedraw) {
        m_min = low;
        m_max = high;
        m_heldState = true;
        return;
    }
    ::SetScrollRange(m_window, SB_CTL, low, high, Redraw());
    int keptLow = 0, keptHigh = 0;
    if (::GetScrollRange(m_window, SB_CTL, &keptLow, &keptHigh)) {
        m_min = keptLow;
        m_max = keptHigh;
    }
}

void CScrollbar::SetLargeChange(int32_t largeChange) noexcept {
    m_largeChange = largeChange;
    if (m_holdRedraw && m_window) {
        m_heldState = true;
        return;
    }
    if (m_window && m_proportionalThumb) SetPage(largeChange);
}

int32_t CScrollbar::Value() noexcept {
    if (m_heldState) return HeldPosition();
    if (m_window) m_value = ::GetScrollPos(m_window, SB_CTL);
    return m_value;
}

// Where the bar will put the stored value once it is given the held range:
// within Min .. Max, and with a proportional thumb no further than the last
// page starts.
int32_t CScrollbar::HeldPosition() const noexcept {
    int64_t last = m_max;
    if (m_proportionalThumb && m_largeChange > 1) last -= m_largeChange - 1;
    if (last < m_min) last = m_min;
    if (m_value < m_min) return m_min;
    return m_value > last ? static_cast<int32_t>(last) : m_value;
}

void CScrollbar::SetValue(int32_t newValue) noexcept {
    if (m_holdRedraw && m_window) {
        m_value = newValue;
        m_heldState = true;
        return;
    }
    if (m_window) {
        const int32_t shown = m_proportionalThumb && newValue > m_max ? m_max : newValue;
        ::SetScrollPos(m_window, SB_CTL, shown, Redraw());
    }
    m_value = newValue;
}

void CScrollbar::SetPage(int32_t page) noexcept {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ::GetScrollInfo(m_window, SB_CTL, &info);
    if (info.nPage == static_cast<UINT>(page)) return;  // nothing to change or repaint
    info.fMask = SIF_PAGE;
    info.nPage = static_cast<UINT>(page);
    ::SetScrollInfo(m_window, SB_CTL, &info, Redraw());
}

// While held, the range, page, position and enabled state are kept here
// and given to the window in one go when the hold ends: an owner filling a
// long list changes them on every row, and each change asked of the window
// costs far more than the row.
void CScrollbar::HoldRedraw(bool hold) noexcept {
    if (hold == m_holdRedraw) return;
    m_holdRedraw = hold;
    if (hold || !m_window) return;
    if (std::exchange(m_heldState, false)) {
        const int32_t value = m_value;
        ShowRange(m_min, m_max);
        if (m_proportionalThumb) SetPage(m_largeChange);
        SetValue(value);
    }
    if (const std::optional<bool> enabled = std::exchange(m_heldEnabled, std::nullopt)) SetEnabled(*enabled);
    ::InvalidateRect(m_window, nullptr, TRUE);
}

HWND CScrollbar::Parent() const noexcept { return m_window ? ::GetParent(m_window) : nullptr; }

void CScrollbar::SetParent(HWND parent) noexcept {
    if (m_window) ::SetParent(m_window, parent);
}

HWND CScrollbar::RecreateScrollbar(HWND parent) noexcept {
    if (m_window) {
        if (!parent) parent = ::GetParent(m_window);
        DestroyBar();
        const std::weak_ptr<int> alive = m_alive;
        DoEvents();
        if (alive.expired()) return parent;  // ended by a handler meanwhile
    }
    const bool vertical = m_scrollType != 0;
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (vertical ? SBS_VERT : SBS_HORZ);
    if (parent && ::IsWindow(parent)) {
        m_window = ::CreateWindowExW(0, L"SCROLLBAR", nullptr, style, 0, 0, vertical ? kThickness : kLength,
                                     vertical ? kLength : kThickness, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlId)), ModuleInstance(),
                                     nullptr);
    }
    if (parent && m_window) {
        ApplyStoredState();
        // The subclass goes with the bar: a new parent's notifications must
        // reach the wrapper, and the old parent gets its procedure back.
        if (m_subclass.Window() != parent) {
            m_subclass.Remove();
            (void)m_subclass.Install(parent, ScrollbarWndProc, this);
        }
    }
    return parent;
}

void CScrollbar::ApplyStoredState() noexcept {
    m_heldState = false;
    ::SetScrollRange(m_window, SB_CTL, m_min, m_max, TRUE);
    ::SetScrollPos(m_window, SB_CTL, m_value, TRUE);
    if (m_proportionalThumb) SetPage(m_largeChange);
}

int32_t CScrollbar::Width() const noexcept {
    const RECT rect = WindowRectOf(m_window);
    return TwipsX(rect.right - rect.left);
}

void CScrollbar::SetWidth(int32_t twips) noexcept {
    const RECT rect = WindowRectOf(m_window);
    ::SetWindowPos(m_window, nullptr, 0, 0, PixelsX(twips), rect.bottom - rect.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int32_t CScrollbar::Height() const noexcept {
    const RECT rect = WindowRectOf(m_window);
    return TwipsY(rect.bottom - rect.top);
}

void CScrollbar::SetHeight(int32_t twips) noexcept {
    const RECT rect = WindowRectOf(m_window);
    ::SetWindowPos(m_window, nullptr, 0, 0, rect.right - rect.left, PixelsY(twips),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int32_t CScrollbar::Left() const noexcept { return TwipsX(WindowRectOf(m_window).left); }
int32_t CScrollbar::Top() const noexcept { return TwipsY(WindowRectOf(m_window).top); }

void CScrollbar::SetLeft(int32_t twips) noexcept {
    const RECT rect = RectInParent(m_window);
    ::MoveWindow(m_window, PixelsX(twips), rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void CScrollbar::SetTop(int32_t twips) noexcept {
    const RECT rect = RectInParent(m_window);
    ::MoveWindow(m_window, rect.left, PixelsY(twips), rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void CScrollbar::Move(int32_t left, int32_t top, int32_t width, int32_t height) noexcept {
    const RECT target{PixelsX(left), PixelsY(top), PixelsX(left) + PixelsX(width), PixelsY(top) + PixelsY(height)};
    const RECT present = RectInParent(m_window);
    // Owners lay out on every change; a bar already in place is not repainted.
    if (m_window && ::EqualRect(&present, &target)) return;
    ::MoveWindow(m_window, target.left, target.top, target.right - target.left, target.bottom - target.top, TRUE);
}

bool CScrollbar::Visible() const noexcept { return ::IsWindowVisible(m_window) != FALSE; }

void CScrollbar::SetVisible(bool visible) noexcept {
    // Owners lay out on every change; a bar already shown or hidden is left alone.
    const bool shown = m_window && (::GetWindowLongW(m_window, GWL_STYLE) & WS_VISIBLE) != 0;
    if (m_window && shown == visible) return;
    ::ShowWindow(m_window, visible ? SW_SHOWNORMAL : SW_HIDE);
}

}  // namespace zo
