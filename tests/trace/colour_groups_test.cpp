#include "trace/colour_groups.h"

#include <gtest/gtest.h>

TEST(FartherGroup, SplitsOnlyAtAClearGapBeforeSeveralFartherPieces)
{
    const struct {
        std::vector<double> distances;
        std::vector<bool> farther;
    } cases[] = {
        {{0, 31, 0.5, 30, 1, 32}, {false, true, false, true, false, true}}, // a brown series beside red markers
        {{0, 2, 4, 6, 8, 10, 12}, std::vector<bool>(7, false)},             // spread, no gap
        {{0, 1, 30}, std::vector<bool>(3, false)},                          // one odd piece
        {{5, 6, 14, 15}, std::vector<bool>(4, false)},                      // too near
        {{12, 13, 27, 28}, std::vector<bool>(4, false)},                    // not twice as far
        {{8, 9, 25, 26}, {false, false, true, true}},
        {{}, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(fartherGroup(c.distances), c.farther);
}
