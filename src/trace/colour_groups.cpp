#include "trace/colour_groups.h"

#include <algorithm>

namespace {

// Two groups lie at least this far apart on the colour scale ...
constexpr double kLeastGap = 10;
// ... and the farther one at least twice as far from the picked colour as the nearer, give or take noise.
constexpr double kNoise = 4;
// A second series shows in several pieces.
constexpr std::size_t kFewestFarther = 2;

} // namespace

std::vector<bool> fartherGroup(const std::vector<double> &distances)
{
    std::vector<bool> farther(distances.size(), false);
    std::vector<double> sorted = distances;
    std::sort(sorted.begin(), sorted.end());
    std::size_t split = 0; // the first of the farther group
    double widest = 0;
    for (std::size_t i = 1; i < sorted.size(); ++i) {
        if (sorted[i] - sorted[i - 1] > widest) {
            widest = sorted[i] - sorted[i - 1];
            split = i;
        }
    }
    if (split == 0 || widest < kLeastGap || sorted[split] < 2 * sorted[split - 1] + kNoise ||
        sorted.size() - split < kFewestFarther)
        return farther;
    for (std::size_t i = 0; i < distances.size(); ++i)
        farther[i] = distances[i] >= sorted[split];
    return farther;
}
