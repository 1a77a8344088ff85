// The rows of a PropertyList as a host fills them: adding with the
// normalisation each kind of row applies, inserting, removing and clearing,
// and reading a row that is not there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/property_list/property_list_fixture.h"

namespace zo::test {
namespace {

using Texts = std::vector<std::wstring>;

class ItemStoreTest : public PropertyListTest {
protected:
    void SetUp() override { ASSERT_TRUE(HostList()); }
};

TEST_F(ItemStoreTest, AddWithDefaultArgumentsAppendsAnEditableTextRow) {
    ASSERT_TRUE(DispOk(Call(list.get(), L"Add", {Variant(L"A")})));

    EXPECT_EQ(ListCount(), 1);
    EXPECT_EQ(Item(0), L"A");
    EXPECT_EQ(Value(0), L"");
    EXPECT_EQ(ItemType(0), kStringRow);
    EXPECT_FALSE(ReadOnly(0));
    EXPECT_TRUE(Get(list.get(), L"ItemData", 0).value.IsEmpty());
}

TEST_F(ItemStoreTest, AddInsertsAtIndexAndAppendsBeyondTheEnd) {
    struct Case {
        Texts before;
        int index;
        Texts after;
    };
    const Case cases[] = {
        {{L"A", L"C"}, 0, {L"X", L"A", L"C"}},
        {{L"A", L"C"}, 1, {L"A", L"X", L"C"}},
        {{L"A", L"B", L"C"}, 2, {L"A", L"B", L"X", L"C"}},
        {{L"A", L"B", L"C"}, 3, {L"A", L"B", L"C", L"X"}},
        {{L"A", L"B", L"C"}, 7, {L"A", L"B", L"C", L"X"}},
        {{L"A", L"B", L"C"}, -1, {L"A", L"B", L"C", L"X"}},
        {{}, 0, {L"X"}},
        {{}, 5, {L"X"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "index " << c.index << " into " << c.before.size() << " rows");
        ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
        for (const std::wstring& name : c.before) ASSERT_TRUE(DispOk(Add(name, L"value of " + name)));
        ASSERT_TRUE(DispOk(Add(L"X", L"value of X", kNumericRow, c.index, true)));

        EXPECT_EQ(Names(), c.after);
        // The whole record moves, not just the name.
        for (int i = 0; i < static_cast<int>(c.after.size()); ++i) {
            EXPECT_EQ(Value(i), L"value of " + c.after[static_cast<size_t>(i)]);
            EXPECT_EQ(ItemType(i), c.after[static_cast<size_t>(i)] == L"X" ? kNumericRow : kStringRow);
            EXPECT_EQ(ReadOnly(i), c.after[static_cast<size_t>(i)] == L"X");
        }
    }
}

TEST_F(ItemStoreTest, AddStoresBooleanContentAsOneOfTheTwoTexts) {
    struct Case {
        const wchar_t* textTrue;
        const wchar_t* textFalse;
        const wchar_t* content;
        const wchar_t* stored;
    };
    const Case cases[] = {
        {L"True", L"False", L"True", L"True"},
        {L"True", L"False", L"true", L"True"},
        {L"True", L"False", L"tRuE", L"True"},
        {L"True", L"False", L"", L"False"},
        {L"True", L"False", L"False", L"False"},
        {L"True", L"False", L"-1", L"False"},
        {L"True", L"False", L" true", L"False"},
        {L"Yes", L"No", L"yes", L"Yes"},
        {L"Yes", L"No", L"YES", L"Yes"},
        {L"Yes", L"No", L"TRUE", L"Yes"},
        {L"Yes", L"No", L"no", L"No"},
        {L"Yes", L"No", L"", L"No"},
        {L"Yes", L"No", L"Yes please", L"No"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "TextTrue " << Narrow(c.textTrue) << ", content \"" << Narrow(c.content)
                                        << "\"");
        ASSERT_TRUE(DispOk(Put(list.get(), L"TextTrue", c.textTrue)));
        ASSERT_TRUE(DispOk(Put(list.get(), L"TextFalse", c.textFalse)));
        ASSERT_TRUE(DispOk(Add(L"Flag", c.content, kBooleanRow)));
        EXPECT_EQ(Value(ListCount() - 1), c.stored);
    }
}

TEST_F(ItemStoreTest, AddStoresColourContentAsTheDecimalTextOfItsNumber) {
    struct Case {
        const wchar_t* content;
        const wchar_t* stored;
    };
    const Case cases[] = {
        {L"&HFF", L"255"},
        {L"&hff", L"255"},
        {L"&H8000000F", L"-2147483633"},
        {L"&HFFFFFFFF", L"-1"},
        {L"&HFF0000", L"16711680"},
        {L"&O17", L"15"},
        {L"12abc", L"12"},
        {L"  42", L"42"},
        {L"16711680", L"16711680"},
        {L"red", L"0"},
        {L"", L"0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "content \"" << Narrow(c.content) << "\"");
        ASSERT_TRUE(DispOk(Add(L"Colour", c.content, kColourRow)));
        EXPECT_EQ(Value(ListCount() - 1), c.stored);
    }
}

TEST_F(ItemStoreTest, AddKeepsTheContentOfOtherKindsAsGiven) {
    const int kinds[] = {kStringRow, kNumericRow, kBrowseRow, kCustomRow, kOwnerDrawRow, kHeaderRow, 42};
    const wchar_t* const contents[] = {L"", L" &HFF ", L"true", L"12abc"};
    for (int kind : kinds) {
        for (const wchar_t* content : contents) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << ", content \"" << Narrow(content) << "\"");
            ASSERT_TRUE(DispOk(Add(L"Row", content, kind)));
            const int last = ListCount() - 1;
            EXPECT_EQ(Value(last), content);
            EXPECT_EQ(ItemType(last), kind);
        }
    }
}

TEST_F(ItemStoreTest, AddWithANegativeIndexBelowMinusOneIsRefusedWithAMessage) {
    AddNamed({L"A", L"B"});
    for (int index : {-2, -3, -100, -32768}) {
        SCOPED_TRACE(testing::Message() << "index " << index);
        events.Clear();
        EXPECT_TRUE(DispOk(Add(L"X", L"", kStringRow, index)));

        const std::vector<MessageBoxCall> shown = TakeMessageBoxes();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, L"'Index' cannot be a negative value.");
        EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_ICONINFORMATION));
        EXPECT_EQ(shown[0].title, L"ZoPropertyList");
        EXPECT_EQ(Names(), (Texts{L"A", L"B"}));
        EXPECT_EQ(events.Count(list_event::Resize), 0u);
    }
}

TEST_F(ItemStoreTest, EveryAddRaisesOneResizeEvent) {
    const int kinds[] = {kStringRow, kBooleanRow, kColourRow, kOwnerDrawRow, kHeaderRow};
    for (int kind : kinds) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        events.Clear();
        ASSERT_TRUE(DispOk(Add(L"Row", L"", kind)));
        EXPECT_EQ(events.Count(list_event::Resize), 1u);
    }
}

TEST_F(ItemStoreTest, RemoveMovesTheFollowingRowsUp) {
    struct Case {
        int index;
        Texts after;
    };
    const Case cases[] = {
        {0, {L"B", L"C", L"D"}},
        {1, {L"A", L"C", L"D"}},
        {3, {L"A", L"B", L"C"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "remove " << c.index);
        ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
        // Kinds that keep their content as given, one per row.
        const int kinds[] = {kStringRow, kNumericRow, kBrowseRow, kCustomRow};
        for (const wchar_t* name : {L"A", L"B", L"C", L"D"}) {
            ASSERT_TRUE(DispOk(Add(name, std::wstring(L"v") + name, kinds[name[0] - L'A'])));
            ASSERT_TRUE(DispOk(PutIndexed(list.get(), L"ItemData", {Short(ListCount() - 1)}, Variant(name))));
        }
        ASSERT_TRUE(DispOk(Call(list.get(), L"Remove", {Short(c.index)})));

        EXPECT_EQ(Names(), c.after);
        for (int i = 0; i < static_cast<int>(c.after.size()); ++i) {
            const std::wstring& name = c.after[static_cast<size_t>(i)];
            EXPECT_EQ(Value(i), L"v" + name);
            EXPECT_EQ(ItemType(i), kinds[name[0] - L'A']);
            EXPECT_EQ(Get(list.get(), L"ItemData", i).value.ToString(), name);
        }
    }
}

TEST_F(ItemStoreTest, RemoveWithAnIndexThatNamesNoRowChangesNothing) {
    AddNamed({L"A", L"B", L"C", L"D"});
    ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(2))));
    for (int index : {-1, -2, 4, 5, 100, 32767}) {
        SCOPED_TRACE(testing::Message() << "remove " << index);
        EXPECT_TRUE(DispOk(Call(list.get(), L"Remove", {Short(index)})));
        EXPECT_EQ(Names(), (Texts{L"A", L"B", L"C", L"D"}));
        EXPECT_EQ(Selected(), 2);
    }
}

TEST_F(ItemStoreTest, ClearEmptiesTheListAndReadsItsLeftOverRecordQuietly) {
    const LONG initialWidth = Property(L"LongestItem").ToLong();
    AddNamed({L"A", L"A rather long property name", L"C"});
    ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(1))));
    ASSERT_GT(Property(L"LongestItem").ToLong(), initialWidth);

    ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));

    EXPECT_EQ(ListCount(), 0);
    EXPECT_EQ(Selected(), -1);
    EXPECT_EQ(Item(0), L"");
    EXPECT_EQ(Value(0), L"");
    EXPECT_TRUE(TakeMessageBoxes().empty());
    // The width starts again from that of a new control.
    EXPECT_EQ(Property(L"LongestItem").ToLong(), initialWidth);
}

TEST_F(ItemStoreTest, ReadingARowBeforeTheFirstAddShowsTheSubscriptError) {
    const DispResult name = Get(list.get(), L"Item", 0);

    ASSERT_TRUE(DispOk(name));
    EXPECT_EQ(name.value.ToString(), L"");
    const std::vector<MessageBoxCall> shown = TakeMessageBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, L"Subscript out of range");
    EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(shown[0].title, L"ZoPropertyList");
}

}  // namespace
}  // namespace zo::test
