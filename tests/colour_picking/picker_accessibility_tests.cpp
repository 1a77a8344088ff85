// The colour picker through oleacc: its tabs as page tabs that say which one
// shows, the palette cells named by their colour with the selected one
// marked and placed where they are drawn, and the system list's items named
// as the list shows them.
#include <gtest/gtest.h>

#include <string>

#include "tests/colour_picking/picker_fixture.h"
#include "tests/host/accessible_client.h"
#include "tests/host/message_pump.h"

namespace zo::test {
namespace {

constexpr long kPaletteTab = 1, kSystemTab = 2, kFirstCell = 3, kSystemList = 67;

[[nodiscard]] long CellId(int x, int y) { return kFirstCell + (x - 1) + (y - 1) * 8; }

class PickerAccessibilityTest : public PickerTest {
protected:
    void Show(int tab) {
        ASSERT_TRUE(DispOk(Call(picker.get(), L"Show", {Variant(static_cast<std::int16_t>(tab))})));
        PumpMessages();
    }
    [[nodiscard]] com_ptr<IAccessible> Accessible() {
        com_ptr<IAccessible> object = AccessibleOf(PickerWindow());
        EXPECT_TRUE(object);
        return object;
    }
};

TEST_F(PickerAccessibilityTest, TheTabsArePageTabsAndTheShownOneIsSelected) {
    Show(1);
    com_ptr<IAccessible> object = Accessible();
    ASSERT_TRUE(object);
    ASSERT_EQ(AccChildCount(*object.get()), kSystemList);
    struct Case {
        int shown;
        long selected;
        long other;
    };
    for (const Case& c : {Case{1, kPaletteTab, kSystemTab}, Case{2, kSystemTab, kPaletteTab}}) {
        SCOPED_TRACE(c.shown);
        Show(c.shown);
        EXPECT_EQ(AccRole(*object.get(), c.selected), ROLE_SYSTEM_PAGETAB);
        EXPECT_NE(AccState(*object.get(), c.selected) & STATE_SYSTEM_SELECTED, 0);
        EXPECT_EQ(AccState(*object.get(), c.other) & STATE_SYSTEM_SELECTED, 0);
        EXPECT_EQ(ListShown(), c.shown == 2);
    }
    EXPECT_EQ(AccName(*object.get(), kPaletteTab), L"Palette");
    EXPECT_EQ(AccName(*object.get(), kSystemTab), L"System");
    const RECT tab = AccLocation(*object.get(), kSystemTab);
    EXPECT_EQ(AccHitTest(*object.get(), POINT{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2}), kSystemTab);
    EXPECT_EQ(AccDefaultAction(*object.get(), kPaletteTab), L"Switch");
    EXPECT_EQ(object->accDoDefaultAction(ChildVariant(kPaletteTab)), S_OK);
    EXPECT_FALSE(ListShown()) << "the default action shows the tab's page";
}

TEST_F(PickerAccessibilityTest, CellsAreNamedByTheirColourAndPlacedWhereTheyAreDrawn) {
    Show(1);
    com_ptr<IAccessible> object = Accessible();
    ASSERT_TRUE(object);
    struct Case {
        int x, y;
        const wchar_t* name;
    };
    const Case cases[] = {
        {1, 1, L"White, &HFFFFFF"}, {2, 3, L"Red, &HFF"},  {7, 3, L"Blue, &HFF0000"},
        {2, 1, L"&HC0C0FF"},        {1, 6, L"Black, &H0"}, {3, 3, L"Orange, &H80FF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.name));
        const long id = CellId(c.x, c.y);
        EXPECT_EQ(AccName(*object.get(), id), c.name);
        EXPECT_EQ(AccRole(*object.get(), id), ROLE_SYSTEM_LISTITEM);
        const POINT centre = CellCentre(c.x, c.y);
        const RECT cell = AccLocation(*object.get(), id);
        EXPECT_TRUE(::PtInRect(&cell, centre));
        EXPECT_EQ(cell.right - cell.left, kCellPitch);
        EXPECT_EQ(AccHitTest(*object.get(), centre), id);
    }
    SetColors(4, 7, 0x123456);
    EXPECT_EQ(AccName(*object.get(), CellId(4, 7)), L"&H123456") << "a user's colour";

    ClickCell(7, 3);
    EXPECT_NE(AccState(*object.get(), CellId(7, 3)) & STATE_SYSTEM_SELECTED, 0);
    EXPECT_EQ(AccState(*object.get(), CellId(1, 1)) & STATE_SYSTEM_SELECTED, 0);
    VARIANT selection = {};
    ASSERT_EQ(object->get_accSelection(&selection), S_OK);
    EXPECT_EQ(selection.lVal, CellId(7, 3));
    Show(2);
    EXPECT_NE(AccState(*object.get(), CellId(7, 3)) & STATE_SYSTEM_INVISIBLE, 0) << "behind the system list";
}

TEST_F(PickerAccessibilityTest, TheSystemListNamesItsItemsAsShown) {
    Show(2);
    com_ptr<IAccessible> object = Accessible();
    ASSERT_TRUE(object);
    com_ptr<IDispatch> listWindow;
    ASSERT_EQ(object->get_accChild(ChildVariant(kSystemList), listWindow.put()), S_OK);
    EXPECT_TRUE(listWindow) << "the list is a window with an object of its own";

    com_ptr<IAccessible> list = AccessibleOf(ListWindow());
    ASSERT_TRUE(list);
    EXPECT_EQ(AccRole(*list.get(), CHILDID_SELF), ROLE_SYSTEM_LIST);
    ASSERT_EQ(AccChildCount(*list.get()), 28);
    const struct {
        long id;
        const wchar_t* name;
    } items[] = {{1, L"Scrollbars"}, {8, L"Window Background"}, {28, L"Hot Items"}};
    for (const auto& item : items) EXPECT_EQ(AccName(*list.get(), item.id), item.name);
    LONG colour = static_cast<LONG>(0x80000005);
    ASSERT_TRUE(DispOk(Call(picker.get(), L"SetColor", {Variant::RefI4(&colour)})));
    EXPECT_NE(AccState(*list.get(), 8) & STATE_SYSTEM_SELECTED, 0);
    const RECT first = AccLocation(*list.get(), 1);
    EXPECT_EQ(AccHitTest(*list.get(), POINT{first.left + 2, (first.top + first.bottom) / 2}), 1);
}

}  // namespace
}  // namespace zo::test
