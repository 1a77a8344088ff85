// The picker soak's real input: presses, moves, keys and wheel notches at
// random places of the tabs, the palette grid and the system list, with the
// pick each one should make.
#include "tests/host/dispatch_call.h"
#include "tests/host/message_pump.h"
#include "tests/host/soak/picker_stage.h"

namespace zo::test::picker_soak {

POINT PickerStage::RandomPoint() {
    POINT point{};
    HWND base = m_window;
    switch (m_random.Below(10)) {
        case 0: case 1: case 2: case 3: case 4:
            base = m_grid;
            point = {m_random.Between(-4, 140), m_random.Between(-4, 140)};
            break;
        case 5: case 6:
            point = {m_random.Between(-2, 150), m_random.Between(-2, 25)};
            break;
        case 7:
            base = m_list;
            point = {m_random.Between(-2, 140), m_random.Between(-2, 140)};
            break;
        default:
            point = {m_random.Between(-10, 170), m_random.Between(-10, 200)};
            break;
    }
    ::ClientToScreen(base, &point);
    return point;
}

void PickerStage::MouseStep() {
    static const UINT kDowns[] = {WM_LBUTTONDOWN, WM_LBUTTONDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    const POINT point = RandomPoint();
    const uint32_t kind = m_random.Below(10);
    if (kind < 3) {
        const UINT down = kDowns[m_random.Below(5)];
        m_run.journal.Begin(m_step, "press " + std::to_string(down) + " at " + std::to_string(point.x) + ", " + std::to_string(point.y));
        Mouse(down, down == WM_LBUTTONDOWN ? MK_LBUTTON : down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_MBUTTON, point);
    } else if (kind < 5) {
        const bool held = m_random.Percent(80);
        m_run.journal.Begin(m_step, std::string(held ? "drag" : "hover") + " to " + std::to_string(point.x) + ", " + std::to_string(point.y));
        Mouse(WM_MOUSEMOVE, held ? MK_LBUTTON : 0, point);
    } else if (kind < 8) {
        const UINT up = m_random.Pick<UINT>({WM_LBUTTONUP, WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP});
        m_run.journal.Begin(m_step, "release " + std::to_string(up) + " at " + std::to_string(point.x) + ", " + std::to_string(point.y));
        Mouse(up, 0, point);
    } else {
        // A whole click or double-click, as the system sends it.
        const bool right = m_random.Percent(20);
        const bool twice = m_random.Percent(40);
        m_run.journal.Begin(m_step, std::string(twice ? "double-click " : "click ") + (right ? "right " : "") + "at " +
                                        std::to_string(point.x) + ", " + std::to_string(point.y));
        const WPARAM keys = right ? MK_RBUTTON : MK_LBUTTON;
        Mouse(right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, keys, point);
        Mouse(right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, point);
        if (twice && !m_released) {
            Mouse(right ? WM_RBUTTONDBLCLK : WM_LBUTTONDBLCLK, keys, point);
            if (!m_released) Mouse(right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, point);
        }
    }
}

void PickerStage::Mouse(UINT message, WPARAM keys, POINT screen) {
    HWND target = MouseTarget(screen);
    POINT client = screen;
    ::ScreenToClient(target, &client);
    RECT area{};
    ::GetClientRect(target, &area);
    if (!::GetCapture() && !::PtInRect(&area, client)) {
        // A border or a scroll bar: the system sends no client message there.
        Note("not in a client area");
        return;
    }
    const bool listPress = target == m_list && message != WM_MOUSEMOVE && message != WM_LBUTTONUP &&
                           message != WM_RBUTTONUP && message != WM_MBUTTONUP;
    // A press in the list lets the list capture the mouse: its release goes
    // with it, in the same step, so that no other step is routed there.
    if (listPress && message != WM_LBUTTONDOWN && message != WM_LBUTTONDBLCLK) {
        // Right and middle presses change nothing of the picker's.
        SendMouse(message, keys, screen);
        m_model.listIndex = static_cast<int>(::SendMessageW(m_list, LB_GETCURSEL, 0, 0));
        return;
    }
    if (target == m_grid) PredictGrid(message, client);
    else if (listPress) PredictList(message, client);
    else if (target == m_window) PredictSurface(message, client);
    SendMouse(message, keys, screen);
    if (listPress && !m_released) {
        Note("the list selected " + std::to_string(::SendMessageW(m_list, LB_GETCURSEL, 0, 0)) + ", top " +
             std::to_string(::SendMessageW(m_list, LB_GETTOPINDEX, 0, 0)));
        // Routed like any release: a handler's press may have taken the mouse.
        Mouse(WM_LBUTTONUP, 0, screen);
        if (m_model.listIndex == PickerModel::kUnknown)
            m_model.listIndex = static_cast<int>(::SendMessageW(m_list, LB_GETCURSEL, 0, 0));
    }
}

void PickerStage::PredictGrid(UINT message, POINT client) {
    switch (message) {
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
            m_model.Press(client.x, client.y);
            break;
        case WM_MOUSEMOVE:
            m_model.Move(client.x, client.y);
            break;
        default:
            if (m_model.tracking) ExpectPick(m_model.Release());
            break;
    }
}

// A left press on an item selects it and picks its system colour; a press
// below the items picks the item the list box selects for it. A double
// click picks the selected item again.
void PickerStage::PredictList(UINT message, POINT client) {
    if (message == WM_LBUTTONDBLCLK) {
        if (m_model.listIndex >= 0) ExpectPick(SystemColourAt(m_model.listIndex));
        return;
    }
    const LRESULT hit = ::SendMessageW(m_list, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
    Note("list item " + std::to_string(LOWORD(hit)) + (HIWORD(hit) ? " (outside)" : "") + " at " +
         std::to_string(client.x) + ", " + std::to_string(client.y) + ", top " +
         std::to_string(::SendMessageW(m_list, LB_GETTOPINDEX, 0, 0)) + ", selected " +
         std::to_string(::SendMessageW(m_list, LB_GETCURSEL, 0, 0)));
    if (HIWORD(hit) == 0 && client.x >= 0 && client.y >= 0) {
        m_model.listIndex = LOWORD(hit);
        ExpectPick(SystemColourAt(m_model.listIndex));
    } else {
        // Where the system's list box puts a press outside its items is its
        // own business: the pick must follow what it selected.
        m_model.listIndex = PickerModel::kUnknown;
        if (!m_frozen) m_expectedPicks.push_back(std::nullopt);
    }
}

void PickerStage::PredictSurface(UINT message, POINT client) {
    switch (message) {
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
            if (client.y < 3 || client.y > 21) return;
            if (client.x < m_tabEdge2) m_model.tag = 1;
            else if (client.x < m_tabEdge3) m_model.tag = 2;
            break;
        default:
            break;
    }
}

// While the container freezes the events a pick still sets Color but
// raises nothing, so no handler runs either.
void PickerStage::ExpectPick(int32_t colour) {
    if (!m_frozen) m_expectedPicks.push_back(colour);
}

void PickerStage::FreezeEvents() {
    m_frozen = !m_frozen;
    m_run.journal.Begin(m_step, m_frozen ? "freeze events" : "thaw events");
    if (FAILED(m_container->FreezeEvents(m_frozen))) m_run.Mismatch("FreezeEvents failed");
}

void PickerStage::UpdateTabEdges() {
    com_ptr<IFont> font;
    if (const DispResult got = Get(m_picker.get(), L"Font"); got.ok()) font = got.value.ToUnknown().query<IFont>();
    HFONT handle = nullptr;
    if (font) (void)font->get_hFont(&handle);
    unique_hdc_window dc(nullptr);
    unique_select selected(dc.get(), handle);
    SIZE palette{}, system{};
    ::GetTextExtentPoint32W(dc.get(), L"Palette", 7, &palette);
    ::GetTextExtentPoint32W(dc.get(), L"System", 6, &system);
    m_tabEdge2 = 3 + palette.cx + 2 * 8 + 1;
    m_tabEdge3 = m_tabEdge2 + system.cx + 2 * 8 + 1;
}

void PickerStage::KeyStep() {
    HWND focus = m_random.Pick({m_list, m_list, m_grid, m_window});
    const WPARAM key = m_random.Pick<WPARAM>({VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_LEFT, VK_RIGHT,
                                              VK_SPACE, VK_RETURN, VK_ESCAPE, VK_TAB, VK_F4, 'B', 'H', 'S', 'Z'});
    m_run.journal.Begin(m_step, "key " + std::to_string(key) + " in " + (focus == m_list ? "the list" : focus == m_grid ? "the grid" : "the picker"));
    ::SetFocus(focus);
    HWND target = ::GetFocus() ? ::GetFocus() : focus;
    ::SendMessageW(target, WM_KEYDOWN, key, 1);
    if (key >= 'A' && key <= 'Z') ::SendMessageW(::GetFocus() ? ::GetFocus() : target, WM_CHAR, key + 32, 1);
    ::SendMessageW(::GetFocus() ? ::GetFocus() : target, WM_KEYUP, key, 0xC0000001);
    // The list box moves its own selection; the picker raises nothing for it.
    m_model.listIndex = static_cast<int>(::SendMessageW(m_list, LB_GETCURSEL, 0, 0));
}

void PickerStage::WheelStep() {
    const POINT point = RandomPoint();
    const int notches = m_random.Pick({-3, -1, 1, 2, 5});
    m_run.journal.Begin(m_step, "wheel " + std::to_string(notches) + " at " + std::to_string(point.x) + ", " + std::to_string(point.y));
    HWND target = ::WindowFromPoint(point);
    if (target) ::SendMessageW(target, WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA), MAKELPARAM(point.x, point.y));
}
}  // namespace zo::test::picker_soak
