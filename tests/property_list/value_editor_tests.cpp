// The value editors that offer a choice: the "..." button raises Browse and
// ValueChanged, the colour box shows the row's colour and opens the popup
// picker under its arrow, and the list editor refuses to drop down without
// AllowEdit. Where the popup goes is checked on a two-monitor layout.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "property_list/popup_placement.h"
#include "tests/property_list/editing_fixture.h"

namespace zo::test {
namespace {

class ValueEditorTest : public EditingListTest {
protected:
    // The visible child of the list whose class is `className`, in z-order.
    [[nodiscard]] HWND ShownChild(const wchar_t* className) {
        for (HWND child = ::GetWindow(ListWindow(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            wchar_t name[64] = {};
            ::GetClassNameW(child, name, 64);
            if (::IsWindowVisible(child) && std::wstring(name) == className) return child;
        }
        return nullptr;
    }
    void PressWindow(HWND window, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
        ::SendMessageW(window, down, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, MAKELPARAM(3, 3));
        ::SendMessageW(window, up, 0, MAKELPARAM(3, 3));
        container.Pump();
    }
    [[nodiscard]] HWND ColourBox() { return ShownChild(L"ZoPictureBox"); }
    [[nodiscard]] HWND Arrow() { return ::GetWindow(ColourBox(), GW_CHILD); }
    [[nodiscard]] static HWND Popup() { return ::FindWindowW(L"ZoColorForm", nullptr); }
    // The palette grid is the popup's largest visible picture box.
    struct Largest {
        HWND window = nullptr;
        int area = 0;
    };
    static BOOL CALLBACK KeepLargestPictureBox(HWND child, LPARAM found) {
        auto* best = reinterpret_cast<Largest*>(found);
        RECT rect{};
        ::GetClientRect(child, &rect);
        wchar_t name[32] = {};
        ::GetClassNameW(child, name, 32);
        const int area = rect.right * rect.bottom;
        if (std::wstring(name) == L"ZoPictureBox" && ::IsWindowVisible(child) && area > best->area) {
            best->area = area;
            best->window = child;
        }
        return TRUE;
    }
    // Clicks a cell of the popup's palette grid (columns and rows from 1).
    void PickCell(int x, int y) {
        Largest largest;
        ::EnumChildWindows(Popup(), &KeepLargestPictureBox, reinterpret_cast<LPARAM>(&largest));
        HWND grid = largest.window;
        ASSERT_TRUE(grid);
        const LPARAM at = MAKELPARAM((x - 1) * 17 + 8, (y - 1) * 17 + 8);
        ::SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(grid, WM_LBUTTONUP, 0, at);
        container.Pump();
    }
};

TEST_F(ValueEditorTest, TheBrowseButtonRaisesBrowseThenValueChangedWithWhatTheHostFilledIn) {
    struct Case {
        const char* what;
        bool readOnly, cancel, allowEdit;
        UINT down, up;
        const wchar_t* fill;  // what the host puts in FillWith; nullptr leaves it
        const wchar_t* value;
        std::vector<std::wstring> story;
    };
    const Case cases[] = {
        {"filled", false, false, true, WM_LBUTTONDOWN, WM_LBUTTONUP, L"c:\\new", L"c:\\new",
         {L"Browse", L"ValueChanged(Path,0,c:\\new)"}},
        {"left untouched", false, false, true, WM_LBUTTONDOWN, WM_LBUTTONUP, nullptr, L"c:\\old",
         {L"Browse", L"ValueChanged(Path,0,c:\\old)"}},
        {"cancelled", false, true, true, WM_LBUTTONDOWN, WM_LBUTTONUP, L"c:\\new", L"c:\\old",
         {L"Browse", L"ValueChanged(Path,0,c:\\new)"}},
        {"read-only", true, false, true, WM_LBUTTONDOWN, WM_LBUTTONUP, L"c:\\new", L"c:\\old",
         {L"Browse", L"ValueChanged(Path,0,c:\\new)"}},
        {"right button", false, false, true, WM_RBUTTONDOWN, WM_RBUTTONUP, L"c:\\new", L"c:\\old", {}},
        {"without AllowEdit", false, false, false, WM_LBUTTONDOWN, WM_LBUTTONUP, L"c:\\new", L"c:\\old", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
        ASSERT_TRUE(DispOk(Put(list.get(), L"AllowEdit", Variant(c.allowEdit))));
        ASSERT_TRUE(DispOk(Add(L"Path", L"c:\\old", kBrowseRow, -1, c.readOnly)));
        events.On(list_event::Browse, [&](EventArgs& args) {
            if (c.fill) args.SetString(2, c.fill);
        });
        events.On(list_event::ValueChanged, [&](EventArgs& args) { args.SetBool(3, c.cancel); });
        ClickRow(0);
        HWND button = ShownChild(L"ZoPictureBox");
        ASSERT_TRUE(button);
        RECT place{};
        ::GetWindowRect(button, &place);
        ::MapWindowPoints(nullptr, ListWindow(), reinterpret_cast<POINT*>(&place), 2);
        const POINT middle{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
        EXPECT_EQ(::ChildWindowFromPointEx(ListWindow(), middle, CWP_SKIPINVISIBLE), button)
            << "the button shows over the text box";
        const CapturedBitmap face = CapturedBitmap::Capture(button);
        EXPECT_GT(face.CountColor(RGB(0, 0, 0)), 2) << "the dots are drawn";
        events.Clear();
        PressWindow(button, c.down, c.up);
        EXPECT_EQ(Story(), c.story);
        EXPECT_EQ(Value(0), c.value);
        EXPECT_EQ(TextBoxText(), c.value) << "the text box shows the stored value";
    }
}

// A button that grows with the font is drawn again whole: no edge line is
// left where its old bottom was.
TEST_F(ValueEditorTest, TheBrowseButtonRedrawsItsWholeFaceWhenItGrows) {
    ASSERT_TRUE(DispOk(Add(L"Path", L"c:\\old", kBrowseRow)));
    ClickRow(0);
    HWND button = ShownChild(L"ZoPictureBox");
    ASSERT_TRUE(button);
    const int before = CapturedBitmap::Capture(button, CaptureMethod::Screen).Height();
    ASSERT_TRUE(DispOk(PutRef(list.get(), L"Font", Variant(MakeFont(L"Arial", 20).get()))));
    container.Pump();
    ASSERT_TRUE(::IsWindowVisible(button));
    RECT grown{};
    ::GetClientRect(button, &grown);
    ASSERT_GT(grown.bottom, before);
    const CapturedBitmap face = CapturedBitmap::Capture(button, CaptureMethod::Screen);
    const COLORREF edge = ::GetSysColor(COLOR_3DDKSHADOW);
    const RECT oldBottom{2, before - 1, face.Width() - 2, before};
    EXPECT_EQ(face.CountColor(edge, &oldBottom), 0) << "the old bottom edge is gone";
    const RECT newBottom{2, face.Height() - 1, face.Width() - 2, face.Height()};
    EXPECT_EQ(face.CountColor(edge, &newBottom), face.Width() - 4);
}

TEST_F(ValueEditorTest, TheColourArrowOpensThePopupUnderItAndAPickBecomesTheValue) {
    struct Case {
        const char* what;
        bool readOnly, cancel;
        const wchar_t* value;  // after picking the cell (1, 4), pure red
    };
    const Case cases[] = {
        {"picked", false, false, L"255"}, {"cancelled", false, true, L"-2147483633"},
        {"read-only", true, false, L"-2147483633"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
        ASSERT_TRUE(DispOk(Add(L"Back", L"&H8000000F", kColourRow, -1, c.readOnly)));
        events.On(list_event::ValueChanged, [&](EventArgs& args) { args.SetBool(3, c.cancel); });
        ClickRow(0);
        ASSERT_TRUE(ColourBox());
        PressWindow(Arrow());
        ASSERT_TRUE(Popup() && ::IsWindowVisible(Popup()));
        RECT arrow{}, popup{};
        ::GetWindowRect(Arrow(), &arrow);
        ::GetWindowRect(Popup(), &popup);
        EXPECT_EQ(popup.right, arrow.right) << "right-aligned";
        EXPECT_EQ(popup.top, arrow.bottom) << "under the arrow";
        events.Clear();
        PickCell(2, 3);
        EXPECT_FALSE(Popup() && ::IsWindowVisible(Popup()));
        ASSERT_EQ(events.Count(list_event::ValueChanged), 1u);
        const std::wstring picked = events.Last(list_event::ValueChanged).args[2].ToString();
        EXPECT_EQ(Value(0), c.readOnly || c.cancel ? L"-2147483633" : picked);
    }
    PressWindow(Arrow());
    ASSERT_TRUE(Popup() && ::IsWindowVisible(Popup()));
    PressWindow(Arrow());
    EXPECT_FALSE(Popup() && ::IsWindowVisible(Popup())) << "a second press closes the popup";
}

// The colour box shows the row's colour in its swatch, a system colour
// resolved, and its arrow button at the right edge.
TEST_F(ValueEditorTest, TheColourBoxShowsTheSwatchOfTheStoredColour) {
    const struct {
        const wchar_t* value;
        COLORREF swatch;
    } cases[] = {{L"255", RGB(0xFF, 0, 0)}, {L"-2147483633", ::GetSysColor(COLOR_BTNFACE)}};
    for (const auto& c : cases) {
        ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
        ASSERT_TRUE(DispOk(Add(L"Colour", c.value, kColourRow)));
        ClickRow(0);
        HWND box = ColourBox();
        ASSERT_TRUE(box);
        const CapturedBitmap picture = CapturedBitmap::Capture(box);
        const int h = picture.Height();
        EXPECT_EQ(picture.At(h / 2 - 1, h / 2), c.swatch) << "the swatch of " << Narrow(c.value);
        RECT arrow{}, client{};
        ::GetWindowRect(Arrow(), &arrow);
        ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&arrow), 2);
        ::GetClientRect(box, &client);
        EXPECT_EQ(arrow.right, client.right) << "the arrow sits at the right edge";
    }
}

// Hosts that change the list inside the events of the value editors end the
// action quietly: nothing is written into another row.
TEST_F(ValueEditorTest, AHostThatChangesTheListInsideAnEditorsEventsEndsItQuietly) {
    const struct {
        const char* what;
        DISPID during;
        bool removeAll;
    } cases[] = {{"Browse clears", list_event::Browse, true}, {"Browse removes the row", list_event::Browse, false},
                 {"ValueChanged clears", list_event::ValueChanged, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        events.On(list_event::Browse, [](EventArgs& args) { args.SetString(2, L"new"); });
        events.On(list_event::ValueChanged, [](EventArgs&) {});
        ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
        ASSERT_TRUE(DispOk(Add(L"Path", L"old", kBrowseRow)));
        ASSERT_TRUE(DispOk(Add(L"Other", L"o")));
        ClickRow(0);
        HWND button = ShownChild(L"ZoPictureBox");
        ASSERT_TRUE(button);
        events.On(c.during, [&](EventArgs& args) {
            if (c.during == list_event::Browse) args.SetString(2, L"new");
            EXPECT_TRUE(DispOk(c.removeAll ? Call(list.get(), L"Clear") : Call(list.get(), L"Remove", {Short(0)})));
        });
        PressWindow(button);
        EXPECT_EQ(Values(), c.removeAll ? std::vector<std::wstring>{} : std::vector<std::wstring>{L"o"});
    }
    events.On(list_event::Browse, [](EventArgs&) {});
    events.On(list_event::ValueChanged, [](EventArgs&) {});
}

// The popup's pick: a host that changes the list inside ValueChanged gets
// the colour stored into the picked row wherever it went, or nowhere.
TEST_F(ValueEditorTest, AHostThatChangesTheListInsideAPickStoresIntoThePickedRowOnly) {
    struct Case {
        const char* what;
        std::function<void()> change;
        std::vector<std::wstring> values;  // "picked" stands for the picked colour
    };
    const Case cases[] = {
        {"clears", [&] { EXPECT_TRUE(DispOk(Call(list.get(), L"Clear"))); }, {}},
        {"removes the row", [&] { EXPECT_TRUE(DispOk(Call(list.get(), L"Remove", {Short(0)}))); }, {L"o"}},
        {"adds a row before it", [&] { EXPECT_TRUE(DispOk(Add(L"New", L"n", kStringRow, 0))); },
         {L"n", L"picked", L"o"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        events.On(list_event::ValueChanged, [](EventArgs&) {});
        ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
        ASSERT_TRUE(DispOk(Add(L"Back", L"0", kColourRow)));
        ASSERT_TRUE(DispOk(Add(L"Other", L"o")));
        ClickRow(0);
        ASSERT_TRUE(ColourBox());
        PressWindow(Arrow());
        ASSERT_TRUE(Popup() && ::IsWindowVisible(Popup()));
        std::wstring picked;
        events.On(list_event::ValueChanged, [&](EventArgs& args) {
            picked = args.Value(2).ToString();
            c.change();
        });
        PickCell(2, 3);
        ASSERT_FALSE(picked.empty());
        std::vector<std::wstring> expected = c.values;
        for (std::wstring& value : expected)
            if (value == L"picked") value = picked;
        EXPECT_EQ(Values(), expected);
    }
    events.On(list_event::ValueChanged, [](EventArgs&) {});
}

TEST_F(ValueEditorTest, TheListEditorDropsDownOnlyWithAllowEdit) {
    ASSERT_TRUE(DispOk(Add(L"Flag", L"True", kBooleanRow)));
    for (bool allowEdit : {false, true}) {
        SCOPED_TRACE(allowEdit);
        ASSERT_TRUE(DispOk(Put(list.get(), L"AllowEdit", Variant(allowEdit))));
        ClickRow(0);
        ::SetFocus(ListWindow());
        Key(VK_F4);
        HWND dropped = nullptr;
        for (HWND top = ::GetTopWindow(nullptr); top; top = ::GetWindow(top, GW_HWNDNEXT)) {
            wchar_t name[32] = {};
            ::GetClassNameW(top, name, 32);
            if (::IsWindowVisible(top) && std::wstring(name) == L"ListBox") dropped = top;
        }
        EXPECT_EQ(dropped != nullptr, allowEdit);
        if (dropped) ::ShowWindow(dropped, SW_HIDE);
    }
}

// A pick in the dropped list raises ValueChanged and stores the entry; on a
// read-only row the list editor shows the stored value again instead.
TEST_F(ValueEditorTest, APickInTheDroppedListBecomesTheValueUnlessTheRowIsReadOnly) {
    for (bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly);
        ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
        ASSERT_TRUE(DispOk(Add(L"Flag", L"True", kBooleanRow, -1, readOnly)));
        ClickRow(0);
        ::SetFocus(ListWindow());
        Key(VK_F4);
        HWND dropped = ::FindWindowW(L"ListBox", nullptr);
        ASSERT_TRUE(dropped && ::IsWindowVisible(dropped));
        const int rowHeight = static_cast<int>(::SendMessageW(dropped, LB_GETITEMHEIGHT, 0, 0));
        events.Clear();
        const LPARAM second = MAKELPARAM(4, rowHeight + rowHeight / 2);
        ::SendMessageW(dropped, WM_LBUTTONDOWN, MK_LBUTTON, second);
        ::SendMessageW(dropped, WM_LBUTTONUP, 0, second);
        container.Pump();
        EXPECT_EQ(events.Count(list_event::ValueChanged), readOnly ? 0u : 1u);
        EXPECT_EQ(Value(0), readOnly ? L"True" : L"False");
    }
}

// The popup sits right-aligned under the arrow, above it near the bottom of
// the arrow's monitor, and inside that monitor's edges: here a second
// monitor to the right of a 1280 x 1024 one.
TEST(ColourPopupPlacement, ThePopupStaysInsideTheMonitorThatHoldsTheArrow) {
    const RECT second{1280, 0, 2560, 1024};
    const SIZE popup{150, 180};
    const struct {
        const char* what;
        RECT button;
        POINT expected;
    } cases[] = {
        {"under the arrow", {1500, 100, 1516, 118}, {1366, 118}},
        {"above it near the bottom", {1500, 900, 1516, 918}, {1366, 720}},
        {"pushed inside the left edge", {1290, 100, 1306, 118}, {1280, 118}},
        {"pushed inside the right edge", {2600, 100, 2616, 118}, {2410, 118}},
    };
    for (const auto& c : cases) {
        const POINT place = PlaceColourPopup(c.button, popup, second);
        EXPECT_EQ(place.x, c.expected.x) << c.what;
        EXPECT_EQ(place.y, c.expected.y) << c.what;
    }
}

}  // namespace
}  // namespace zo::test
