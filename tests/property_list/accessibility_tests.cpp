// The list as a screen reader reads it through oleacc: the accessible object
// of its client area with one child per row (names, values as painted,
// roles, states, locations and hit tests from the measured row pitch), the
// actions a client may take on a row, the win events raised while rows are
// selected and changed by real input, the editors named after their row,
// and an object that outlives its control.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/handles.h"
#include "tests/host/accessible_client.h"
#include "tests/property_list/editing_fixture.h"

namespace zo::test {
namespace {

class ListAccessibilityTest : public EditingListTest {
protected:
    [[nodiscard]] com_ptr<IAccessible> Accessible() {
        com_ptr<IAccessible> object = AccessibleOf(ListWindow());
        EXPECT_TRUE(object) << "no accessible object for the list's client area";
        return object;
    }
    [[nodiscard]] POINT ScreenPoint(int x, int y) {
        POINT point{x, y};
        ::ClientToScreen(ListWindow(), &point);
        return point;
    }
};

TEST_F(ListAccessibilityTest, EveryRowIsAChildWithItsNameTheValueAsPaintedAndItsRole) {
    ASSERT_TRUE(DispOk(Add(L"Appearance", L"", kHeaderRow)));
    ASSERT_TRUE(DispOk(Add(L"Caption", L"Hello")));
    ASSERT_TRUE(DispOk(Add(L"Visible", L"true", kBooleanRow)));
    ASSERT_TRUE(DispOk(Add(L"BackColor", L"&H8000000F", kColourRow)));
    ASSERT_TRUE(DispOk(Add(L"ForeColor", L"255", kColourRow)));
    ASSERT_TRUE(DispOk(Add(L"Width", L"12", kNumericRow, -1, true)));
    // A colour row whose text is beyond a Long paints no value: its text is said.
    ASSERT_TRUE(DispOk(Add(L"BorderColor", L"0", kColourRow)));
    ASSERT_TRUE(DispOk(PutIndexed(list.get(), L"Value", {Short(6)}, Variant(L"1e20"))));
    struct Row {
        const wchar_t* name;
        const wchar_t* value;
        long role;
        bool readOnly;
    };
    const Row rows[] = {
        {L"Appearance", L"", ROLE_SYSTEM_GROUPING, false},  {L"Caption", L"Hello", ROLE_SYSTEM_LISTITEM, false},
        {L"Visible", L"True", ROLE_SYSTEM_LISTITEM, false},  {L"BackColor", L"&H8000000F", ROLE_SYSTEM_LISTITEM, false},
        {L"ForeColor", L"&HFF", ROLE_SYSTEM_LISTITEM, false}, {L"Width", L"12", ROLE_SYSTEM_LISTITEM, true},
        {L"BorderColor", L"1e20", ROLE_SYSTEM_LISTITEM, false},
    };
    com_ptr<IAccessible> object = Accessible();
    ASSERT_TRUE(object);
    EXPECT_EQ(AccRole(*object.get(), CHILDID_SELF), ROLE_SYSTEM_LIST);
    ASSERT_EQ(AccChildCount(*object.get()), 7);

    unique_variant children[7];
    LONG obtained = 0;
    ASSERT_EQ(::AccessibleChildren(object.get(), 0, 7, children, &obtained), S_OK);
    ASSERT_EQ(obtained, 7);
    for (long id = 1; id <= 7; ++id) {
        const Row& row = rows[id - 1];
        SCOPED_TRACE(Narrow(row.name));
        EXPECT_EQ(children[id - 1].vt, VT_I4) << "rows are simple elements";
        EXPECT_EQ(children[id - 1].lVal, id);
        EXPECT_EQ(AccName(*object.get(), id), row.name);
        EXPECT_EQ(AccValue(*object.get(), id), row.value);
        EXPECT_EQ(AccRole(*object.get(), id), row.role);
        EXPECT_EQ((AccState(*object.get(), id) & STATE_SYSTEM_READONLY) != 0, row.readOnly);
        com_ptr<IDispatch> element;
        EXPECT_EQ(object->get_accChild(ChildVariant(id), element.put()), S_FALSE);
        EXPECT_FALSE(element);
    }
    // Ids past the rows, below the object, or not whole numbers name nothing.
    com_ptr<IDispatch> none;
    EXPECT_EQ(object->get_accChild(ChildVariant(8), none.put()), E_INVALIDARG);
    BSTR name = nullptr;
    EXPECT_EQ(object->get_accName(ChildVariant(8), &name), E_INVALIDARG);
    EXPECT_EQ(object->get_accName(ChildVariant(-1), &name), E_INVALIDARG);
    unique_variant text;
    text.vt = VT_BSTR;
    text.bstrVal = ::SysAllocString(L"1");
    EXPECT_EQ(object->get_accName(text, &name), E_INVALIDARG);
    EXPECT_EQ(name, nullptr);
}

TEST_F(ListAccessibilityTest, NavigationWalksTheRowsInOrder) {
    AddNamed({L"A", L"B", L"C"});
    com_ptr<IAccessible> object = Accessible();
    ASSERT_TRUE(object);
    struct Step {
        long direction;
        long start;
        long end;
    };
    const Step steps[] = {
        {NAVDIR_FIRSTCHILD, CHILDID_SELF, 1}, {NAVDIR_LASTCHILD, CHILDID_SELF, 3}, {NAVDIR_NEXT, 1, 2},
        {NAVDIR_DOWN, 2, 3},                  {NAVDIR_NEXT, 3, -1},                {NAVDIR_PREVIOUS, 3, 2},
        {NAVDIR_UP, 1, -1},                   {NAVDIR_LEFT, 2, -1},                {NAVDIR_FIRSTCHILD, 2, -1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "direction " << step.direction << " from " << step.start);
        EXPECT_EQ(AccNavigate(*object.get(), step.direction, step.start), step.end);
    }
}

TEST_F(ListAccessibilityTest, LocationsAndHitTestsFollowThePaintedRows) {
    AddNamed({L"A", L"B", L"C", L"D"});
    com_ptr<IAccessible> object = Accessible();
    ASSERT_TRUE(object);
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        const RECT location = AccLocation(*object.get(), row + 1);
        EXPECT_EQ(location.top, ScreenPoint(0, RowTop(row)).y);
        EXPECT_EQ(location.bottom - location.top, Pitch());
        EXPECT_EQ(location.left, ScreenPoint(0, 0).x);
        EXPECT_EQ(AccHitTest(*object.get(), ScreenPoint(4, RowMiddle(row))), row + 1);
        EXPECT_EQ(AccHitTest(*object.get(), ScreenPoint(4, RowTop(row))), row + 1) << "the row's first line";
    }
    EXPECT_EQ(AccHitTest(*object.get(), ScreenPoint(4, RowTop(4) + 2)), CHILDID_SELF) << "below the last row";
    EXPECT_EQ(AccHitTest(*object.get(), ScreenPoint(-5, RowMiddle(0))), -1) << "outside the list";
}

TEST_F(ListAccessibilityTest, StatesFollowSelectionFocusAllowEditAndScrolling) {
    for (int i = 0; i < 40; ++i) ASSERT_TRUE(DispOk(Add(L"Row " + std::to_wstring(i), L"v")));
    com_ptr<IAccessible> object = Accessible();
    ASSERT_TRUE(object);
    ::SetFocus(ListWindow());
    ClickRow(1);
    ::SetFocus(ListWindow());
    container.Pump();
    struct Case {
        const char* what;
        long id;
        long present;
        long absent;
    };
    const long lastId = 40;
    const Case cases[] = {
        {"the selected row", 2, STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTABLE,
         STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_UNAVAILABLE},
        {"another row in view", 1, STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE,
         STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_OFFSCREEN},
        {"a row below the view", lastId, STATE_SYSTEM_OFFSCREEN, STATE_SYSTEM_SELECTED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const long state = AccState(*object.get(), c.id);
        EXPECT_EQ(state & c.present, c.present);
        EXPECT_EQ(state & c.absent, 0);
    }
    VARIANT focus = {};
    ASSERT_EQ(object->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.vt, VT_I4);
    EXPECT_EQ(focus.lVal, 2);
    VARIANT selection = {};
    ASSERT_EQ(object->get_accSelection(&selection), S_OK);
    EXPECT_EQ(selection.lVal, 2);

    ASSERT_TRUE(DispOk(Put(list.get(), L"AllowEdit", Variant(false))));
    EXPECT_NE(AccState(*object.get(), 1) & STATE_SYSTEM_UNAVAILABLE, 0);
    EXPECT_TRUE(AccDefaultAction(*object.get(), 1).empty()) << "nothing to edit";
    ASSERT_TRUE(DispOk(Put(list.get(), L"AllowEdit", Variant(true))));
    EXPECT_EQ(AccState(*object.get(), 1) & STATE_SYSTEM_UNAVAILABLE, 0);

    ASSERT_TRUE(DispOk(Put(list.get(), L"TopIndex", Short(30))));
    EXPECT_NE(AccState(*object.get(), 1) & STATE_SYSTEM_OFFSCREEN, 0) << "scrolled out above";
    EXPECT_EQ(AccState(*object.get(), lastId) & STATE_SYSTEM_OFFSCREEN, 0) << "scrolled into view";
    EXPECT_EQ(AccHitTest(*object.get(), ScreenPoint(4, RowMiddle(TopIndex()))), TopIndex() + 1);
}

TEST_F(ListAccessibilityTest, SelectingAndTheDefaultActionAreAPressAndADoubleClick) {
    ASSERT_TRUE(DispOk(Add(L"Caption", L"Hello")));
    ASSERT_TRUE(DispOk(Add(L"Visible", L"True", kBooleanRow)));
    ASSERT_TRUE(DispOk(Add(L"Group", L"", kHeaderRow)));
    com_ptr<IAccessible> object = Accessible();
    ASSERT_TRUE(object);
    events.Clear();

    EXPECT_EQ(object->accSelect(SELFLAG_TAKESELECTION, ChildVariant(1)), S_OK);
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(Story(), (std::vector<std::wstring>{L"SelChange(-1,0)"}));
    EXPECT_TRUE(TextBoxShown()) << "the row's editor opens as after a press";

    EXPECT_EQ(object->accSelect(SELFLAG_ADDSELECTION, ChildVariant(2)), E_INVALIDARG);
    EXPECT_EQ(object->accSelect(SELFLAG_TAKESELECTION, ChildVariant(9)), E_INVALIDARG);
    EXPECT_EQ(Selected(), 0);

    EXPECT_EQ(AccDefaultAction(*object.get(), 2), L"Edit");
    EXPECT_TRUE(AccDefaultAction(*object.get(), 3).empty()) << "a header row has nothing to edit";
    EXPECT_EQ(object->accDoDefaultAction(ChildVariant(2)), S_OK);
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(Value(1), L"False") << "a double-click steps a Boolean row";
    EXPECT_EQ(Story(), (std::vector<std::wstring>{L"SelChange(0,1)", L"ValueChanged(Visible,1,False)", L"DblClick"}));
}

TEST_F(ListAccessibilityTest, WinEventsFollowTheSelectionTheValuesAndTheRows) {
    AddNamed({L"A", L"B", L"C"});
    IgnoreEvents({list_event::SelChange, list_event::ValueChanged, list_event::KeyPressEdit});
    WinEventRecorder recorder(ListWindow());
    ::SetFocus(ListWindow());
    container.Pump();
    (void)recorder.Take();

    ClickRow(1);
    EXPECT_EQ(recorder.Take(), (std::vector<std::wstring>{L"Focus(2)", L"Selection(2)"}));
    Key(VK_DOWN);
    EXPECT_EQ(recorder.Take(), (std::vector<std::wstring>{L"Focus(3)", L"Selection(3)"}));
    Type(L"x\r");
    EXPECT_EQ(recorder.Take(), (std::vector<std::wstring>{L"ValueChange(3)"}));
    ASSERT_TRUE(DispOk(PutIndexed(list.get(), L"Value", {Short(0)}, Variant(L"new"))));
    EXPECT_EQ(recorder.Take(), (std::vector<std::wstring>{L"ValueChange(1)"}));

    ASSERT_TRUE(DispOk(Add(L"D")));
    EXPECT_EQ(recorder.Take(), (std::vector<std::wstring>{L"Show(4)", L"Reorder(0)"}));
    ASSERT_TRUE(DispOk(Call(list.get(), L"Remove", {Short(3)})));
    EXPECT_EQ(recorder.Take(), (std::vector<std::wstring>{L"Hide(4)", L"Reorder(0)"}));
    ASSERT_TRUE(DispOk(Put(list.get(), L"HoldDraw", Variant(true))));
    AddNamed({L"E", L"F", L"G"});
    EXPECT_TRUE(recorder.Take().empty()) << "nothing while the drawing is held";
    ASSERT_TRUE(DispOk(Put(list.get(), L"HoldDraw", Variant(false))));
    EXPECT_EQ(recorder.Take(), (std::vector<std::wstring>{L"Reorder(0)"})) << "one for the whole fill";
    ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
    EXPECT_EQ(recorder.Take(), (std::vector<std::wstring>{L"SelectionRemove(3)", L"Reorder(0)"}));
}

TEST_F(ListAccessibilityTest, EveryEditorOfARowIsNamedAfterTheRow) {
    ASSERT_TRUE(DispOk(Add(L"Caption", L"Hello")));
    ASSERT_TRUE(DispOk(Add(L"Visible", L"True", kBooleanRow)));
    ASSERT_TRUE(DispOk(Add(L"BackColor", L"255", kColourRow)));
    for (int row = 0; row < 3; ++row) {
        const std::wstring name = Item(row);
        SCOPED_TRACE(Narrow(name));
        ClickRow(row);
        int named = 0;
        for (HWND child = ::GetWindow(ListWindow(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (!::IsWindowVisible(child)) continue;
            wchar_t className[64] = {};
            ::GetClassNameW(child, className, 64);
            if (std::wstring(className) == L"ScrollBar") continue;
            com_ptr<IAccessible> editor = AccessibleOf(child);
            ASSERT_TRUE(editor);
            EXPECT_EQ(AccName(*editor.get(), CHILDID_SELF), name) << Narrow(className);
            ++named;
        }
        EXPECT_GE(named, 1) << "the row's editor shows";
    }
}

TEST_F(ListAccessibilityTest, AnObjectThatOutlivesItsListAnswersDisconnected) {
    AddNamed({L"A", L"B"});
    com_ptr<IAccessible> object = Accessible();
    ASSERT_TRUE(object);
    ASSERT_EQ(AccChildCount(*object.get()), 2);
    CloseList();
    long count = 0;
    EXPECT_EQ(object->get_accChildCount(&count), RPC_E_DISCONNECTED);
    BSTR name = nullptr;
    EXPECT_EQ(object->get_accName(ChildVariant(1), &name), RPC_E_DISCONNECTED);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(object->accSelect(SELFLAG_TAKESELECTION, ChildVariant(1)), RPC_E_DISCONNECTED);
    EXPECT_EQ(object->accDoDefaultAction(ChildVariant(1)), RPC_E_DISCONNECTED);
    long left = 0, top = 0, width = 0, height = 0;
    EXPECT_EQ(object->accLocation(&left, &top, &width, &height, ChildVariant(1)), RPC_E_DISCONNECTED);
}

}  // namespace
}  // namespace zo::test
