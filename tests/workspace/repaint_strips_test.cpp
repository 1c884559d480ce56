#include "workspace/repaint_strips.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

bool covers(const std::vector<QRect> &rects, const QRect &r)
{
    return std::any_of(rects.begin(), rects.end(), [&](const QRect &each) { return each.contains(r); });
}

} // namespace

TEST(JoinCloseRects, StripsOfOneMoveJoinAlongTheirArmButNotAcrossTheChart)
{
    // The horizontal arms before and after a move three rows down, with the gap around the pointer, and the
    // vertical arms seven columns apart: a 1900 x 1000 chart.
    const std::vector<QRect> strips = {{0, 100, 392, 1}, {409, 100, 1491, 1}, {0, 103, 392, 1}, {409, 103, 1491, 1},
                                       {400, 0, 1, 92},  {400, 109, 1, 891},  {407, 0, 1, 95},  {407, 112, 1, 888}};
    const std::vector<QRect> joined = joinCloseRects(strips);
    ASSERT_EQ(joined.size(), 2u);
    EXPECT_EQ(joined[0], QRect(0, 100, 1900, 4));
    EXPECT_EQ(joined[1], QRect(400, 0, 8, 1000));
    for (const QRect &s : strips)
        EXPECT_TRUE(covers(joined, s));
}

TEST(JoinCloseRects, FarStripsStayApartAndEmptyOnesGo)
{
    const std::vector<QRect> far = {{0, 10, 1900, 1}, {0, 900, 1900, 1}, {}, {5, 5, 0, 3}};
    const std::vector<QRect> joined = joinCloseRects(far);
    ASSERT_EQ(joined.size(), 2u);
    EXPECT_EQ(joined[0], QRect(0, 10, 1900, 1));
    EXPECT_EQ(joined[1], QRect(0, 900, 1900, 1));
    // Overlapping rectangles cost nothing to join, even with no slack at all.
    EXPECT_EQ(joinCloseRects({{0, 0, 10, 10}, {0, 0, 10, 10}, {0, 5, 10, 10}}, 0),
              std::vector<QRect>({QRect(0, 0, 10, 15)}));
    EXPECT_TRUE(joinCloseRects({}).empty());
}
