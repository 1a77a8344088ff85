// The picture a PropertyList paints in its window: the dotted grid, the row
// pitch, the column divider, the highlighted selection, header rows, colour
// swatches and the "&" prefix, read back pixel by pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tests/property_list/painted_list.h"

namespace zo::test {
namespace {

// Pixels of `colour` in the rectangle.
long Count(const CapturedBitmap& picture, COLORREF colour, int left, int top, int right, int bottom) {
    const RECT area{left, top, right, bottom};
    return picture.CountColor(colour, &area);
}

// Dark (text) pixels of a rectangle, as a set of points.
std::set<std::pair<int, int>> TextPixels(const CapturedBitmap& picture, const RECT& area) {
    std::set<std::pair<int, int>> points;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (picture.At(x, y) == kBlack) points.insert({x, y});
    return points;
}

class PaintingTest : public PaintedListTest {};

TEST_F(PaintingTest, GridDotsLieOnEvenPixelsAtEveryRowBottomAndTheDivider) {
    for (int i = 0; i < 6; ++i) ASSERT_TRUE(DispOk(Add(L"n", L"v")));
    const CapturedBitmap picture = Picture();
    ASSERT_TRUE(picture.Valid());
    const int w = picture.Width();

    // Down a column at the far right, where no text reaches: grey exactly on
    // the top line and at the bottom of each of the six rows.
    std::vector<int> expected{0};
    for (int k = 1; k <= 6; ++k) expected.push_back(EvenRow(RowTop(k)));
    std::vector<int> found;
    const int column = (w - 10) & ~1;
    for (int y = 0; y < picture.Height(); ++y)
        if (picture.At(column, y) == kGrid) found.push_back(y);
    EXPECT_EQ(found, expected);

    // Along each line, dots on even x only.
    for (int y : expected) {
        SCOPED_TRACE(testing::Message() << "line at y = " << y);
        EXPECT_EQ(picture.At(column, y), kGrid);
        EXPECT_EQ(picture.At(column + 1, y), kWhite);
        EXPECT_EQ(picture.At(column - 1, y), kWhite);
    }

    // The divider: dots on even y at the divider's (even) column, all the way down.
    const int divider = EvenColumn(Divider());
    const int below = RowTop(7) + 4;
    ASSERT_LT(below + 8, picture.Height());
    for (int y = below; y < below + 8; ++y)
        EXPECT_EQ(picture.At(divider, y), y % 2 ? kWhite : kGrid) << "y = " << y;
    EXPECT_EQ(Count(picture, kGrid, divider + 1, below, w, below + 8), 0);
}

TEST_F(PaintingTest, TheDividerFollowsTheLongestName) {
    ASSERT_TRUE(DispOk(Add(L"a", L"v")));
    const int before = Divider();
    ASSERT_TRUE(DispOk(Add(L"A considerably longer name", L"v")));
    const int after = Divider();
    ASSERT_GT(after, before + 20);
    const CapturedBitmap picture = Picture();
    const int y = RowTop(3) + 2 + (RowTop(3) % 2);  // an even row of pixels below the rows
    EXPECT_EQ(picture.At(EvenColumn(after), y), kGrid);
    EXPECT_NE(picture.At(EvenColumn(before), y), kGrid);
}

TEST_F(PaintingTest, TheSelectedRowsNameIsWhiteOnTheHighlightInTheNameColumnOnly) {
    ASSERT_TRUE(DispOk(Add(L"First", L"one")));
    ASSERT_TRUE(DispOk(Add(L"Second", L"two")));
    ASSERT_TRUE(DispOk(Add(L"Section", L"", kHeaderRow)));
    ASSERT_TRUE(DispOk(Add(L"Fourth", L"four")));
    const struct {
        int row;
        bool wholeRow;
    } cases[] = {{1, false}, {2, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row);
        ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(c.row))));
        const CapturedBitmap picture = Picture();
        const int w = picture.Width(), d = Divider();
        const int top = RowTop(c.row), bottom = RowTop(c.row + 1);
        const int right = c.wholeRow ? w : d + 1;
        // The fill reaches both ends of its extent on every pixel row of the
        // row (the separator below may dot it); text never reaches there.
        const int separator = EvenRow(bottom);
        for (int y = top; y < bottom; ++y) {
            for (int x : {0, 1, right - 2, right - 1}) {
                if (y == separator && x % 2 == 0) continue;
                EXPECT_EQ(picture.At(x, y), kHighlight) << "at " << x << ", " << y;
            }
        }
        EXPECT_GT(Count(picture, kWhite, 2, top, right, bottom), 5) << "the name is drawn in white";
        // Nothing outside it: not the value column, not the rows around it.
        EXPECT_EQ(Count(picture, kHighlight, right, top, w, bottom), 0);
        EXPECT_EQ(Count(picture, kHighlight, 0, 0, w, top), 0);
        EXPECT_EQ(Count(picture, kHighlight, 0, bottom + 1, w, picture.Height()), 0);
        if (!c.wholeRow) {
            EXPECT_GT(Count(picture, kBlack, d + 7, top, w, bottom), 0) << "the value keeps its colour";
        }
    }
}

TEST_F(PaintingTest, AHeaderRowSpansBothColumnsAndShowsNoValue) {
    ASSERT_TRUE(DispOk(Add(L"Row", L"value")));
    ASSERT_TRUE(DispOk(Add(L"Header", L"HIDDEN", kHeaderRow)));
    ASSERT_TRUE(DispOk(Add(L"Row", L"value")));
    const CapturedBitmap picture = Picture();
    const int d = EvenColumn(Divider()), w = picture.Width();
    const int top = RowTop(1), bottom = RowTop(2);
    // The divider does not cross the header row (its separators aside).
    for (int y = top + 2; y < bottom - 1; ++y)
        if (y % 2 == 0) {
            EXPECT_NE(picture.At(d, y), kGrid) << "y = " << y;
        }
    EXPECT_EQ(picture.At(d, EvenRow(top) - 2), kGrid) << "the row above keeps the divider";
    // Nothing in the value column of the header row.
    EXPECT_EQ(Count(picture, kBlack, d + 7, top + 1, w, bottom - 1), 0);
    EXPECT_GT(Count(picture, kBlack, 2, top + 1, d, bottom - 1), 0);
}

TEST_F(PaintingTest, AHeaderUsesTheBoldHeaderFont) {
    ASSERT_TRUE(DispOk(Add(L"Heading", L"", kHeaderRow)));
    ASSERT_TRUE(DispOk(Add(L"Heading", L"")));
    const CapturedBitmap picture = Picture();
    const int d = Divider();
    const long header = Count(picture, kBlack, 2, RowTop(0) + 1, d, RowTop(1));
    const long plain = Count(picture, kBlack, 2, RowTop(1) + 1, d, RowTop(2));
    EXPECT_GT(header, plain) << "the same text in bold covers more pixels";
}

TEST_F(PaintingTest, ColourRowsShowASwatchOfTheirColourAndTheHexText) {
    const struct {
        const wchar_t* content;
        COLORREF swatch;
    } cases[] = {
        {L"255", RGB(0xFF, 0, 0)},
        {L"&H808000", RGB(0, 0x80, 0x80)},
        {L"&H8000000F", ::GetSysColor(COLOR_BTNFACE)},
        {L"65280", RGB(0, 0xFF, 0)},
    };
    for (const auto& c : cases) ASSERT_TRUE(DispOk(Add(L"Colour", c.content, kColourRow)));
    const CapturedBitmap picture = Picture();
    const int x = Divider() + 7;
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(testing::Message() << "row " << k);
        const int t = RowTop(k) + 1;
        EXPECT_EQ(picture.At(x, t), kBlack) << "the swatch's frame";
        EXPECT_EQ(picture.At(x + 3, t + 3), cases[k].swatch);
        EXPECT_GT(Count(picture, kBlack, x + 14, t, picture.Width(), t + LineHeight()), 0) << "the &H text";
    }
    EXPECT_EQ(Value(2), L"-2147483633");
}

TEST_F(PaintingTest, AnAmpersandUnderlinesTheNextCharacterAndTwoShowOne) {
    ASSERT_TRUE(DispOk(Add(L"Row", L"M")));
    ASSERT_TRUE(DispOk(Add(L"Row", L"&M")));
    ASSERT_TRUE(DispOk(Add(L"Row", L"&&M")));
    const CapturedBitmap picture = Picture();
    const int x = Divider() + 7, w = picture.Width();
    auto valueCell = [&](int k) { return RECT{x, RowTop(k) + 1, w, RowTop(k + 1)}; };
    // Relative to each cell's top, so that rows can be compared.
    auto shifted = [&](int k) {
        std::set<std::pair<int, int>> points;
        for (const auto& [px, py] : TextPixels(picture, valueCell(k))) points.insert({px, py - RowTop(k)});
        return points;
    };
    const auto plain = shifted(0), prefixed = shifted(1);
    ASSERT_FALSE(plain.empty());
    // "&M" draws the same M, at the same place, plus an underline.
    for (const auto& point : plain) EXPECT_TRUE(prefixed.count(point)) << "M pixel missing at " << point.first;
    std::set<int> extraRows;
    for (const auto& point : prefixed)
        if (!plain.count(point)) extraRows.insert(point.second);
    EXPECT_EQ(extraRows.size(), 1u) << "the extra pixels form one underline";
    // "&&M" shows a character (one ampersand) before the M.
    const auto doubled = shifted(2);
    auto rightmost = [](const std::set<std::pair<int, int>>& points) {
        int x = -1;
        for (const auto& point : points) x = std::max(x, point.first);
        return x;
    };
    EXPECT_GT(rightmost(doubled), rightmost(plain) + 3);

}

TEST_F(PaintingTest, NothingIsDrawnForAnEmptyListOrWhileHoldDrawIsTrue) {
    CapturedBitmap empty = Picture();
    EXPECT_EQ(empty.CountColor(kGrid), 0);

    ASSERT_TRUE(DispOk(Put(list.get(), L"HoldDraw", Variant(true))));
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(DispOk(Add(L"Row", L"value")));
    ::RedrawWindow(ListWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(Picture().CountColor(kGrid), 0);

    ASSERT_TRUE(DispOk(Put(list.get(), L"HoldDraw", Variant(false))));
    EXPECT_GT(Picture().CountColor(kGrid), 0) << "releasing HoldDraw repaints";
}

TEST_F(PaintingTest, RowsBelowTheWindowAreCutAtItsBottomEdge) {
    const int fit = RowsThatFit();
    for (int i = 0; i < fit + 5; ++i) ASSERT_TRUE(DispOk(Add(L"Row " + std::to_wstring(i), L"v")));
    const CapturedBitmap picture = Picture();
    // The last separator drawn is the one of row `fit` (the part row), or
    // beyond the bottom; none appears lower than the picture.
    const int column = (picture.Width() / 2) & ~1;
    int lastLine = -1;
    for (int y = 0; y < picture.Height(); ++y)
        if (picture.At(column, y) == kGrid) lastLine = y;
    EXPECT_GE(lastLine, EvenRow(RowTop(fit)));
}

}  // namespace
}  // namespace zo::test
