#include "trace/convex_hull.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(ConvexHull, KeepsTheCornersAndTellsWhatLiesWithin)
{
    // A filled 5 x 4 block, with a point sticking out on its right side.
    std::vector<QPoint> points;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            points.push_back({x, y});
    points.push_back({6, 1});
    points.push_back({2, 2}); // twice

    std::vector<QPoint> hull = convexHull(points);
    const auto has = [&](QPoint p) { return std::find(hull.begin(), hull.end(), p) != hull.end(); };
    EXPECT_EQ(hull.size(), 5u);
    for (const QPoint corner : {QPoint(0, 0), QPoint(4, 0), QPoint(6, 1), QPoint(4, 3), QPoint(0, 3)})
        EXPECT_TRUE(has(corner)) << corner.x() << "," << corner.y();

    const struct {
        QPoint p;
        bool inside;
    } cases[] = {
        {{2, 1}, true},  {{0, 2}, true},  {{5, 1}, true}, // within, on a side, in the spike's triangle
        {{5, 0}, false}, {{7, 1}, false}, {{2, -1}, false}, {{5, 3}, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(insideHull(hull, c.p), c.inside) << c.p.x() << "," << c.p.y();

    // Points in a row close in nothing.
    hull = convexHull({{0, 0}, {1, 1}, {2, 2}});
    EXPECT_FALSE(insideHull(hull, {1, 1}));
}
