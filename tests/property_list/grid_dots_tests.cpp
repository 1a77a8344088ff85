// The dotted grid drawn with pattern brushes puts the dots exactly where
// drawing them one by one did, and leaves every other pixel as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "property_list/grid_dots.h"
#include "tests/host/pixels.h"

namespace zo::test {
namespace {

struct Line {
    int x1, y1, x2, y2;
};

// The dots of a line as they were drawn one at a time.
std::set<std::pair<int, int>> DotsOf(Line line) {
    std::set<std::pair<int, int>> dots;
    if (line.x1 != line.x2) {
        int from = std::min(line.x1, line.x2), to = std::max(line.x1, line.x2), y = line.y1;
        if (from % 2 != 0) {
            ++from;
            ++to;
        }
        if (to % 2 != 0) ++to;
        if (y % 2 != 0) --y;
        for (int x = from; x <= to; x += 2) dots.insert({x, y});
    } else {
        int from = std::min(line.y1, line.y2), to = std::max(line.y1, line.y2), x = line.x1;
        if (from % 2 != 0) --from;
        if (x % 2 != 0) ++x;
        for (int y = from; y <= to; y += 2) dots.insert({x, y});
    }
    return dots;
}

TEST(GridDots, EachLinePutsItsDotsOnEvenPixelsAndLeavesTheRestUntouched) {
    const Line lines[] = {{0, 0, 20, 0},  {3, 5, 16, 5},  {17, 9, 2, 9},   {5, 1, 5, 14},
                          {8, 13, 8, 3},  {-3, 2, 7, 2},  {22, -3, 22, 6}, {1, 24, 30, 24}};
    for (const Line& line : lines) {
        SCOPED_TRACE(testing::Message() << "(" << line.x1 << "," << line.y1 << ")-(" << line.x2 << "," << line.y2
                                        << ")");
        CapturedBitmap picture(32, 28);
        picture.PaintWith([&](HDC dc) {
            const GridDots grid;
            grid.Line(dc, line.x1, line.y1, line.x2, line.y2);
        });
        const std::set<std::pair<int, int>> dots = DotsOf(line);
        int wrong = 0;
        for (int y = 0; y < picture.Height(); ++y) {
            for (int x = 0; x < picture.Width(); ++x) {
                const COLORREF expected = dots.count({x, y}) ? kGridColour : CapturedBitmap::kUnpainted;
                if (picture.At(x, y) != expected && ++wrong <= 3)
                    ADD_FAILURE() << "pixel (" << x << "," << y << ") is " << std::hex << picture.At(x, y);
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

}  // namespace
}  // namespace zo::test
