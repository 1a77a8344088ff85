// The keyboard on a PropertyList: the arrows and Tab move the selection and
// keep it in view, Enter acts as a double-click does, typing starts an edit,
// the list editor chooses by F4 and first letters, the keys that reach the
// editors come back to the list, and dialog navigation leaves the keys to it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/property_list/editing_fixture.h"

namespace zo::test {
namespace {

class KeyboardTest : public EditingListTest {
protected:
    void AddRows(int count) {
        for (int i = 0; i < count; ++i) ASSERT_TRUE(DispOk(Add(L"Row" + std::to_wstring(i), L"v")));
    }
    // The "..." button and the colour box are the list's picture boxes.
    [[nodiscard]] int ShownPictureBoxes() {
        int shown = 0;
        for (HWND child = ::GetWindow(ListWindow(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            wchar_t name[32] = {};
            ::GetClassNameW(child, name, 32);
            if (::IsWindowVisible(child) && std::wstring(name) == L"ZoPictureBox") ++shown;
        }
        return shown;
    }
};

TEST_F(KeyboardTest, ArrowsMoveTheSelectionStoreItBeforeSelChangeAndKeepItInView) {
    const int fit = RowsThatFit();
    AddRows(fit + 3);
    ClickRow(0);
    int selectedInside = -2;
    events.On(list_event::SelChange, [&](EventArgs&) { selectedInside = Selected(); });
    events.Clear();
    Key(VK_DOWN);
    EXPECT_EQ(Story(), (std::vector<std::wstring>{L"SelChange(0,1)", L"KeyDown(40,0)", L"KeyUp(40,0)"}));
    EXPECT_EQ(selectedInside, 1) << "the new index is stored before SelChange";
    for (int i = 1; i < fit; ++i) Key(VK_RIGHT);
    EXPECT_EQ(Selected(), fit);
    EXPECT_EQ(TopIndex(), 1) << "the selected row is kept in view";
    EXPECT_GE(events.Count(list_event::Scroll), 1u);
    EXPECT_TRUE(TextBoxShown()) << "the editor moves with the selection";
    while (Selected() < fit + 2) Key(VK_DOWN);
    events.Clear();
    Key(VK_DOWN);
    EXPECT_EQ(Story(), (std::vector<std::wstring>{L"KeyDown(40,0)", L"KeyUp(40,0)"})) << "the last row stays";
    for (int i = 0; i < fit + 2; ++i) Key(VK_LEFT);
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(TopIndex(), 0);
    events.Clear();
    Key(VK_UP);
    EXPECT_EQ(Story(), (std::vector<std::wstring>{L"KeyDown(38,0)", L"KeyUp(38,0)"})) << "the first row stays";
    EXPECT_EQ(::GetFocus(), ListWindow()) << "navigation leaves the focus on the list";
}

// Stepping through rows of different kinds: each row gets its own editor
// at its own place, and only a browse row keeps the "..." button.
TEST_F(KeyboardTest, EachStepShowsTheEditorOfTheNewRowAtItsPlace) {
    const struct {
        int kind;
        const wchar_t* value;
        bool textBox, browseButton;
    } rows[] = {{kStringRow, L"one", true, false},    {kBrowseRow, L"c:\\two", true, true},
                {kNumericRow, L"3", true, false},     {kBooleanRow, L"True", false, false},
                {kStringRow, L"five", true, false},   {kBrowseRow, L"c:\\six", true, true},
                {kBrowseRow, L"c:\\seven", true, true}, {kColourRow, L"255", false, false}};
    for (const auto& row : rows) ASSERT_TRUE(DispOk(Add(L"Row", row.value, row.kind)));
    ClickRow(0);
    for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i);
        if (i > 0) Key(VK_DOWN);
        ASSERT_EQ(Selected(), i);
        EXPECT_EQ(TextBoxShown(), rows[i].textBox);
        EXPECT_EQ(ShownPictureBoxes(), rows[i].browseButton || rows[i].kind == kColourRow ? 1 : 0);
        if (!rows[i].textBox) continue;
        EXPECT_EQ(TextBoxText(), rows[i].value);
        RECT box{};
        ::GetWindowRect(TextBox(), &box);
        ::MapWindowPoints(nullptr, ListWindow(), reinterpret_cast<POINT*>(&box), 2);
        EXPECT_GE(box.top, RowTop(i));
        EXPECT_LE(box.top, RowTop(i) + 2) << "the text box sits on the selected row";
    }
}

// A list lower than one row shows no whole row: moving down leaves the
// selected row first on screen, moving up leaves the row below it first.
TEST_F(KeyboardTest, AListLowerThanOneRowScrollsByTheOrderOfTheMove) {
    SetFontPoints(L"Font", 200);
    AddRows(4);
    ASSERT_EQ(RowsThatFit(), 0);
    ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(1))));
    ::SetFocus(ListWindow());
    Key(VK_DOWN);
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(TopIndex(), 2);
    Key(VK_UP);
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(TopIndex(), 2);
}

TEST_F(KeyboardTest, TabStepsDownAndOnTheLastRowWrapsToRowZeroWithoutScrolling) {
    const int fit = RowsThatFit();
    AddRows(fit + 3);
    ClickRow(1);
    events.Clear();
    Key(VK_TAB);
    EXPECT_EQ(Story(),
              (std::vector<std::wstring>{L"SelChange(1,2)", L"KeyDown(40,0)", L"KeyDown(9,0)", L"KeyUp(9,0)"}));
    ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(fit + 2))));
    ASSERT_TRUE(DispOk(Put(list.get(), L"TopIndex", Short(3))));
    events.Clear();
    Key(VK_TAB);
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(TopIndex(), 3) << "no scrolling";
    EXPECT_EQ(events.Count(list_event::SelChange), 0u);
    EXPECT_FALSE(TextBoxShown()) << "row 0 is out of view: its editor shows over no other row";
}

TEST_F(KeyboardTest, EnterActsAsADoubleClickAndTypingStartsAnEdit) {
    ASSERT_TRUE(DispOk(Add(L"Text", L"hello")));
    ASSERT_TRUE(DispOk(Add(L"Size", L"12", kNumericRow)));
    ASSERT_TRUE(DispOk(Add(L"Flag", L"True", kBooleanRow)));
    ClickRow(0);
    Key(VK_RETURN);
    EXPECT_EQ(::GetFocus(), TextBox()) << "Enter leaves the focus in the text box, ready for typing";
    DWORD start = 1, end = 0;
    ::SendMessageW(TextBox(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end - start, 5u);
    ClickRow(2);
    Key(VK_RETURN);
    EXPECT_EQ(Value(2), L"False");

    const struct {
        int row;
        wchar_t typed;
        bool allowEdit;
        const wchar_t* text;  // in the text box afterwards; nullptr: the stored value
    } cases[] = {{0, L'a', true, L"a"}, {1, L'7', true, L"7"}, {1, L'x', true, L"0"}, {0, L'b', false, nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << " key " << static_cast<char>(c.typed));
        ASSERT_TRUE(DispOk(Put(list.get(), L"AllowEdit", Variant(c.allowEdit))));
        ClickRow(c.row);
        ::SendMessageW(TextBox(), WM_CHAR, VK_ESCAPE, 0);  // the editor closes, the list has the focus
        ::SetFocus(ListWindow());
        events.Clear();
        Char(c.typed);
        EXPECT_EQ(events.Count(list_event::KeyPressEdit), 1u);
        EXPECT_EQ(events.Count(list_event::KeyPress), 0u);
        EXPECT_EQ(TextBoxText(), c.text ? std::wstring(c.text) : Value(c.row));
        EXPECT_EQ(::GetFocus() == TextBox(), c.allowEdit) << "only an edit that starts takes the focus";
    }
}

TEST_F(KeyboardTest, UpAndDownInTheTextBoxCommitAndMoveButNotAfterEscape) {
    AddRows(3);
    ClickRow(1);
    Type(L"x");
    ::SendMessageW(TextBox(), WM_KEYDOWN, VK_DOWN, 0);
    container.Pump();
    EXPECT_EQ(Value(1), L"vx");
    EXPECT_EQ(Selected(), 2);
    Type(L"y\x1b");
    ::SetFocus(ListWindow());
    Key(VK_UP);
    EXPECT_EQ(Value(2), L"v") << "Escape dropped the typing";
    EXPECT_EQ(Selected(), 1);
}

TEST_F(KeyboardTest, TheListEditorChoosesByFirstLetterAndF4WithoutKeyDown) {
    ASSERT_TRUE(DispOk(Add(L"Flag", L"True", kBooleanRow)));
    ASSERT_TRUE(DispOk(Add(L"Next", L"n")));
    ClickRow(0);
    HWND combo = ::GetWindow(ListWindow(), GW_CHILD);
    for (; combo && !(::IsWindowVisible(combo) && combo != TextBox()); combo = ::GetWindow(combo, GW_HWNDNEXT)) {
    }
    ASSERT_TRUE(combo);
    HWND comboText = ::FindWindowExW(combo, nullptr, L"Edit", nullptr);
    ASSERT_TRUE(comboText);
    ::SetFocus(comboText);
    events.Clear();
    for (WPARAM key : {WPARAM{'F'}, WPARAM{'Q'}}) ::SendMessageW(comboText, WM_KEYDOWN, key, 0);
    container.Pump();
    EXPECT_EQ(Value(0), L"False");
    EXPECT_EQ(Story(), (std::vector<std::wstring>{L"ValueChanged(Flag,0,False)"})) << "no KeyDown, Q matches nothing";
    // Alt+Down too: the list's handler does not look at the shift state.
    ::SendMessageW(comboText, WM_SYSKEYDOWN, VK_DOWN, 0x20000000);
    container.Pump();
    EXPECT_EQ(Selected(), 1) << "arrows in the list editor move the selection";
}

TEST_F(KeyboardTest, WithNoRowSelectedKeysOnlyReachTheHost) {
    AddRows(2);
    ClickAt(RowTop(3) + 2);
    ASSERT_EQ(Selected(), -1);
    events.Clear();
    Key(VK_DOWN);
    Char(L'a');
    Key(VK_RETURN);
    EXPECT_EQ(Story(), (std::vector<std::wstring>{L"KeyDown(40,0)", L"KeyUp(40,0)", L"KeyPress(97)",
                                                   L"KeyDown(13,0)", L"KeyUp(13,0)"}));
    EXPECT_EQ(Selected(), -1);
}

// Hosts that clear the list inside the events a key leads to end the key's
// work quietly.
TEST_F(KeyboardTest, AHostThatClearsTheListInsideTheEventsAKeyRaisesEndsTheKeyQuietly) {
    const struct {
        const char* what;
        int kind;
        DISPID during;
        WPARAM key;
        int startRow;
    } cases[] = {
        {"a first letter, in ValueChanged", kBooleanRow, list_event::ValueChanged, 'F', 1},
        {"Enter on a browse row, in Browse", kBrowseRow, list_event::Browse, VK_RETURN, 1},
        {"Down onto a custom row, in NeedData", kCustomRow, list_event::NeedData, VK_DOWN, 0},
        {"Down, in SelChange", kStringRow, list_event::SelChange, VK_DOWN, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (DISPID dispid : {list_event::ValueChanged, list_event::Browse, list_event::NeedData, list_event::SelChange})
            events.On(dispid, [](EventArgs&) {});
        ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
        ASSERT_TRUE(DispOk(Add(L"Top", L"t")));
        ASSERT_TRUE(DispOk(Add(L"Row", L"True", c.kind)));
        ClickRow(c.startRow);
        bool cleared = false;
        events.On(c.during, [&](EventArgs&) {
            cleared = true;
            EXPECT_TRUE(DispOk(Call(list.get(), L"Clear")));
        });
        ::SetFocus(ListWindow());
        Key(c.key);
        EXPECT_TRUE(cleared);
        EXPECT_EQ(ListCount(), 0);
        EXPECT_EQ(Selected(), -1);
    }
    for (DISPID dispid : {list_event::ValueChanged, list_event::Browse, list_event::NeedData, list_event::SelChange})
        events.On(dispid, [](EventArgs&) {});
}

// The same for the Scroll that an arrow raises to keep the new row in view:
// a host that clears the list there gets no SelChange for a row that is gone.
TEST_F(KeyboardTest, AHostThatClearsTheListInsideTheScrollOfAnArrowGetsNoSelChange) {
    AddRows(40);
    ASSERT_TRUE(DispOk(Put(list.get(), L"TopIndex", Short(10))));
    ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(10))));
    bool cleared = false;
    events.On(list_event::Scroll, [&](EventArgs&) {
        cleared = true;
        EXPECT_TRUE(DispOk(Call(list.get(), L"Clear")));
    });
    events.Clear();
    ::SetFocus(ListWindow());
    Key(VK_UP);
    events.On(list_event::Scroll, [](EventArgs&) {});
    EXPECT_TRUE(cleared) << "moving up from the top row scrolls";
    EXPECT_EQ(events.Count(list_event::SelChange), 0u);
    EXPECT_EQ(ListCount(), 0);
    EXPECT_EQ(Selected(), -1);
}

// A container that runs a dialog's navigation (IsDialogMessage) or offers
// keys to the active object first still delivers the arrows, Tab, Enter and
// characters to the list and its text box.
TEST_F(KeyboardTest, DialogNavigationLeavesTheKeysToTheListAndItsTextBox) {
    AddRows(4);
    ClickRow(0);
    ::SetFocus(ListWindow());
    const auto throughDialog = [&](HWND to, UINT message, WPARAM key) {
        MSG msg{to, message, key, 0, 0, {}};
        EXPECT_TRUE(::IsDialogMessageW(container.FrameHwnd(), &msg));
        container.Pump();
    };
    throughDialog(ListWindow(), WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(Selected(), 1);
    throughDialog(ListWindow(), WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(Selected(), 2) << "Tab steps down the list instead of leaving it";
    Type(L"");
    throughDialog(TextBox(), WM_CHAR, L'z');
    throughDialog(TextBox(), WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(Value(2), L"vz") << "the typed character and Enter reach the text box";
    com_ptr<IOleInPlaceActiveObject> active = container.Query<IOleInPlaceActiveObject>();
    ASSERT_TRUE(active);
    ::SetFocus(ListWindow());
    MSG message{ListWindow(), WM_KEYDOWN, VK_DOWN, 0, 0, {}};
    EXPECT_EQ(active->TranslateAccelerator(&message), S_OK);
    container.Pump();
    EXPECT_EQ(Selected(), 3);
    message = MSG{ListWindow(), WM_KEYDOWN, 'A', 0, 0, {}};
    EXPECT_EQ(active->TranslateAccelerator(&message), S_FALSE) << "other keys stay the container's";
}

}  // namespace
}  // namespace zo::test
