// The PropertyList soak's real input: presses, double-clicks, drags and
// wheel notches at random places on the list, its editors and popups, keys
// posted and sent, typing, and the focus moved away.
#include <algorithm>
#include <string>

#include "tests/host/message_pump.h"
#include "tests/host/soak/list_soak_driver.h"
#include "tests/host/variant.h"

namespace zo::test::list_soak {

namespace {

bool IsScrollBar(HWND window) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    return ::lstrcmpiW(name, L"ScrollBar") == 0;
}

// What a scroll bar tells its parent when it is pressed somewhere.
void ScrollBarNotice(HWND bar, SoakRandom& random) {
    const WORD code = random.Pick<WORD>({SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_THUMBTRACK,
                                         SB_THUMBPOSITION, SB_TOP, SB_BOTTOM});
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE;
    ::GetScrollInfo(bar, SB_CTL, &info);
    const WORD position = static_cast<WORD>(random.Between(0, std::max(0, info.nMax) + 2));
    HWND parent = ::GetParent(bar);
    ::SendMessageW(parent, WM_VSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(bar));
    if (::IsWindow(bar)) ::SendMessageW(parent, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(bar));
}

}  // namespace

POINT PointIn(HWND window, SoakRandom& random) {
    RECT area{};
    ::GetWindowRect(window, &area);
    const int slack = random.Percent(10) ? 4 : 0;
    return POINT{random.Between(area.left - slack, std::max(area.left, area.right - 1) + slack),
                 random.Between(area.top - slack, std::max(area.top, area.bottom - 1) + slack)};
}

std::string ClassAt(POINT screen) {
    HWND target = ::GetCapture();
    if (!target) target = ::WindowFromPoint(screen);
    wchar_t name[32] = L"nothing";
    if (target) ::GetClassNameW(target, name, 32);
    return Narrow(name);
}

// Mouse input routed as the system routes it, to the window holding the
// capture or else the one under the point, except that a press on a scroll
// bar becomes the notice the bar would send: the bar's own tracking loop
// waits for real input that a soak never gives.
void MouseAt(UINT message, WPARAM keys, POINT screen, SoakRandom& random) {
    HWND target = ::GetCapture();
    if (!target) target = ::WindowFromPoint(screen);
    if (!target || ::GetWindowThreadProcessId(target, nullptr) != ::GetCurrentThreadId()) return;
    if (IsScrollBar(target)) {
        if (message == WM_LBUTTONDOWN) ScrollBarNotice(target, random);
        return;
    }
    POINT client = screen;
    ::ScreenToClient(target, &client);
    ::SendMessageW(target, message, keys, MAKELPARAM(client.x, client.y));
    PumpMessages();
}

void ListSoak::InputStep() {
    const uint32_t roll = m_random.Below(100);
    HWND frame = m_container->FrameHwnd();
    const WPARAM button = m_random.Percent(85) ? MK_LBUTTON : MK_RBUTTON;
    const UINT down = button == MK_LBUTTON ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
    const UINT up = button == MK_LBUTTON ? WM_LBUTTONUP : WM_RBUTTONUP;
    auto press = [&](HWND target, bool twice) {
        const POINT at = PointIn(target, m_random);
        m_journal.Note(std::string(twice ? "double-click" : "press") + " at " + std::to_string(at.x) + "," +
                       std::to_string(at.y) + " on " + ClassAt(at));
        MouseAt(down, button, at, m_random);
        MouseAt(up, 0, at, m_random);
        if (twice) {
            MouseAt(button == MK_LBUTTON ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK, button, at, m_random);
            MouseAt(up, 0, at, m_random);
        }
    };
    if (roll < 20) {
        press(m_window, false);
    } else if (roll < 28) {
        press(m_window, true);
    } else if (roll < 32) {
        const int notches = m_random.Pick({-3, -1, 1, 2});
        const POINT at = PointIn(m_window, m_random);
        m_journal.Note("wheel " + std::to_string(notches));
        ::SendMessageW(m_window, WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA), MAKELPARAM(at.x, at.y));
    } else if (roll < 45) {
        // An editor, the "..." button, the colour arrow or the scroll bar.
        WindowList children;
        ::EnumChildWindows(m_window, &WindowList::Collect, reinterpret_cast<LPARAM>(&children));
        if (children.windows.empty()) return press(m_window, false);
        HWND child = children.windows[m_random.Below(static_cast<uint32_t>(children.windows.size()))];
        if (m_random.Percent(15)) {
            const POINT from = PointIn(child, m_random), to = PointIn(child, m_random);
            m_journal.Note("drag in a child");
            MouseAt(WM_LBUTTONDOWN, MK_LBUTTON, from, m_random);
            MouseAt(WM_MOUSEMOVE, MK_LBUTTON, to, m_random);
            MouseAt(WM_LBUTTONUP, 0, to, m_random);
        } else {
            press(child, m_random.Percent(10));
        }
    } else if (roll < 52) {
        // A popup (the colour form, a drop-down list), or the frame outside it.
        WindowList popups;
        ::EnumThreadWindows(::GetCurrentThreadId(), &WindowList::Collect, reinterpret_cast<LPARAM>(&popups));
        std::erase(popups.windows, frame);
        press(popups.windows.empty() || m_random.Percent(20)
                  ? frame
                  : popups.windows[m_random.Below(static_cast<uint32_t>(popups.windows.size()))],
              false);
    } else if (roll < 80) {
        static const WPARAM kKeys[] = {VK_UP,   VK_DOWN,   VK_TAB, VK_RETURN, VK_ESCAPE, VK_F4,  VK_HOME,
                                       VK_END,  VK_PRIOR,  VK_NEXT, VK_SPACE, VK_LEFT,   VK_RIGHT, VK_DELETE,
                                       'A',     'T',       'F',     '1',      VK_BACK};
        const WPARAM key = kKeys[m_random.Below(std::size(kKeys))];
        HWND focus = ::GetFocus();
        HWND target = focus && (focus == m_window || ::IsChild(m_window, focus)) ? focus : m_window;
        if (m_random.Percent(10)) target = m_window;
        m_journal.Note("key " + std::to_string(key));
        if (m_random.Percent(50)) {
            ::PostMessageW(target, WM_KEYDOWN, key, 1);
            ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
        } else {
            ::SendMessageW(target, WM_KEYDOWN, key, 1);
            ::SendMessageW(::GetFocus() ? ::GetFocus() : target, WM_KEYUP, key, 0xC0000001);
        }
    } else if (roll < 94) {
        static const wchar_t kChars[] = L"aZ09.,-+ &\x8\xD\x1B\x3\x16\xE9";
        HWND focus = ::GetFocus();
        HWND target = focus && (focus == m_window || ::IsChild(m_window, focus)) ? focus : m_window;
        if (m_random.Percent(5)) {
            m_journal.Note("type a character outside the BMP");
            ::SendMessageW(target, WM_CHAR, 0xD83D, 1);
            ::SendMessageW(target, WM_CHAR, 0xDE00, 1);
        } else {
            const wchar_t typed = kChars[m_random.Below(std::size(kChars) - 1)];
            m_journal.Note("type " + std::to_string(typed));
            ::SendMessageW(target, WM_CHAR, typed, 1);
        }
    } else {
        const bool onList = m_random.Percent(60);
        m_journal.Note(onList ? "focus the list" : "focus the frame");
        ::SetFocus(onList ? m_window : frame);
    }
}

}  // namespace zo::test::list_soak
