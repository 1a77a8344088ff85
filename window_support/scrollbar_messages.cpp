// The scroll bar's handling of its parent's messages: scroll notifications
// become ChangePending, Scroll and Change; wheel notches become MouseWheel.
#include <limits>

#include "window_support/scrollbar.h"
#include "window_support/words.h"

namespace zo {

namespace {

UINT g_wheelRollMessage = 0;

// Position arithmetic saturates at the ends of the 32-bit range rather than
// failing inside a window procedure.
int32_t SaturatingAdd(int32_t value, int32_t step) noexcept {
    const int64_t sum = static_cast<int64_t>(value) + step;
    if (sum > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (sum < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(sum);
}

int32_t Negated(int32_t step) noexcept {
    return step == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max() : -step;
}

}  // namespace

// The parent's window procedure while it is subclassed: hands every message
// to the wrapper named by the parent's "ZoScrollPtr" property, or on to the
// previous procedure when no wrapper is attached any more.
LRESULT CALLBACK ScrollbarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* bar = static_cast<CScrollbar*>(WindowSubclass::ObjectOf(window, kScrollPtrProperty));
    if (!bar) {
        const WNDPROC previous = WindowSubclass::PreviousOf(window, kScrollProcProperty);
        return ForwardMessage(previous, window, message, wParam, lParam);
    }
    return bar->WindowProc(window, message, wParam, lParam);
}

void CScrollbar::SetWheelRollMessage(UINT message) noexcept { g_wheelRollMessage = message; }

void CScrollbar::Raise(void (CScrollbarEvents::*event)()) noexcept {
    if (!m_events) return;
    try {
        (m_events->*event)();
    } catch (...) {
        // A failing handler must not unwind through the window procedure.
    }
}

LRESULT CScrollbar::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    const std::weak_ptr<int> alive = m_alive;
    // Read before any handler runs: a handler may end the wrapper, which
    // takes the subclass and its properties away.
    const WNDPROC previous = WindowSubclass::PreviousOf(window, kScrollProcProperty);
    if (message == WM_HSCROLL || message == WM_VSCROLL) {
        bool cancel = false;
        try {
            if (m_events) m_events->ChangePending(cancel);
        } catch (...) {
            cancel = true;
        }
        if (cancel || alive.expired()) return 0;
        OnScrollNotification(wParam, alive);
        return 0;
    }
    const bool wheel = message == WM_MOUSEWHEEL;
    if (wheel || (g_wheelRollMessage != 0 && message == g_wheelRollMessage)) {
        int16_t delta = wheel ? HiWord(static_cast<intptr_t>(wParam)) : LoWord(static_cast<intptr_t>(wParam));
        try {
            if (m_events) m_events->MouseWheel(delta);
        } catch (...) {
        }
        return ForwardMessage(previous, window, message, wParam, lParam);
    }
    if (message == WM_CTLCOLORSCROLLBAR) return 0;
    const LRESULT result = ForwardMessage(previous, window, message, wParam, lParam);
    if (message == WM_NCDESTROY && !alive.expired()) OnParentDestroyed();
    return result;
}

void CScrollbar::OnScrollNotification(WPARAM wParam, const std::weak_ptr<int>& alive) {
    switch (LoWord(static_cast<intptr_t>(wParam))) {
    case SB_LINEUP: SetValue(SaturatingAdd(Value(), Negated(m_smallChange))); break;
    case SB_LINEDOWN: SetValue(SaturatingAdd(Value(), m_smallChange)); break;
    case SB_PAGEUP: SetValue(SaturatingAdd(Value(), Negated(m_largeChange))); break;
    case SB_PAGEDOWN: SetValue(SaturatingAdd(Value(), m_largeChange)); break;
    case SB_THUMBTRACK: {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        if (m_window) ::GetScrollInfo(m_window, SB_CTL, &info);
        SetValue(info.nTrackPos);
        Raise(&CScrollbarEvents::Scroll);
        if (alive.expired()) return;
        break;
    }
    default: break;
    }
    Raise(&CScrollbarEvents::Change);
}

// The parent is gone, and with it the bar, its child: nothing is left to
// restore or destroy.
void CScrollbar::OnParentDestroyed() noexcept {
    m_subclass.Remove();
    if (m_window && !::IsWindow(m_window)) m_window = nullptr;
}

}  // namespace zo
