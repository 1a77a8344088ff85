#include "property_list/popup_placement.h"

namespace zo {

POINT PlaceColourPopup(const RECT& button, SIZE popup, const RECT& monitor) noexcept {
    POINT place{button.right - popup.cx, button.bottom};
    if (place.y + popup.cy > monitor.bottom) place.y = button.top - popup.cy;
    if (place.x < monitor.left) place.x = monitor.left;
    if (place.x + popup.cx > monitor.right) place.x = monitor.right - popup.cx;
    return place;
}

RECT MonitorRectOf(HWND window) noexcept {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) return info.rcMonitor;
    return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace zo
