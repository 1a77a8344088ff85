// The members through which a host reads and changes the rows of a
// PropertyList once they are there: the per-row properties, storing values,
// the selection, the name column's width, the Boolean texts and HoldDraw.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/host/ambient_properties.h"
#include "tests/property_list/property_list_fixture.h"

namespace zo::test {
namespace {

using Texts = std::vector<std::wstring>;

class ItemPropertiesTest : public PropertyListTest {
protected:
    void SetUp() override { ASSERT_TRUE(HostList()); }
};

TEST_F(ItemPropertiesTest, PerRowMembersWithABadIndexShowTheErrorAndReturnEmpty) {
    AddNamed({L"A", L"B"});
    ASSERT_TRUE(DispOk(PutIndexed(list.get(), L"Value", {Short(1)}, Variant(L"b"))));
    struct Case {
        const wchar_t* member;
        bool let;
        int index;
        Variant letValue;
        Variant emptyResult;  // what a get returns
        const wchar_t* title;
    };
    const Case cases[] = {
        {L"Item", false, 2, {}, Variant(L""), L"ZoPropertyList"},
        {L"Item", false, -1, {}, Variant(L""), L"ZoPropertyList"},
        {L"Value", false, 2, {}, Variant(L""), L"ZoPropertyList"},
        {L"ItemType", false, 5, {}, Variant(0), L"ZoPropertyList"},
        {L"ReadOnly", false, 2, {}, Variant(false), L"ZoPropertyList"},
        {L"ItemData", false, 2, {}, Variant(), L"ZoPropertyList"},
        {L"Item", true, 2, Variant(L"Z"), {}, L"ZoPropertyList"},
        {L"Value", true, 2, Variant(L"z"), {}, L"ZoPropList.Value"},
        {L"Value", true, -5, Variant(L"z"), {}, L"ZoPropList.Value"},
        {L"ItemType", true, 2, Variant(kNumericRow), {}, L"ZoPropertyList"},
        {L"ReadOnly", true, 2, Variant(true), {}, L"ZoPropertyList"},
        {L"ItemData", true, 2, Variant(7), {}, L"ZoPropertyList"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << Narrow(c.member) << (c.let ? " let " : " get ") << c.index);
        const DispResult result = c.let ? PutIndexed(list.get(), c.member, {Short(c.index)}, c.letValue)
                                        : Get(list.get(), c.member, Short(c.index));

        EXPECT_TRUE(DispOk(result)) << "the error reaches the caller";
        if (!c.let) {
            Variant expected = c.emptyResult;
            if (!expected.IsEmpty()) {
                EXPECT_EQ(result.value.ToString(), expected.ToString());
            } else {
                EXPECT_TRUE(result.value.IsEmpty()) << Narrow(result.value.Describe());
            }
        }
        const std::vector<MessageBoxCall> shown = TakeMessageBoxes();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, L"Subscript out of range");
        EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_ICONINFORMATION));
        EXPECT_EQ(shown[0].title, c.title);
        // Nothing changed.
        EXPECT_EQ(Names(), (Texts{L"A", L"B"}));
        EXPECT_EQ(Values(), (Texts{L"", L"b"}));
        EXPECT_EQ(ItemType(1), kStringRow);
        EXPECT_FALSE(ReadOnly(1));
    }
}

TEST_F(ItemPropertiesTest, PerRowPropertiesKeepWhatTheHostSets) {
    AddNamed({L"A", L"B", L"C"});
    com_ptr<IFontDisp> object = MakeFont(L"Arial", 10);  // any object will do as host data
    ASSERT_TRUE(object);
    struct Case {
        const wchar_t* member;
        int index;
        Variant value;
    };
    const Case cases[] = {
        {L"Item", 1, Variant(L"Renamed")},
        {L"Item", 0, Variant(L"")},
        {L"Item", 2, Variant(L"\u00C9t\u00E9 \u65E5\u672C")},
        {L"ReadOnly", 1, Variant(true)},
        {L"ReadOnly", 1, Variant(false)},
        {L"ItemType", 2, Variant(kColourRow)},
        {L"ItemType", 2, Variant(42)},  // kept without checking it
        {L"ItemData", 0, Variant(L"text")},
        {L"ItemData", 0, Variant(123456)},
        {L"ItemData", 1, Variant(2.5)},
        {L"ItemData", 2, Variant(object.get())},
        {L"ItemData", 2, Variant()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << Narrow(c.member) << "(" << c.index << ") = "
                                        << Narrow(c.value.Describe()));
        ASSERT_TRUE(DispOk(PutIndexed(list.get(), c.member, {Short(c.index)}, c.value)));
        const Variant read = ExpectOk(Get(list.get(), c.member, Short(c.index))).value;
        if (c.value.IsObject() || c.value.IsEmpty())
            EXPECT_EQ(read, c.value) << Narrow(read.Describe());
        else
            EXPECT_EQ(read.ToString(), c.value.ToString());
    }
    object = nullptr;
    EXPECT_EQ(ListCount(), 3);
    EXPECT_TRUE(TakeMessageBoxes().empty());
}

TEST_F(ItemPropertiesTest, ValueLetStoresByTheRulesOfTheRowKind) {
    struct Case {
        int kind;
        const wchar_t* newValue;
        const wchar_t* stored;
    };
    const Case cases[] = {
        {kStringRow, L"", L""},
        {kStringRow, L"text", L"text"},
        {kNumericRow, L"", L"0"},
        {kNumericRow, L"12", L"12"},
        {kNumericRow, L"abc", L"abc"},  // not validated
        {kBooleanRow, L"TRUE", L"True"},
        {kBooleanRow, L"true", L"True"},
        {kBooleanRow, L"no", L"False"},
        {kBooleanRow, L"", L"False"},
        {kBrowseRow, L"C:\\file.txt", L"C:\\file.txt"},
        {kColourRow, L"&HFF", L"&HFF"},  // only Add converts colours
        {kCustomRow, L"Second", L"Second"},
        {kHeaderRow, L"ignored", L"ignored"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << ", value \"" << Narrow(c.newValue) << "\"");
        ASSERT_TRUE(DispOk(Add(L"Row", L"1", c.kind)));
        const int row = ListCount() - 1;
        events.Clear();
        ASSERT_TRUE(DispOk(PutIndexed(list.get(), L"Value", {Short(row)}, Variant(c.newValue))));
        EXPECT_EQ(Value(row), c.stored);
        EXPECT_EQ(events.Count(list_event::ValueChanged), 0u) << "only owner-drawn rows ask the host";
    }
    EXPECT_TRUE(TakeMessageBoxes().empty());
}

TEST_F(ItemPropertiesTest, ValueLetOnAnOwnerDrawnRowAsksTheHostFirst) {
    AddNamed({L"First"});
    ASSERT_TRUE(DispOk(Add(L"Drawn", L"old", kOwnerDrawRow)));
    for (bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "host cancels" : "host accepts");
        ASSERT_TRUE(DispOk(PutIndexed(list.get(), L"Value", {Short(1)}, Variant(L"old"))));
        events.Clear();
        std::wstring valueDuringEvent;
        events.On(list_event::ValueChanged, [&](EventArgs& args) {
            valueDuringEvent = Value(1);
            args.SetBool(3, cancel);
        });

        ASSERT_TRUE(DispOk(PutIndexed(list.get(), L"Value", {Short(1)}, Variant(L"new"))));
        events.On(list_event::ValueChanged, nullptr);

        ASSERT_EQ(events.Count(list_event::ValueChanged), 1u);
        const EventCall& raised = events.Last(list_event::ValueChanged);
        ASSERT_EQ(raised.args.size(), 4u);
        EXPECT_EQ(raised.args[0].ToString(), L"Drawn");
        EXPECT_EQ(raised.args[1].ToShort(), 1);
        EXPECT_EQ(raised.args[2].ToString(), L"new");
        EXPECT_FALSE(raised.args[3].ToBool());
        EXPECT_EQ(valueDuringEvent, L"old");
        EXPECT_EQ(Value(1), cancel ? L"old" : L"new");
    }
}

TEST_F(ItemPropertiesTest, SelectedAcceptsOnlyMinusOneOrAnExistingRow) {
    AddNamed({L"A", L"B", L"C"});
    struct Case {
        int set;
        int expected;
    };
    const Case cases[] = {
        {1, 1}, {3, 1}, {5, 1}, {-2, 1}, {2, 2}, {0, 0}, {-1, -1}, {32767, -1}, {-32768, -1}, {2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "Selected = " << c.set);
        EXPECT_TRUE(DispOk(Put(list.get(), L"Selected", Short(c.set))));
        EXPECT_EQ(Selected(), c.expected);
    }
    EXPECT_EQ(events.Count(list_event::SelChange), 0u);
    EXPECT_TRUE(TakeMessageBoxes().empty());
}

TEST_F(ItemPropertiesTest, ASelectionPastTheLastRowIsDroppedByRemoveAndClear) {
    struct Case {
        const char* what;
        int selected;
        bool clear;  // else Remove(removed)
        int removed;
        int afterwards;
    };
    const Case cases[] = {
        {"remove the selected last row", 2, false, 2, -1},
        {"remove a row before the selected last row", 2, false, 0, -1},
        {"remove a row after the selection", 1, false, 2, 1},
        {"remove the selected middle row", 1, false, 1, 1},
        {"clear", 1, true, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
        AddNamed({L"A", L"B", L"C"});
        ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(c.selected))));

        ASSERT_TRUE(DispOk(c.clear ? Call(list.get(), L"Clear") : Call(list.get(), L"Remove", {Short(c.removed)})));
        EXPECT_EQ(Selected(), c.afterwards);
        // Rows added later do not bring a dropped selection back.
        AddNamed({L"D", L"E", L"F"});
        EXPECT_EQ(Selected(), c.afterwards);
    }
}

TEST_F(ItemPropertiesTest, LongestItemRefusesToBeSet) {
    AddNamed({L"Name"});
    const LONG before = Property(L"LongestItem").ToLong();
    for (LONG value : {0L, 1545L, -1L, 100000L}) {
        SCOPED_TRACE(testing::Message() << "LongestItem = " << value);
        const DispResult result = Put(list.get(), L"LongestItem", Variant(value));
        EXPECT_TRUE(DispRaised(result, static_cast<SCODE>(0x80040001)));
        EXPECT_EQ(result.source, L"PropertyList.LongestItem");
        EXPECT_EQ(result.description, L"Property Let not supported.");
        EXPECT_EQ(Property(L"LongestItem").ToLong(), before);
    }
}

TEST_F(ItemPropertiesTest, LongestItemGrowsToTheWidestNameThatIsNotAHeader) {
    const int twips = TwipsPerPixelX();
    const Variant font = Property(L"Font");
    const LONG initial = Property(L"LongestItem").ToLong();
    ASSERT_GT(initial, 0);
    struct Case {
        const wchar_t* name;
        int kind;
    };
    const Case cases[] = {
        {L"Short", kStringRow},
        {L"A header wider than any other name in this list", kHeaderRow},
        {L"Rather longer name", kBooleanRow},
        {L"Tiny", kStringRow},
        {L"The longest name of all rows", kColourRow},
        {L"Medium length name", kOwnerDrawRow},
        {L"Another header that is wider than everything else here", kHeaderRow},
    };
    LONG expected = initial;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << Narrow(c.name) << "\", kind " << c.kind);
        const int pixels = TextWidthPixels(font.ToUnknown().get(), c.name);
        ASSERT_GT(pixels, 0);
        if (c.kind != kHeaderRow) expected = std::max<LONG>(expected, pixels * twips + 3 * twips);

        ASSERT_TRUE(DispOk(Add(c.name, L"", c.kind)));
        EXPECT_EQ(Property(L"LongestItem").ToLong(), expected);
    }
    ASSERT_GT(expected, initial) << "the names were meant to be wider than a new control's width";

    // Renaming a row leaves the width alone.
    ASSERT_TRUE(DispOk(PutIndexed(list.get(), L"Item", {Short(0)},
                                  Variant(L"A new name far, far wider than any name before it in the list"))));
    EXPECT_EQ(Property(L"LongestItem").ToLong(), expected);
}

TEST_F(ItemPropertiesTest, ChangingTheBooleanTextsReportsThemAndLeavesExistingRows) {
    ASSERT_TRUE(DispOk(Add(L"On", L"true", kBooleanRow)));
    ASSERT_TRUE(DispOk(Add(L"Off", L"", kBooleanRow)));
    changes.Clear();

    ASSERT_TRUE(DispOk(Put(list.get(), L"TextTrue", Variant(L"Yes"))));
    ASSERT_TRUE(DispOk(Put(list.get(), L"TextFalse", Variant(L"No"))));

    EXPECT_EQ(changes.Count(list_dispid::TextTrue), 1u);
    EXPECT_EQ(changes.Count(list_dispid::TextFalse), 1u);
    EXPECT_EQ(Property(L"TextTrue").ToString(), L"Yes");
    EXPECT_EQ(Property(L"TextFalse").ToString(), L"No");
    EXPECT_EQ(Values(), (Texts{L"True", L"False"}));

    // Rows take the new texts when they are next set.
    ASSERT_TRUE(DispOk(PutIndexed(list.get(), L"Value", {Short(0)}, Variant(L"YES"))));
    ASSERT_TRUE(DispOk(PutIndexed(list.get(), L"Value", {Short(1)}, Variant(L"True"))));
    ASSERT_TRUE(DispOk(Add(L"New", L"False", kBooleanRow)));
    EXPECT_EQ(Values(), (Texts{L"Yes", L"Yes", L"No"}));
}

TEST_F(ItemPropertiesTest, HoldDrawKeepsItsFlagAndLaysTheListOutAgain) {
    EXPECT_FALSE(Property(L"HoldDraw").ToBool());
    for (bool hold : {true, true, false}) {
        SCOPED_TRACE(hold ? "hold" : "release");
        events.Clear();
        ASSERT_TRUE(DispOk(Put(list.get(), L"HoldDraw", Variant(hold))));
        EXPECT_EQ(Property(L"HoldDraw").ToBool(), hold);
        EXPECT_EQ(events.Count(list_event::Resize), 1u);
    }
}

// A host filling a held list: messages wait until the hold ends, and what
// the host sets meanwhile (TopIndex past the rows shown so far) holds.
TEST_F(ItemPropertiesTest, AHeldListRunsNoMessagesPerRowAndKeepsWhatTheHostSetsMeanwhile) {
    ASSERT_TRUE(DispOk(Put(list.get(), L"HoldDraw", Variant(true))));
    const auto pending = [] {
        MSG message;
        return ::PeekMessageW(&message, nullptr, WM_APP, WM_APP, PM_NOREMOVE) != FALSE;
    };
    ASSERT_TRUE(::PostThreadMessageW(::GetCurrentThreadId(), WM_APP, 0, 0));
    for (int i = 0; i < 200; ++i) ASSERT_TRUE(DispOk(Add(L"Row" + std::to_wstring(i), L"v")));
    EXPECT_TRUE(pending()) << "no pending message runs inside Add while the list is held";
    ASSERT_TRUE(DispOk(Put(list.get(), L"TopIndex", Short(150))));
    ASSERT_TRUE(DispOk(Put(list.get(), L"HoldDraw", Variant(false))));
    EXPECT_FALSE(pending()) << "they run when the hold ends";
    EXPECT_EQ(Property(L"TopIndex").ToShort(), 150);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    HWND bar = ::FindWindowExW(container.ControlHwnd(), nullptr, L"ScrollBar", nullptr);
    ASSERT_TRUE(bar);
    ASSERT_TRUE(::GetScrollInfo(bar, SB_CTL, &info));
    EXPECT_EQ(info.nMax, 199);
    EXPECT_EQ(info.nPos, 150);
}

}  // namespace
}  // namespace zo::test
