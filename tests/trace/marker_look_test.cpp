#include "trace/marker_look.h"

#include <gtest/gtest.h>

namespace {

// A 4 x 4 marker of shares rising to the right, at (10, 10) to (13, 13), its centre at (12, 12).
constexpr float kShares[4] = {0.25f, 0.5f, 0.75f, 1.0f};

Patch markerAt(QPoint offset)
{
    Patch p(QRect(9, 9, 6, 6).translated(offset));
    for (int y = 10; y <= 13; ++y) {
        for (int x = 10; x <= 13; ++x)
            p.share[p.index(x + offset.x(), y + offset.y())] = kShares[x - 10];
    }
    return p;
}

// What shows of it where the columns from `first` to `last` are hidden, and what hides them.
std::pair<Patch, Patch> hiddenColumns(Patch p, int first, int last)
{
    Patch hidden(p.area);
    for (int y = p.area.top(); y <= p.area.bottom(); ++y) {
        for (int x = first; x <= last; ++x) {
            p.share[p.index(x, y)] = 0;
            hidden.share[hidden.index(x, y)] = 1;
        }
    }
    return {p, hidden};
}

} // namespace

TEST(SeriesLook, MarkersHiddenInDifferentPartsTellTheWholeLookBetweenThem)
{
    SeriesLook look;
    auto [left, leftHidden] = hiddenColumns(markerAt({0, 0}), 10, 11);
    look.add(left, QPointF(12, 12), leftHidden);
    auto [right, rightHidden] = hiddenColumns(markerAt({20, 0}), 32, 33);
    look.add(right, QPointF(32, 12), rightHidden);
    // Placed a whole pixel down and right: each column from the marker whose column shows.
    const Patch placed = look.placedAt(QPointF(13, 13), QRect(9, 9, 8, 8));
    for (int x = 11; x <= 14; ++x)
        EXPECT_FLOAT_EQ(placed.at(x, 12), kShares[x - 11]) << "column " << x;
    EXPECT_FLOAT_EQ(placed.at(10, 12), 0); // paper, left of the marker
    // Where both are hidden, the look tells nothing.
    SeriesLook blind;
    blind.add(left, QPointF(12, 12), leftHidden);
    auto [alsoLeft, alsoLeftHidden] = hiddenColumns(markerAt({0, 20}), 10, 11);
    blind.add(alsoLeft, QPointF(12, 32), alsoLeftHidden);
    const Patch unknown = blind.placedAt(QPointF(12, 12), QRect(9, 9, 6, 6));
    EXPECT_EQ(unknown.at(10, 12), SeriesLook::kUnknown);
    EXPECT_FLOAT_EQ(unknown.at(12, 12), kShares[2]);
    EXPECT_EQ(look.without(0).size(), 1u);
}
