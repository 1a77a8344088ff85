// The mouse on a PropertyList and the in-place text edit it starts: which row
// a press selects and in which order the events reach the host, the editor
// each kind of row opens, typing with Enter, Escape and the numeric filter,
// the text committed by a press elsewhere, what a double-click does, and a
// host that changes the list inside the events. Input is real window
// messages at positions worked out from the measured row pitch.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ZoPropertyList.h"
#include "common/handles.h"
#include "tests/property_list/editing_fixture.h"

namespace zo::test {
namespace {

class MouseEditingTest : public EditingListTest {};

TEST_F(MouseEditingTest, APressSelectsTheRowUnderItWithAnyButtonAndTellsTheHostInOrder) {
    AddNamed({L"A", L"B", L"C"});
    events.Clear();
    int selectedInsideSelChange = -2;
    events.On(list_event::SelChange, [&](EventArgs&) { selectedInsideSelChange = Selected(); });
    struct Case {
        const char* what;
        std::function<void()> press;
        int selected;
        std::vector<std::wstring> story;
    };
    const int below = RowTop(3) + 2;
    const Case cases[] = {
        {"left on row 1", [&] { ClickRow(1); }, 1, {L"SelChange(-1,1)", L"MouseDown(1)", L"MouseUp", L"Click"}},
        {"the selected row again", [&] { ClickRow(1); }, 1, {L"MouseDown(1)", L"MouseUp", L"Click"}},
        {"right on row 2", [&] { ClickAt(RowMiddle(2), WM_RBUTTONDOWN, WM_RBUTTONUP); }, 2,
         {L"SelChange(1,2)", L"MouseDown(2)", L"MouseUp", L"Click"}},
        {"middle on the last line of row 0", [&] { ClickAt(RowTop(1) - 1, WM_MBUTTONDOWN, WM_MBUTTONUP); }, 0,
         {L"SelChange(2,0)", L"MouseDown(4)", L"MouseUp", L"Click"}},
        {"below the last row", [&] { ClickAt(below); }, -1, {L"SelChange(0,-1)", L"MouseDown(1)", L"MouseUp", L"Click"}},
        {"below again", [&] { ClickAt(below); }, -1, {L"MouseDown(1)", L"MouseUp", L"Click"}},
        {"the top border line", [&] { ClickAt(0); }, -1, {L"MouseDown(1)", L"MouseUp", L"Click"}},
    };
    int before = -1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.press();
        EXPECT_EQ(Story(), c.story);
        EXPECT_EQ(Selected(), c.selected);
        if (c.selected != before) {
            EXPECT_EQ(selectedInsideSelChange, before) << "SelChange comes before the change";
        }
        before = c.selected;
    }
    EXPECT_FALSE(TextBoxShown()) << "no editor without a selection";
}

TEST_F(MouseEditingTest, APressOpensTheEditorOfItsRowKindAndClosesTheOthers) {
    ASSERT_TRUE(DispOk(Add(L"Text", L"t")));
    ASSERT_TRUE(DispOk(Add(L"Flag", L"True", kBooleanRow)));
    ASSERT_TRUE(DispOk(Add(L"Pick", L"b", kCustomRow)));
    ASSERT_TRUE(DispOk(Add(L"Header", L"", kHeaderRow)));
    ASSERT_TRUE(DispOk(Add(L"Path", L"c:\\", kBrowseRow)));
    events.On(list_event::NeedData, [](EventArgs& args) { args.SetStringArray(1, {L"a", L"b"}); });
    const auto shownChildren = [&] {
        int shown = 0;
        for (HWND child = ::GetWindow(ListWindow(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            shown += ::IsWindowVisible(child) && child != container.ControlHwnd() ? 1 : 0;
        return shown;
    };
    struct Case {
        int row;
        int shown;  // editor windows shown: the text box, the browse button, the list editor...
        bool textBox, locked;
        size_t needData;
    };
    const Case cases[] = {{0, 1, true, false, 0}, {1, 1, false, false, 0}, {2, 1, false, false, 1},
                          {3, 0, false, false, 0}, {4, 2, true, true, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        events.Clear();
        ClickRow(c.row);
        EXPECT_EQ(shownChildren(), c.shown);
        EXPECT_EQ(TextBoxShown(), c.textBox);
        if (c.textBox) {
            EXPECT_EQ(TextBoxText(), Value(c.row));
            EXPECT_EQ((::GetWindowLongW(TextBox(), GWL_STYLE) & ES_READONLY) != 0, c.locked);
        }
        EXPECT_EQ(events.Count(list_event::NeedData), c.needData);
    }
}

TEST_F(MouseEditingTest, EnterCommitsEscapeCancelsAndAPressElsewhereCommitsFirst) {
    struct Case {
        const char* what;
        std::wstring keys;
        bool cancel;
        std::function<void()> then;
        std::wstring value;
        std::vector<std::wstring> story;
    };
    const Case cases[] = {
        {"Enter", L"xy\r", false, [] {}, L"ixy", {L"ValueChanged(Name,0,ixy)"}},
        {"Enter, cancelled", L"xy\r", true, [] {}, L"i", {L"ValueChanged(Name,0,ixy)"}},
        {"Escape", L"xy\x1b", false, [] {}, L"i", {}},
        {"a press on another row", L"xy", false, [&] { ClickRow(1); }, L"ixy",
         {L"ValueChanged(Name,0,ixy)", L"SelChange(0,1)", L"MouseDown(1)", L"MouseUp", L"Click"}},
        {"a press on another row, cancelled", L"xy", true, [&] { ClickRow(1); }, L"i",
         {L"ValueChanged(Name,0,ixy)", L"SelChange(0,1)", L"MouseDown(1)", L"MouseUp", L"Click"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
        ASSERT_TRUE(DispOk(Add(L"Name", L"i")));
        ASSERT_TRUE(DispOk(Add(L"Other", L"o")));
        events.On(list_event::ValueChanged, [&](EventArgs& args) { args.SetBool(3, c.cancel); });
        ClickRow(0);
        events.Clear();
        Type(c.keys);
        c.then();
        std::vector<std::wstring> story = Story();
        std::erase(story, std::wstring(L"KeyPressEdit"));
        EXPECT_EQ(story, c.story);
        EXPECT_EQ(Value(0), c.value);
        EXPECT_EQ(Selected() == 0 ? TextBoxShown() : false, false) << "the text box closes";
    }
}

TEST_F(MouseEditingTest, EveryKeyGoesToKeyPressEditFirstAndAHostCanDropIt) {
    ASSERT_TRUE(DispOk(Add(L"Name", L"")));
    ClickRow(0);
    events.On(list_event::KeyPressEdit, [](EventArgs& args) {
        if (args.Value(0).ToShort() == L'b') args.SetShort(0, 0);
        if (args.Value(0).ToShort() == L'c') args.SetShort(0, L'C');
    });
    Type(L"abc");
    EXPECT_EQ(TextBoxText(), L"aC");
    EXPECT_EQ(events.Count(list_event::KeyPressEdit), 3u);
    ASSERT_TRUE(DispOk(Put(list.get(), L"AllowEdit", Variant(false))));
    Type(L"d\r\x1b");
    EXPECT_EQ(TextBoxText(), L"aC") << "without AllowEdit nothing is typed, committed or cancelled";
    EXPECT_TRUE(TextBoxShown());
    EXPECT_EQ(events.Count(list_event::KeyPressEdit), 6u);
    EXPECT_EQ(events.Count(list_event::ValueChanged), 0u);
}

TEST_F(MouseEditingTest, ANumberRowTakesOnlyNumericKeysAndNeverShowsAnEmptyText) {
    ASSERT_TRUE(DispOk(Add(L"Size", L"", kNumericRow)));
    ClickRow(0);
    EXPECT_EQ(TextBoxText(), L"0") << "an empty number shows 0";
    ::SetWindowTextW(TextBox(), L"");
    Type(L"1a2-3+4.5,6 \b");
    EXPECT_EQ(TextBoxText(), L"01234.5,") << "letters, signs and blanks are refused";
    ::SetWindowTextW(TextBox(), L"");
    EXPECT_EQ(TextBoxText(), L"0");

    // Ctrl+V pastes only text that reads as a number; with Ctrl held nothing
    // else is typed. Ctrl is held through the real keyboard state.
    const auto paste = [&](const wchar_t* clipboard) {
        ASSERT_TRUE(::OpenClipboard(nullptr));
        ::EmptyClipboard();
        const size_t bytes = (wcslen(clipboard) + 1) * sizeof(wchar_t);
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
        memcpy(::GlobalLock(memory), clipboard, bytes);
        ::GlobalUnlock(memory);
        ::SetClipboardData(CF_UNICODETEXT, memory);
        ::CloseClipboard();
        ::SetWindowTextW(TextBox(), L"");
        INPUT control[2] = {};
        control[0].type = control[1].type = INPUT_KEYBOARD;
        control[0].ki.wVk = control[1].ki.wVk = VK_CONTROL;
        control[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(1, &control[0], sizeof(INPUT));
        container.Pump();
        Type(L"\x16x");
        ::SendInput(1, &control[1], sizeof(INPUT));
        container.Pump();
    };
    paste(L"42");
    EXPECT_EQ(TextBoxText(), L"042");
    paste(L"4x2");
    EXPECT_EQ(TextBoxText(), L"0");
}

TEST_F(MouseEditingTest, CommitPendingAndHideControlsAfterTyping) {
    struct Case {
        const char* what;
        std::wstring keys;
        std::function<void()> call;
        std::wstring value;
        size_t valueChanged;
    };
    const Case cases[] = {
        {"CommitPending", L"z", [&] { EXPECT_TRUE(DispOk(Call(list.get(), L"CommitPending"))); }, L"az", 1},
        {"CommitPending(False)", L"z",
         [&] { EXPECT_TRUE(DispOk(Call(list.get(), L"CommitPending", {Variant(false)}))); }, L"az", 0},
        {"CommitPending after Escape", L"z\x1b", [&] { EXPECT_TRUE(DispOk(Call(list.get(), L"CommitPending"))); },
         L"az", 1},
        {"HideControls", L"z", [&] { EXPECT_TRUE(DispOk(Call(list.get(), L"HideControls"))); }, L"a", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
        ASSERT_TRUE(DispOk(Add(L"Name", L"a")));
        ClickRow(0);
        events.Clear();
        Type(c.keys);
        c.call();
        EXPECT_EQ(Value(0), c.value);
        EXPECT_EQ(events.Count(list_event::ValueChanged), c.valueChanged);
        EXPECT_FALSE(TextBoxShown());
    }
}

TEST_F(MouseEditingTest, ADoubleClickActsOnTheSelectedRowByItsKind) {
    ASSERT_TRUE(DispOk(Add(L"Text", L"hello")));
    ASSERT_TRUE(DispOk(Add(L"Flag", L"True", kBooleanRow)));
    ASSERT_TRUE(DispOk(Add(L"Fixed", L"True", kBooleanRow, -1, true)));
    events.Clear();

    DoubleClickRow(0);
    EXPECT_EQ(Story(), (std::vector<std::wstring>{L"SelChange(-1,0)", L"MouseDown(1)", L"MouseUp", L"Click",
                                                   L"DblClick", L"MouseUp"}));
    EXPECT_EQ(::GetFocus(), TextBox());
    DWORD start = 0, end = 0;
    ::SendMessageW(TextBox(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 5u) << "the whole text is selected";
    EXPECT_GE(container.CountSiteCalls(L"OnUIActivate"), 1u);
    EXPECT_GE(container.CountSiteCalls(L"OnFocus(TRUE)"), 1u) << "the container knows the control has the focus";

    for (const wchar_t* expected : {L"False", L"True"}) {
        DoubleClickRow(1);
        EXPECT_EQ(Value(1), expected);
        EXPECT_EQ(events.Count(list_event::ValueChanged), 1u);
        events.Clear();
    }
    CancelValueChanged();
    DoubleClickRow(1);
    EXPECT_EQ(Value(1), L"True") << "a cancelled step keeps the value";
    events.Clear();
    DoubleClickRow(2);
    EXPECT_EQ(Value(2), L"True");
    EXPECT_EQ(Story(), (std::vector<std::wstring>{L"SelChange(1,2)", L"MouseDown(1)", L"MouseUp", L"Click",
                                                   L"DblClick", L"MouseUp"}))
        << "a read-only row only raises DblClick";

    ASSERT_TRUE(DispOk(Put(list.get(), L"AllowEdit", Variant(false))));
    DoubleClickRow(1);
    EXPECT_EQ(Value(1), L"True");
    EXPECT_EQ(events.Count(list_event::DblClick), 0u);
    EXPECT_EQ(Selected(), 1) << "a press still selects";
}

// The header font is larger than the list font and painted last; presses
// still find rows by the list font's pitch.
TEST_F(MouseEditingTest, ALargerHeaderFontDoesNotMoveTheRowsAPressFinds) {
    SetFontPoints(L"FontHeader", 24);
    ASSERT_TRUE(DispOk(Add(L"Group", L"", kHeaderRow)));
    AddNamed({L"A", L"B", L"C", L"D", L"E"});
    (void)Picture();
    for (int row : {5, 1, 4}) {
        ClickRow(row);
        EXPECT_EQ(Selected(), row);
    }
}

// Text "ityped" is pending for row 0 when row 2 ("Pick", a custom list) is
// pressed; the host changes the list inside one of the events that follow.
TEST_F(MouseEditingTest, AHostThatChangesTheListInsideTheEventsEndsThePressQuietly) {
    struct Case {
        const char* what;
        DISPID during;
        std::function<void()> change;
        std::vector<std::wstring> names, values;
        int selected;
    };
    const Case cases[] = {
        {"clears the list in SelChange", list_event::SelChange,
         [&] { EXPECT_TRUE(DispOk(Call(list.get(), L"Clear"))); }, {}, {}, -1},
        {"removes the pressed row in SelChange", list_event::SelChange,
         [&] { EXPECT_TRUE(DispOk(Call(list.get(), L"Remove", {Short(2)}))); }, {L"Name", L"Other"},
         {L"ityped", L"o"}, 0},
        {"adds a row above in SelChange", list_event::SelChange,
         [&] { EXPECT_TRUE(DispOk(Add(L"Top", L"t", kStringRow, 0))); }, {L"Top", L"Name", L"Other", L"Pick"},
         {L"t", L"ityped", L"o", L"b"}, 3},
        {"removes the edited row in ValueChanged", list_event::ValueChanged,
         [&] { EXPECT_TRUE(DispOk(Call(list.get(), L"Remove", {Short(0)}))); }, {L"Other", L"Pick"}, {L"o", L"b"},
         -1},
        {"clears the list in NeedData", list_event::NeedData,
         [&] { EXPECT_TRUE(DispOk(Call(list.get(), L"Clear"))); }, {}, {}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        IgnoreEvents({list_event::SelChange, list_event::ValueChanged, list_event::NeedData});
        ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
        ASSERT_TRUE(DispOk(Add(L"Name", L"i")));
        ASSERT_TRUE(DispOk(Add(L"Other", L"o")));
        ASSERT_TRUE(DispOk(Add(L"Pick", L"b", kCustomRow)));
        ClickRow(0);
        Type(L"typed");
        bool changed = false;
        events.On(c.during, [&](EventArgs&) {
            if (!std::exchange(changed, true)) c.change();
        });
        events.Clear();
        ClickRow(2);
        EXPECT_TRUE(changed);
        EXPECT_EQ(Names(), c.names);
        EXPECT_EQ(Values(), c.values) << "no value is written into another row";
        EXPECT_EQ(Selected(), c.selected);
        EXPECT_EQ(events.Count(list_event::MouseDown), 1u) << "MouseDown still reaches the host";
    }
    IgnoreEvents({list_event::SelChange, list_event::ValueChanged, list_event::NeedData});
}

TEST_F(MouseEditingTest, AHostThatReleasesTheControlInsideSelChangeEndsThePress) {
    AddNamed({L"A", L"B"});
    HWND window = ListWindow();
    events.On(list_event::SelChange, [&](EventArgs&) {
        (void)changes.Disconnect();
        list.reset();
        container.Close();
    });
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, RowMiddle(1)));
    container.Pump();
    EXPECT_EQ(events.Count(list_event::SelChange), 1u) << "a closed control raises nothing more";
    EXPECT_EQ(events.Count(list_event::MouseDown), 0u);
    (void)events.Disconnect();
    EXPECT_FALSE(::IsWindow(window)) << "the control went once the press ended";
}

// A double-click steps a custom row through the entries its list editor got.
TEST_F(MouseEditingTest, NeedDataTakesAnArrayOfVariantsAsAScriptHostMakesIt) {
    ASSERT_TRUE(DispOk(Add(L"Pick", L"one", kCustomRow)));
    events.On(list_event::NeedData, [&](EventArgs& args) {
        SAFEARRAY* items = ::SafeArrayCreateVector(VT_VARIANT, 0, 4);
        Variant elements[] = {Variant(L"one"), Variant(2), Variant(true), Variant::Null()};
        for (LONG i = 0; i < 4; ++i) ::SafeArrayPutElement(items, &i, elements[i].ptr());
        SAFEARRAY** slot = V_ARRAYREF(&args.Raw(1));
        if (*slot) ::SafeArrayDestroy(*slot);
        *slot = items;
    });
    std::vector<std::wstring> stepped;
    for (int i = 0; i < 4; ++i) {
        DoubleClickRow(0);
        stepped.push_back(Value(0));
    }
    EXPECT_EQ(stepped, (std::vector<std::wstring>{L"2", L"True", L"one", L"2"})) << "adding stops at the Null";
}

// Rows past 32,767 have no Integer index for SelChange: the mouse cannot
// select them, and a press there changes nothing but still reaches the host.
// Adding 32,770 rows takes seconds natively, more than a test's 60 s through
// a CPU emulator, so there the test ends at once; the rule is the same
// arithmetic in both bitnesses. (Not GTEST_SKIP: its notice goes through
// OutputDebugString, which 32-bit Wine under the emulator cannot survive.)
TEST_F(MouseEditingTest, RowsPastTheLargestIntegerIndexCannotBeSelectedByTheMouse) {
    if (RunsUnderCpuEmulator()) return;
    com_ptr<_PropertyList> typed = list.query<_PropertyList>();
    ASSERT_TRUE(typed);
    ASSERT_HRESULT_SUCCEEDED(typed->put_HoldDraw(VARIANT_TRUE));
    const unique_bstr name(::SysAllocString(L"Row"));
    for (int i = 0; i < 32770; ++i)
        ASSERT_HRESULT_SUCCEEDED(typed->Add(name.get(), name.get(), VARIANT_FALSE, ZoPropStringValue, -1));
    ASSERT_HRESULT_SUCCEEDED(typed->put_HoldDraw(VARIANT_FALSE));
    ASSERT_TRUE(DispOk(Put(list.get(), L"TopIndex", Short(32766))));
    ASSERT_LE(TopIndex(), 32767) << "rows 32,767 and 32,768 are on screen";
    events.Clear();
    ClickRow(32767);
    EXPECT_EQ(Selected(), 32767);
    ClickRow(32768);
    EXPECT_EQ(Selected(), 32767);
    EXPECT_EQ(Story(), (std::vector<std::wstring>{L"SelChange(-1,32767)", L"MouseDown(1)", L"MouseUp", L"Click",
                                                   L"MouseDown(1)", L"MouseUp", L"Click"}));
}

TEST(MouseEditingDesignTime, ADesignerGetsNoMouseMoveAndNoEditor) {
    TestContainer container;
    container.Ambient().userMode = false;
    ASSERT_TRUE(Hosted(container.Host(kPropertyListProgId)));
    MessageBoxRecorder boxes;
    EventRecorder events;
    {
        com_ptr<IDispatch> list = container.Dispatch();
        ASSERT_HRESULT_SUCCEEDED(events.Connect(list.get()));
        ASSERT_TRUE(DispOk(Call(list.get(), L"Add", {Variant(L"Row"), Variant(L"1")})));
        for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}) {
            ::SendMessageW(container.ControlHwnd(), message, 0, MAKELPARAM(4, 5));
            container.Pump();
        }
        EXPECT_EQ(events.Count(list_event::MouseMove), 0u);
        EXPECT_EQ(events.Count(list_event::MouseDown), 1u);
        EXPECT_EQ(::FindWindowExW(container.ControlHwnd(), nullptr, L"Edit", nullptr) != nullptr &&
                      ::IsWindowVisible(::FindWindowExW(container.ControlHwnd(), nullptr, L"Edit", nullptr)),
                  false);
        ASSERT_HRESULT_SUCCEEDED(events.Disconnect());
    }
    container.Close();
}

}  // namespace
}  // namespace zo::test
