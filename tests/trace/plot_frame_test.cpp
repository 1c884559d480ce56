#include "trace/plot_frame.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A piece drawn as lines of pixels, each from (x0, y0) to (x1, y1), along a row or a column.
InkComponent pieceOf(std::initializer_list<QRect> lines)
{
    InkComponent c;
    for (const QRect &l : lines) {
        for (int y = l.top(); y <= l.bottom(); ++y)
            c.runs.push_back({y, l.left(), l.right()});
        c.bounds |= l;
    }
    for (const InkRunOnRow &r : c.runs)
        c.pixels += r.x1 - r.x0 + 1;
    return c;
}

} // namespace

// On a 400 x 300 picture.
TEST(FrameInside, LiesWithinAFrameOrBesideTwoAxesAndNowhereElse)
{
    const InkComponent frame = pieceOf({QRect(50, 20, 301, 1), QRect(50, 250, 301, 1), QRect(50, 20, 1, 231),
                                        QRect(350, 20, 1, 231), QRect(100, 251, 1, 5), QRect(44, 100, 6, 1)});
    const InkComponent axes = pieceOf({QRect(50, 20, 1, 231), QRect(50, 250, 301, 1), QRect(46, 100, 4, 1)});
    const InkComponent smallBox =
        pieceOf({QRect(10, 10, 60, 1), QRect(10, 40, 60, 1), QRect(10, 10, 1, 31), QRect(69, 10, 1, 31)});
    // A staircase across the picture: no row or column runs across most of it.
    std::vector<QRect> stairs;
    for (int k = 0; k < 10; ++k)
        stairs.push_back(QRect(50 + 30 * k, 250 - 23 * k, 31, 1));
    InkComponent staircase;
    for (const QRect &s : stairs)
        staircase.runs.push_back({s.top(), s.left(), s.right()}), staircase.bounds |= s;
    const struct {
        const char *name;
        std::vector<InkComponent> pieces;
        std::optional<QRect> inside;
    } cases[] = {
        {"frame with its ticks", {frame}, QRect(QPoint(51, 21), QPoint(349, 249))},
        {"two axes", {axes}, QRect(QPoint(51, 20), QPoint(350, 249))},
        {"a box too small to be the frame", {smallBox}, std::nullopt},
        {"a line across the chart", {staircase}, std::nullopt},
        {"the frame among other pieces", {smallBox, staircase, frame}, QRect(QPoint(51, 21), QPoint(349, 249))},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(frameInside(c.pieces, QSize(400, 300)), c.inside);
    }
}
