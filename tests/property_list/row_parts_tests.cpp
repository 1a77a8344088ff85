// The plain parts below the PropertyList's COM surface, where a hosted test
// cannot reach cheaply: counts past the 16-bit interface, rows found again
// by identity, and the one mapping between rows and pixel lines.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "common/vb_error.h"
#include "property_list/row_geometry.h"
#include "property_list/row_store.h"

namespace zo {
namespace {

// An Overflow (error 6) thrown by a read.
const auto kOverflow = testing::Throws<VbError>(testing::Property(&VbError::Number, vb_error::kOverflow));

TEST(RowStore, CountsAndIndexesTheInterfaceCannotCarryAreAnOverflow) {
    RowStore rows;
    for (int i = 0; i < 32768; ++i) rows.Insert(L"r", L"", false, row_kind::Text, -1);
    EXPECT_THAT([&] { (void)rows.CountForInterface(); }, kOverflow);
    ASSERT_TRUE(rows.Select(32767));
    EXPECT_EQ(rows.SelectedForInterface(), 32767);
    rows.Insert(L"r", L"", false, row_kind::Text, -1);
    ASSERT_TRUE(rows.Select(32768));
    EXPECT_THAT([&] { (void)rows.SelectedForInterface(); }, kOverflow);
    rows.Remove(32768);
    EXPECT_EQ(rows.SelectedForInterface(), -1) << "a selection past the last row is dropped";
}

TEST(RowStore, ARowIsFoundByIdentityWhereverInsertionsAndRemovalsMoveIt) {
    RowStore rows;
    for (const wchar_t* name : {L"a", L"b", L"c"}) rows.Insert(name, L"", false, row_kind::Text, -1);
    const RowId b = rows.Row(1)->Id;
    rows.Insert(L"top", L"", false, row_kind::Text, 0);
    EXPECT_EQ(rows.IndexOf(b, 1), 2);
    rows.Remove(0);
    rows.Remove(0);
    EXPECT_EQ(rows.IndexOf(b, 2), 0);
    rows.Remove(0);
    EXPECT_EQ(rows.IndexOf(b), std::nullopt);
    rows.Clear();
    EXPECT_EQ(rows.IndexOf(0), std::nullopt) << "blank records name no row";
}

// Item data stays with its row wherever the row moves, goes with it, and
// a record's texts survive changing one of them.
TEST(RowStore, ItemDataGoesWithItsRowAndTextsChangeOneAtATime) {
    RowStore rows;
    for (const wchar_t* name : {L"a", L"b", L"c"}) rows.Insert(name, L"v", false, row_kind::Text, -1);
    V_VT(&rows.ItemDataFor(*rows.Row(1))) = VT_I4;
    V_I4(&rows.ItemDataFor(*rows.Row(1))) = 42;
    rows.Insert(L"top", L"", false, row_kind::Text, 0);
    ASSERT_NE(rows.ItemDataOf(*rows.Row(2)), nullptr);
    EXPECT_EQ(V_I4(rows.ItemDataOf(*rows.Row(2))), 42) << "it moved with row b";
    EXPECT_EQ(rows.ItemDataOf(*rows.Row(1)), nullptr);
    rows.Remove(2);
    for (int i = 0; i <= rows.LastIndex(); ++i) EXPECT_EQ(rows.ItemDataOf(*rows.Row(i)), nullptr) << i;

    PropItem& row = *rows.Row(0);
    row.SetValue(L"a much longer value");
    row.SetName(L"");
    EXPECT_EQ(row.Name(), L"");
    EXPECT_EQ(row.Value(), L"a much longer value");
    row.SetName(L"named");
    EXPECT_EQ(row.Name(), L"named");
    EXPECT_EQ(row.Value(), L"a much longer value");
    row.SetValue(L"");
    EXPECT_EQ(row.Name(), L"named");
    EXPECT_EQ(row.Value(), L"");
}

TEST(RowGeometry, PaintingAndHitTestsShareOneMappingHeldWithinTheRows) {
    RowMetrics metrics;
    metrics.lineTwips = 195;  // 13 pixels: rows 16 pixels apart, 240 twips
    metrics.scaleWidth = 3000;
    metrics.scaleHeight = 2400;  // 10 rows fit
    struct Case {
        int32_t scroll, expectedFirst;
    } cases[] = {{0, 0}, {5, 5}, {-4, 0}, {1000, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scroll);
        const RowGeometry geometry(metrics, 19, c.scroll);
        ASSERT_EQ(geometry.RowsThatFit(), 10);
        EXPECT_EQ(geometry.FirstVisibleRow(), c.expectedFirst);
        EXPECT_EQ(geometry.LastVisibleRow(), std::min(c.expectedFirst + 10, 19));
        for (int32_t row = geometry.FirstVisibleRow(); row <= geometry.LastVisibleRow(); ++row) {
            const int32_t top = geometry.RowTopPx(row);
            EXPECT_EQ(geometry.RowAtPx(top), row);
            EXPECT_EQ(geometry.RowAtPx(top + geometry.PitchPx() - 1), row);
            EXPECT_EQ(geometry.EditorTopTwips(row), (top + 1) * 15.0);
        }
        EXPECT_EQ(geometry.EditorTopTwips(geometry.FirstVisibleRow() - 1), std::nullopt);
    }
    const RowGeometry shortList(metrics, 2, 0);
    EXPECT_EQ(shortList.RowAtPx(shortList.RowTopPx(3)), std::nullopt) << "below the last row";
    EXPECT_EQ(shortList.RowAtPx(0), std::nullopt) << "the top border line";
    EXPECT_FALSE(shortList.NeedsScrolling());
}

}  // namespace
}  // namespace zo
