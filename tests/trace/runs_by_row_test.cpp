#include "trace/runs_by_row.h"

#include <gtest/gtest.h>

// Runs of two pieces, one lying over the other in a row, added in no order.
TEST(RunsByRow, TellsWhetherAnAreaHoldsInkOfAnyPiece)
{
    RunsByRow runs;
    runs.add({{5, 20, 22}, {3, 0, 40}});
    runs.add({{5, 0, 30}, {5, 35, 36}, {9, 10, 10}});
    const struct {
        QRect area;
        bool ink;
    } cases[] = {
        {QRect(31, 5, 4, 1), false}, // between the runs of row 5, the longer one ending first
        {QRect(23, 5, 2, 1), true},  // within the longer run, past the shorter one over it
        {QRect(41, 2, 10, 3), false}, {QRect(40, 3, 1, 1), true},
        {QRect(11, 6, 5, 3), false},  {QRect(10, 9, 1, 4), true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(runs.inkWithin(c.area), c.ink) << c.area.x() << ", " << c.area.y();
}
