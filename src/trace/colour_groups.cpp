#include "trace/colour_groups.h"

#include "trace/colour_match.h"

#include <algorithm>
#include <cmath>

namespace {

// Two groups lie at least this far apart on the colour scale ...
constexpr double kLeastGap = 10;
// ... and the farther one at least twice as far from the picked colour as the nearer, give or take noise.
constexpr double kNoise = 4;
// A second series shows in several pieces.
constexpr std::size_t kFewestFarther = 2;

// How far the colour a piece was drawn in lies from `argb`: its pixels, anti-aliased edges and all, are mixtures
// of it and the paper, each holding its share of the colour, so their difference from the paper over their
// shares is the colour's.
double colourOffFrom(const PixelView &picture, const MarkerInk &ink, const InkComponent &piece, std::uint32_t argb)
{
    double sum[3] = {0, 0, 0}, shares = 0;
    for (const InkRunOnRow &r : piece.runs) {
        for (int x = r.x0; x <= r.x1; ++x) {
            const std::uint32_t c = picture.at(x, r.y);
            sum[0] += double((c >> 16) & 0xff) - ink.model.background[0];
            sum[1] += double((c >> 8) & 0xff) - ink.model.background[1];
            sum[2] += double(c & 0xff) - ink.model.background[2];
            shares += std::min(1.0f, ink.ink(c));
        }
    }
    if (shares <= 0)
        return 0;
    std::uint32_t drawn = 0xff000000u;
    for (int i = 0; i < 3; ++i) {
        const int v = std::clamp(int(std::lround(ink.model.background[i] + sum[i] / shares)), 0, 255);
        drawn |= std::uint32_t(v) << (16 - 8 * i);
    }
    return colourDistance(drawn, argb);
}

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

void dropFartherColours(std::vector<InkComponent> &pieces, const PixelView &picture, const MarkerInk &ink,
                        std::uint32_t argb)
{
    std::vector<double> off;
    std::vector<std::size_t> measured; // the pieces that kept their pixels
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].runs.empty())
            continue;
        off.push_back(colourOffFrom(picture, ink, pieces[i], argb));
        measured.push_back(i);
    }
    const std::vector<bool> farther = fartherGroup(off);
    for (std::size_t k = measured.size(); k-- > 0;) {
        if (farther[k])
            pieces.erase(pieces.begin() + std::ptrdiff_t(measured[k]));
    }
}
