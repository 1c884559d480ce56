#include "trace/tile_grid.h"

#include <gtest/gtest.h>

#include <random>

// An area that is no whole number of tiles, away from the origin, written at scattered places at its left: the grid
// reads what a full array would, blank elsewhere and outside, and visits what it keeps row by row.
TEST(TileGrid, ReadsAsAFullArrayAndVisitsItsTilesInRowOrder)
{
    const QRect area(-7, 5, 117, 37);
    TileGrid<int> grid(area, -1);
    std::vector<int> full(std::size_t(area.width() * area.height()), -1);
    const auto at = [&](int x, int y) -> int & {
        return full[std::size_t((y - area.top()) * area.width() + (x - area.left()))];
    };
    std::mt19937 random(7);
    for (int k = 0; k < 12; ++k) {
        const int x = area.left() + int(random() % 40u); // the middle tiles stay blank
        const int y = area.top() + int(random() % unsigned(area.height()));
        grid.set(x, y, k);
        at(x, y) = k;
    }
    grid.set(area.right(), area.bottom(), 99); // the last, partial tile
    at(area.right(), area.bottom()) = 99;
    for (int y = area.top() - 1; y <= area.bottom() + 1; ++y) {
        for (int x = area.left() - 1; x <= area.right() + 1; ++x)
            ASSERT_EQ(grid.at(x, y), area.contains(x, y) ? at(x, y) : -1) << x << ", " << y;
    }

    // Grown by a tile, it keeps every pixel within a tile's side of one set, and stays within the area.
    grid.keepAround(1);
    QPoint last(area.left() - 1, area.top());
    int visited = 0;
    grid.forEachKept([&](int x, int y) {
        EXPECT_TRUE(area.contains(x, y));
        EXPECT_TRUE(y > last.y() || (y == last.y() && x > last.x())) << x << ", " << y;
        last = QPoint(x, y);
        ++visited;
        EXPECT_EQ(grid.at(x, y), at(x, y));
    });
    constexpr int kSide = TileGrid<int>::kSide;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (at(x, y) < 0)
                continue;
            for (const QPoint d :
                 {QPoint(kSide, kSide), QPoint(-kSide, kSide), QPoint(kSide, -kSide), QPoint(-kSide, -kSide)}) {
                const QPoint near = QPoint(x, y) + d;
                EXPECT_EQ(grid.kept(near.x(), near.y()), area.contains(near)) << near.x() << ", " << near.y();
            }
        }
    }
    EXPECT_LT(visited, area.width() * area.height()); // not every tile is within one of a pixel set
    EXPECT_EQ(last, area.bottomRight());
}
