// A native scroll bar ("SCROLLBAR" window class) placed as a child of a host
// window. Its range, steps and position live in fields so that they survive
// re-creating the window, and the notifications the bar sends to its parent
// become events: the parent is subclassed (once per parent, through the
// window properties "ZoScrollProc" and "ZoScrollPtr") so that its
// WM_HSCROLL, WM_VSCROLL and WM_MOUSEWHEEL reach the wrapper first.
// Positions and sizes are twips; range, steps and position are scroll units.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "common/window_subclass.h"

namespace zo {

// The parent's window properties while it is subclassed.
inline constexpr wchar_t kScrollProcProperty[] = L"ZoScrollProc";
inline constexpr wchar_t kScrollPtrProperty[] = L"ZoScrollPtr";

// What a scroll bar tells its owner. Handlers run inside the parent's window
// procedure and may change the scroll bar, or end it.
class CScrollbarEvents {
public:
    // Before a scroll notification is acted on; setting `cancel` drops it.
    virtual void ChangePending(bool& cancel) { (void)cancel; }
    virtual void Change() {}
    // While the thumb is dragged, after Value has followed it.
    virtual void Scroll() {}
    // A wheel notch on the parent; changes to `delta` have no effect.
    virtual void MouseWheel(int16_t& delta) { (void)delta; }

protected:
    ~CScrollbarEvents() = default;
};

class CScrollbar {
public:
    explicit CScrollbar(CScrollbarEvents* events = nullptr) noexcept;
    CScrollbar(const CScrollbar&) = delete;
    CScrollbar& operator=(const CScrollbar&) = delete;
    ~CScrollbar();

    void SetEvents(CScrollbarEvents* events) noexcept { m_events = events; }

    [[nodiscard]] bool Enabled() const noexcept;
    void SetEnabled(bool enabled) noexcept;
    // 0 = horizontal, any other value = vertical. Re-creates an existing window.
    [[nodiscard]] int32_t ScrollType() const noexcept { return m_scrollType; }
    void SetScrollType(int32_t scrollType) noexcept;
    // Nonzero: the thumb is sized to LargeChange and Value is shown at most at Max.
    [[nodiscard]] int32_t ProportionalThumb() const noexcept { return m_proportionalThumb; }
    void SetProportionalThumb(int32_t proportional) noexcept;
    [[nodiscard]] int32_t Max() const noexcept { return m_max; }
    void SetMax(int32_t newMax) noexcept;
    [[nodiscard]] int32_t Min() const noexcept { return m_min; }
    void SetMin(int32_t newMin) noexcept;
    [[nodiscard]] int32_t LargeChange() const noexcept { return m_largeChange; }
    void SetLargeChange(int32_t largeChange) noexcept;
    [[nodiscard]] int32_t SmallChange() const noexcept { return m_smallChange; }
    void SetSmallChange(int32_t smallChange) noexcept { m_smallChange = smallChange; }
    // With a window, the bar's own position (which the bar keeps in range).
    [[nodiscard]] int32_t Value() noexcept;
    // The field keeps the value given; the bar shows it within its range.
    void SetValue(int32_t newValue) noexcept;
    [[nodiscard]] int32_t StoredValue() const noexcept { return m_value; }

    [[nodiscard]] HWND hWnd() const noexcept { return m_window; }
    [[nodiscard]] HWND Parent() const noexcept;
    // Moves the bar to another parent; the subclass stays where it is.
    void SetParent(HWND parent) noexcept;

    // (Re)creates the window on `parent`; a null parent keeps the present
    // one. The parent's subclass moves with the bar. Returns the parent used.
    HWND RecreateScrollbar(HWND parent = nullptr) noexcept;

    // The handler of every message of the subclassed parent.
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    // Geometry in twips of the parent (Left and Top read in screen coordinates).
    [[nodiscard]] int32_t Width() const noexcept;
    void SetWidth(int32_t twips) noexcept;
    [[nodiscard]] int32_t Height() const noexcept;
    void SetHeight(int32_t twips) noexcept;
    [[nodiscard]] int32_t Left() const noexcept;
    void SetLeft(int32_t twips) noexcept;
    [[nodiscard]] int32_t Top() const noexcept;
    void SetTop(int32_t twips) noexcept;
    void Move(int32_t left, int32_t top, int32_t width, int32_t height) noexcept;
    [[nodiscard]] bool Visible() const noexcept;
    void SetVisible(bool visible) noexcept;

    // While held, range, position, page and enabled changes are kept by the
    // wrapper (Value answers where the bar will put the position) and given
    // to the window when the hold ends, which also repaints the bar. An
    // owner filling a long list holds it.
    void HoldRedraw(bool hold) noexcept;

    // Message number of a wheel driver that sends a registered message instead
    // of WM_MOUSEWHEEL, its delta in the low word of wParam; 0 = none.
    static void SetWheelRollMessage(UINT message) noexcept;

private:
    void DestroyBar() noexcept;
    void ApplyStoredState() noexcept;
    void SetPage(int32_t page) noexcept;
    void ShowRange(int32_t low, int32_t high) noexcept;
    void OnScrollNotification(WPARAM wParam, const std::weak_ptr<int>& alive);
    void OnParentDestroyed() noexcept;
    void Raise(void (CScrollbarEvents::*event)()) noexcept;
    [[nodiscard]] BOOL Redraw() const noexcept { return m_holdRedraw ? FALSE : TRUE; }
    [[nodiscard]] int32_t HeldPosition() const noexcept;

    CScrollbarEvents* m_events = nullptr;
    int32_t m_scrollType = 1;
    int32_t m_proportionalThumb = 1;
    HWND m_window = nullptr;
    int32_t m_min = 0;
    int32_t m_max = 32767;
    int32_t m_smallChange = 1;
    int32_t m_largeChange = 1;
    int32_t m_value = 0;
    bool m_holdRedraw = false;
    // Held changes not yet given to the window.
    bool m_heldState = false;
    std::optional<bool> m_heldEnabled;
    WindowSubclass m_subclass;
    // Lets a message handler notice that an event handler ended the wrapper.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

}  // namespace zo
