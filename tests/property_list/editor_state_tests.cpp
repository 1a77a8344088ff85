// What the editors of a PropertyList hold and where they go: text counts as
// pending only for the row it was filled for, a host that moves rows inside
// ValueChanged gets its value in the row it named, the editor lands on the
// selected row while painting is held, and a designer never gets an editor.
#include <gtest/gtest.h>

#include <string>

#include "tests/property_list/painted_list.h"

namespace zo::test {
namespace {

class EditorStateTest : public PaintedListTest {
protected:
    [[nodiscard]] HWND TextEditor() { return ::FindWindowExW(ListWindow(), nullptr, L"Edit", nullptr); }
    void Select(int row) { ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(row)))); }
    void SetValue(int row, std::wstring_view value) {
        ASSERT_TRUE(DispOk(PutIndexed(list.get(), L"Value", {Short(row)}, Variant(value))));
    }
    // Rows "First"="x0", "Name"="keep me", a Boolean "Flag", "Last"; the
    // text box opened on "Name".
    void AddRowsAndEditName() {
        ASSERT_TRUE(DispOk(Add(L"First", L"x0")));
        ASSERT_TRUE(DispOk(Add(L"Name", L"keep me")));
        ASSERT_TRUE(DispOk(Add(L"Flag", L"True", kBooleanRow)));
        ASSERT_TRUE(DispOk(Add(L"Last", L"z")));
        Select(1);
    }
};

TEST_F(EditorStateTest, TextFilledForAnotherRowIsNeverCommittedIntoTheSelectedOne) {
    struct Case {
        const char* what;
        std::function<void()> change;  // leaves "Flag" at index `flag`
        int flag;
        std::vector<std::wstring> values;  // after Flag is set to True
    };
    const Case cases[] = {
        {"a row removed empties the text box", [&] { ASSERT_TRUE(DispOk(Call(list.get(), L"Remove", {Short(3)}))); },
         2, {L"x0", L"keep me", L"True"}},
        {"a row inserted above makes the index name another row",
         [&] { ASSERT_TRUE(DispOk(Add(L"Inserted", L"new", kStringRow, 0))); }, 3,
         {L"new", L"x0", L"keep me", L"True", L"z"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
        AddRowsAndEditName();
        c.change();
        SetValue(c.flag, L"true");
        EXPECT_EQ(Values(), c.values);
    }
}

// Text typed into the selected row and left there (as Escape leaves it) is
// still committed by the next commit of that row.
TEST_F(EditorStateTest, TextTypedIntoTheSelectedRowIsCommittedLater) {
    AddRowsAndEditName();
    ASSERT_TRUE(::SetWindowTextW(TextEditor(), L"typed"));
    SetValue(2, L"false");
    EXPECT_EQ(Value(1), L"typed");
    EXPECT_EQ(Value(0), L"x0");
}

TEST_F(EditorStateTest, AValueGoesToTheRowItWasMeantForWhenTheHostMovesRowsInsideValueChanged) {
    struct Case {
        const char* what;
        std::function<void()> inside;
        std::vector<std::wstring> names, values;
    };
    const Case cases[] = {
        {"a row above removed", [&] { EXPECT_TRUE(DispOk(Call(list.get(), L"Remove", {Short(0)}))); }, {L"Drawn", L"C"}, {L"new", L"c"}},
        {"a row inserted above", [&] { EXPECT_TRUE(DispOk(Add(L"Top", L"t", kStringRow, 0))); },
         {L"Top", L"A", L"Drawn", L"C"}, {L"t", L"a", L"new", L"c"}},
        {"the row itself removed", [&] { EXPECT_TRUE(DispOk(Call(list.get(), L"Remove", {Short(1)}))); }, {L"A", L"C"}, {L"a", L"c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
        ASSERT_TRUE(DispOk(Add(L"A", L"a")));
        ASSERT_TRUE(DispOk(Add(L"Drawn", L"old", kOwnerDrawRow)));
        ASSERT_TRUE(DispOk(Add(L"C", L"c")));
        bool once = true;
        events.On(list_event::ValueChanged, [&](EventArgs&) {
            if (std::exchange(once, false)) c.inside();
        });
        SetValue(1, L"new");
        events.On(list_event::ValueChanged, nullptr);
        EXPECT_EQ(Names(), c.names);
        EXPECT_EQ(Values(), c.values);
    }
}

// The editor's line comes from the rows on screen, not from the last paint.
TEST_F(EditorStateTest, TheEditorOpensOnTheSelectedRowWhilePaintingIsHeld) {
    ASSERT_TRUE(DispOk(Put(list.get(), L"HoldDraw", Variant(true))));
    for (const wchar_t* name : {L"A", L"B", L"C", L"D", L"E"}) ASSERT_TRUE(DispOk(Add(name, L"v")));
    for (int row : {3, 1}) {
        SCOPED_TRACE(row);
        Select(row);
        HWND editor = TextEditor();
        ASSERT_TRUE(::IsWindowVisible(editor));
        RECT place{};
        ::GetWindowRect(editor, &place);
        ::MapWindowPoints(nullptr, ListWindow(), reinterpret_cast<POINT*>(&place), 2);
        EXPECT_EQ(place.top, RowTop(row) + 1);
    }
}

TEST(EditorStateDesignTime, ADesignerNeverGetsAnEditor) {
    TestContainer container;
    container.Ambient().userMode = false;
    ASSERT_TRUE(Hosted(container.Host(kPropertyListProgId)));
    MessageBoxRecorder boxes;
    {
        com_ptr<IDispatch> list = container.Dispatch();
        for (int kind : {kStringRow, kBooleanRow, kColourRow}) {
            ASSERT_TRUE(DispOk(Call(list.get(), L"Add", {Variant(L"Row"), Variant(L"1"), Variant(false), Variant(kind)})));
        }
        for (int row : {0, 1, 2}) {
            SCOPED_TRACE(row);
            ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(row))));
            for (HWND child = ::GetWindow(container.ControlHwnd(), GW_CHILD); child;
                 child = ::GetWindow(child, GW_HWNDNEXT))
                EXPECT_FALSE(::IsWindowVisible(child));
        }
    }
    container.Close();
    EXPECT_EQ(container.ControlRefsAfterClose(), 0u);
}

}  // namespace
}  // namespace zo::test
