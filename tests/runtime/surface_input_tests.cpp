// Input as a user control's handlers see it: the mouse on the control's
// surface with Click and DblClick made in the platform's order and the
// capture held while a button is down, and the events of the text box and
// picture box the controls place on their surface.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/twips.h"
#include "runtime/child_controls.h"
#include "runtime/mouse_route.h"

namespace zo {
namespace {

// A plain top-level window to route messages for and to parent children.
class PlainWindow {
public:
    PlainWindow() {
        m_window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                     nullptr, nullptr);
    }
    ~PlainWindow() { ::DestroyWindow(m_window); }
    [[nodiscard]] HWND get() const { return m_window; }

private:
    HWND m_window;
};

class Recorder final : public SurfaceMouseHandler {
public:
    void OnMouseDown(SurfaceMouse& m) override { Add(L"Down", m); }
    void OnMouseMove(SurfaceMouse& m) override { Add(L"Move", m); }
    void OnMouseUp(SurfaceMouse& m) override { Add(L"Up", m); }
    void OnClick() override { calls.push_back(L"Click"); }
    void OnDblClick() override { calls.push_back(L"DblClick"); }
    std::vector<std::wstring> calls;
    SurfaceMouse last;

private:
    void Add(const wchar_t* name, const SurfaceMouse& m) {
        calls.push_back(std::wstring(name) + L"(" + std::to_wstring(m.button) + L")");
        last = m;
    }
};

struct Message {
    UINT message;
    WPARAM keys;
    int x, y;
};

TEST(MouseRoute, ClickAndDblClickComeInThePlatformsOrderWithTheCaptureHeldWhileAButtonIsDown) {
    const struct {
        const char* what;
        std::vector<Message> messages;
        std::vector<std::wstring> calls;
    } cases[] = {
        {"a press", {{WM_LBUTTONDOWN, MK_LBUTTON, 5, 5}, {WM_LBUTTONUP, 0, 6, 6}}, {L"Down(1)", L"Up(1)", L"Click"}},
        {"a release outside", {{WM_LBUTTONDOWN, MK_LBUTTON, 5, 5}, {WM_LBUTTONUP, 0, 500, 6}}, {L"Down(1)", L"Up(1)"}},
        {"a release without a press here", {{WM_RBUTTONUP, 0, 5, 5}}, {L"Up(2)"}},
        {"a double-click",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 5, 5}, {WM_LBUTTONUP, 0, 5, 5}, {WM_LBUTTONDBLCLK, MK_LBUTTON, 5, 5},
          {WM_LBUTTONUP, 0, 5, 5}},
         {L"Down(1)", L"Up(1)", L"Click", L"DblClick", L"Up(1)"}},
        {"a right double-click is two presses",
         {{WM_RBUTTONDOWN, MK_RBUTTON, 5, 5}, {WM_RBUTTONUP, 0, 5, 5}, {WM_RBUTTONDBLCLK, MK_RBUTTON, 5, 5},
          {WM_RBUTTONUP, 0, 5, 5}},
         {L"Down(2)", L"Up(2)", L"Click", L"Down(2)", L"Up(2)", L"Click"}},
        {"a drag with two buttons",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 5, 5}, {WM_MBUTTONDOWN, MK_LBUTTON | MK_MBUTTON, 5, 5},
          {WM_MOUSEMOVE, MK_LBUTTON | MK_MBUTTON, 9, 9}, {WM_LBUTTONUP, MK_MBUTTON, 9, 9}, {WM_MBUTTONUP, 0, 9, 9}},
         {L"Down(1)", L"Down(4)", L"Move(5)", L"Up(1)", L"Click", L"Up(4)", L"Click"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PlainWindow window;
        MouseRoute route;
        Recorder recorder;
        for (const Message& m : c.messages) {
            EXPECT_TRUE(route.Route(window.get(), m.message, m.keys, MAKELPARAM(m.x, m.y), recorder));
            const bool held = (m.keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
            EXPECT_EQ(::GetCapture() == window.get(), held) << "after message " << m.message;
        }
        EXPECT_EQ(recorder.calls, c.calls);
    }
}

TEST(MouseRoute, PositionsAreTwipsAndShiftStatesComeFromTheKeys) {
    PlainWindow window;
    MouseRoute route;
    Recorder recorder;
    EXPECT_TRUE(route.Route(window.get(), WM_MOUSEMOVE, MK_SHIFT | MK_CONTROL, MAKELPARAM(7, 3), recorder));
    EXPECT_EQ(recorder.last.x, 7.0f * TwipsPerPixelX());
    EXPECT_EQ(recorder.last.y, 3.0f * TwipsPerPixelY());
    EXPECT_EQ(recorder.last.shift, 3);
    EXPECT_FALSE(route.Route(window.get(), WM_KEYDOWN, 0, 0, recorder)) << "not a mouse message";
}

TEST(ChildInput, TheTextBoxRaisesItsEventsAndAHandlerCanChangeOrDropAKey) {
    PlainWindow parent;
    TextBox box;
    box.Create(parent.get());
    std::vector<std::wstring> calls;
    box.SetGotFocusHandler([&] { calls.push_back(L"GotFocus"); });
    box.SetKeyPressHandler([&](int16_t& key) {
        calls.push_back(L"KeyPress");
        if (key == L'x') key = 0;
        if (key == L'a') key = L'b';
    });
    box.SetKeyDownHandler([&](int16_t& key, int16_t&) {
        calls.push_back(L"KeyDown");
        if (key == VK_END) key = 0;
    });
    box.SetFocus();
    for (wchar_t key : std::wstring(L"axc")) ::SendMessageW(box.hWnd(), WM_CHAR, key, 0);
    EXPECT_EQ(box.Text(), L"bc");
    ::SendMessageW(box.hWnd(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(box.SelStart(), 0);
    ::SendMessageW(box.hWnd(), WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(box.SelStart(), 0) << "a dropped key does not move the caret";
    EXPECT_EQ(calls, (std::vector<std::wstring>{L"GotFocus", L"KeyPress", L"KeyPress", L"KeyPress", L"KeyDown",
                                                 L"KeyDown"}));
}

TEST(ChildInput, APictureBoxTakesTheFocusRaisesKeysAndResizeAndKnowsADoubleClick) {
    PlainWindow parent;
    PictureBox box;
    box.Create(parent.get());
    std::vector<std::wstring> calls;
    box.SetTakesFocus(true);
    box.SetMouseHandler([&](const MouseEvent& event) {
        if (event.action == MouseAction::Down) calls.push_back(L"Down");
    });
    box.SetDblClickHandler([&] { calls.push_back(L"DblClick"); });
    box.SetKeyPressHandler([&](int16_t& key) { calls.push_back(L"KeyPress " + std::wstring(1, wchar_t(key))); });
    box.SetKeyDownHandler([&](int16_t& key, int16_t&) { calls.push_back(L"KeyDown " + std::to_wstring(key)); });
    box.SetResizeHandler([&] { calls.push_back(L"Resize"); });
    ::SendMessageW(box.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_EQ(::GetFocus(), box.hWnd());
    ::SendMessageW(box.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ::SendMessageW(box.hWnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(box.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ::SendMessageW(box.hWnd(), WM_KEYDOWN, VK_DOWN, 0);
    ::SendMessageW(box.hWnd(), WM_CHAR, L'q', 0);
    box.Move(0, 0, 1500, 600);
    EXPECT_EQ(calls, (std::vector<std::wstring>{L"Down", L"DblClick", L"KeyDown 40", L"KeyPress q", L"Resize"}));
}

}  // namespace
}  // namespace zo
