#include "trace/marker_hidden.h"

#include "trace/colour_match.h"
#include "trace/marker_patch.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// How wide a line of another colour over a marker may be, its soft edges included.
constexpr int kWidestCover = 5;
// How far the hidden part of a marker may reach past the ink that shows.
constexpr int kHiddenReach = 6;
// A pixel that holds this much of the colour joins the marker's pixels to the ink over them.
constexpr float kFaintShare = 0.1f;
// At least this many pixels of another colour's ink within two pixels of a marker cover it ...
constexpr int kCoverNear = 2;
constexpr int kLeastCover = 2;
// ... where they are at least this far from the marker's colour.
constexpr double kLeastApart = 85;
// Below this share of a pixel, another colour's soft edge is noise.
constexpr double kFaintCover = 0.15;
// The centre is looked for within six coarse steps of where it was thought to be, then within one of the best.
constexpr double kCoarseStep = 0.5;
constexpr double kFineStep = 0.1;
constexpr int kStepsEachWay = 5;

// Another colour's ink, or the soft edge where it meets the colour.
bool passable(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper, int x, int y)
{
    if (otherInk(picture, ink, paper, x, y))
        return true;
    if (ink.ink(picture.at(x, y)) < kFaintShare)
        return false;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (otherInk(picture, ink, paper, x + dx, y + dy))
                return true;
        }
    }
    return false;
}

// Whether another colour's ink alone, or the soft edge where it meets the colour, joins `a` to `b` within the
// bounds of the two.
bool bridged(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper, const InkComponent &a,
             const InkComponent &b)
{
    const QRect area = (a.bounds | b.bounds).adjusted(-1, -1, 1, 1) & QRect(0, 0, picture.width, picture.height);
    const int w = area.width();
    const auto index = [&](int x, int y) { return std::size_t((y - area.top()) * w + (x - area.left())); };
    enum : char { Open, Reached, Goal, Blocked };
    std::vector<char> cell(std::size_t(w * area.height()), Blocked);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (passable(picture, ink, paper, x, y))
                cell[index(x, y)] = Open;
        }
    }
    std::vector<QPoint> queue;
    for (const InkRunOnRow &r : a.runs) {
        for (int x = r.x0; x <= r.x1; ++x) {
            cell[index(x, r.y)] = Reached;
            queue.emplace_back(x, r.y);
        }
    }
    for (const InkRunOnRow &r : b.runs) {
        for (int x = r.x0; x <= r.x1; ++x)
            cell[index(x, r.y)] = Goal;
    }
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const QPoint p = queue[next];
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint q = p + QPoint(dx, dy);
                if (!area.contains(q))
                    continue;
                char &c = cell[index(q.x(), q.y())];
                if (c == Goal)
                    return true;
                if (c == Open) {
                    c = Reached;
                    queue.push_back(q);
                }
            }
        }
    }
    return false;
}

std::size_t rootOf(std::vector<std::size_t> &parent, std::size_t i)
{
    while (parent[i] != i)
        i = parent[i] = parent[parent[i]];
    return i;
}

// Shares of a pixel over an area of the picture, nought outside it, with a bilinear look between pixels.
struct Grid {
    QRect area;
    std::vector<float> share;

    explicit Grid(QRect over)
        : area(over)
        , share(std::size_t(over.width() * over.height()), 0)
    {}
    [[nodiscard]] std::size_t index(int x, int y) const
    {
        return std::size_t((y - area.top()) * area.width() + (x - area.left()));
    }
    [[nodiscard]] float at(int x, int y) const { return area.contains(x, y) ? share[index(x, y)] : 0; }
    // At a place in the picture, between pixel centres.
    [[nodiscard]] float around(double px, double py) const
    {
        const double fx = px - 0.5, fy = py - 0.5;
        const int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
        const float tx = float(fx - x0), ty = float(fy - y0);
        return (1 - ty) * ((1 - tx) * at(x0, y0) + tx * at(x0 + 1, y0)) +
               ty * ((1 - tx) * at(x0, y0 + 1) + tx * at(x0 + 1, y0 + 1));
    }
};

// How much of each pixel of `area` another colour's ink covers, and how much of the marker's colour shows in
// what it covers in part: its soft edge is a mixture of the paper, the colour and the other colour, whose
// colour is the mean of the pixels it covers whole.
struct HiddenPart {
    Grid hidden;
    Grid shows;
};

HiddenPart coverOver(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper, QRect area)
{
    HiddenPart cover{Grid(area), Grid(area)};
    double other[3] = {0, 0, 0};
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!otherInk(picture, ink, paper, x, y))
                continue;
            cover.hidden.share[cover.hidden.index(x, y)] = 1;
            const std::uint32_t c = picture.at(x, y);
            other[0] += (c >> 16) & 0xff;
            other[1] += (c >> 8) & 0xff;
            other[2] += c & 0xff;
            ++count;
        }
    }
    if (count == 0)
        return cover;
    const double p[3] = {double((paper >> 16) & 0xff), double((paper >> 8) & 0xff), double(paper & 0xff)};
    double o[3], r[3];
    for (int i = 0; i < 3; ++i) {
        o[i] = other[i] / count - p[i];
        r[i] = ink.model.towards[i];
    }
    const auto dot = [](const double *a, const double *b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; };
    const double rr = dot(r, r), oo = dot(o, o), ro = dot(r, o), det = rr * oo - ro * ro;
    if (det <= 1e-6 * rr * oo) // the other colour is the colour's, darker or paler
        return cover;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const std::size_t i = cover.hidden.index(x, y);
            if (cover.hidden.share[i] > 0)
                continue;
            const std::uint32_t c = picture.at(x, y);
            const double v[3] = {((c >> 16) & 0xff) - p[0], ((c >> 8) & 0xff) - p[1], (c & 0xff) - p[2]};
            const double vr = dot(v, r), vo = dot(v, o);
            const double colour = (vr * oo - vo * ro) / det, covered = (vo * rr - vr * ro) / det;
            if (covered > kFaintCover) {
                cover.hidden.share[i] = float(std::min(1.0, covered));
                cover.shows.share[i] = float(std::clamp(colour, 0.0, 1.0));
            }
        }
    }
    return cover;
}

// How unlike its mirror image through `c` the marker's ink over `patch` is, where neither is hidden.
double mismatch(const Grid &colour, const Grid &hidden, QRect patch, QPointF c, bool leftRightOnly)
{
    double differ = 0, total = 0;
    for (int y = patch.top(); y <= patch.bottom(); ++y) {
        for (int x = patch.left(); x <= patch.right(); ++x) {
            const double mx = 2 * c.x() - (x + 0.5);
            const double my = leftRightOnly ? y + 0.5 : 2 * c.y() - (y + 0.5);
            const double seen = (1 - hidden.at(x, y)) * (1 - hidden.around(mx, my));
            const double a = colour.at(x, y), b = colour.around(mx, my);
            differ += seen * (a - b) * (a - b);
            total += seen * (a * a + b * b);
        }
    }
    return total > 0 ? differ / total : 1.0;
}

} // namespace

bool otherInk(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper, int x, int y)
{
    if (!picture.contains(x, y))
        return false;
    const std::uint32_t p = picture.at(x, y);
    return p != paper && colourDistance(p, paper) > 100 && ink.ink(p) < 0.5f;
}

std::vector<InkComponent> joinedAcrossOtherInk(std::vector<InkComponent> pieces, const PixelView &picture,
                                               const MarkerInk &ink, std::uint32_t paper, int largest)
{
    std::vector<std::size_t> byLeft(pieces.size());
    std::iota(byLeft.begin(), byLeft.end(), std::size_t(0));
    std::sort(byLeft.begin(), byLeft.end(),
              [&](std::size_t a, std::size_t b) { return pieces[a].bounds.left() < pieces[b].bounds.left(); });
    std::vector<std::size_t> parent(pieces.size());
    std::iota(parent.begin(), parent.end(), std::size_t(0));
    std::vector<QRect> joined(pieces.size());
    for (std::size_t i = 0; i < pieces.size(); ++i)
        joined[i] = pieces[i].bounds;
    bool any = false;
    for (std::size_t k = 0; k < byLeft.size(); ++k) {
        const std::size_t i = byLeft[k];
        const QRect reach = pieces[i].bounds.adjusted(-kWidestCover, -kWidestCover, kWidestCover, kWidestCover);
        for (std::size_t l = k + 1; l < byLeft.size() && pieces[byLeft[l]].bounds.left() <= reach.right(); ++l) {
            const std::size_t j = byLeft[l];
            if (!reach.intersects(pieces[j].bounds))
                continue;
            const std::size_t ri = rootOf(parent, i), rj = rootOf(parent, j);
            const QRect together = joined[ri] | joined[rj];
            if (ri == rj || together.width() > largest || together.height() > largest ||
                !bridged(picture, ink, paper, pieces[i], pieces[j]))
                continue;
            parent[rj] = ri;
            joined[ri] = together;
            any = true;
        }
    }
    if (!any)
        return pieces;
    std::vector<InkComponent> out;
    std::vector<std::size_t> slot(pieces.size(), pieces.size());
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const std::size_t r = rootOf(parent, i);
        if (slot[r] == pieces.size()) {
            slot[r] = out.size();
            out.push_back({});
        }
        InkComponent &c = out[slot[r]];
        c.bounds |= pieces[i].bounds;
        c.pixels += pieces[i].pixels;
        c.runs.insert(c.runs.end(), pieces[i].runs.begin(), pieces[i].runs.end());
    }
    for (InkComponent &c : out) {
        std::sort(c.runs.begin(), c.runs.end(),
                  [](const InkRunOnRow &a, const InkRunOnRow &b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; });
    }
    return out;
}

CoverInk::CoverInk(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper)
    : picture_(picture)
    , ink_(ink)
    , paper_(paper)
    , colour_(0xff000000u)
{
    for (int i = 0; i < 3; ++i) {
        const int v = std::clamp(int(std::lround(ink.model.background[i] + ink.model.towards[i])), 0, 255);
        colour_ |= std::uint32_t(v) << (16 - 8 * i);
    }
}

bool CoverInk::at(int x, int y) const
{
    return otherInk(picture_, ink_, paper_, x, y) && colourDistance(picture_.at(x, y), colour_) >= kLeastApart;
}

bool touchesCover(const CoverInk &cover, const InkComponent &piece)
{
    // Each pixel near the piece once.
    const QRect around = piece.bounds.adjusted(-kCoverNear, -kCoverNear, kCoverNear, kCoverNear);
    std::vector<char> seen(std::size_t(around.width() * around.height()), 0);
    int count = 0;
    for (const InkRunOnRow &r : piece.runs) {
        for (int y = r.y - kCoverNear; y <= r.y + kCoverNear; ++y) {
            for (int x = r.x0 - kCoverNear; x <= r.x1 + kCoverNear; ++x) {
                char &s = seen[std::size_t((y - around.top()) * around.width() + (x - around.left()))];
                if (s)
                    continue;
                s = 1;
                if (cover.at(x, y) && ++count >= kLeastCover)
                    return true;
            }
        }
    }
    return false;
}

QPointF centreBesideOtherInk(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper,
                             const InkComponent &piece, QPointF start, bool leftRightOnly)
{
    const Patch patch = patchOf(picture, ink, piece);
    const QRect around = piece.bounds.adjusted(-kHiddenReach, -kHiddenReach, kHiddenReach, kHiddenReach) &
                         QRect(0, 0, picture.width, picture.height);
    const HiddenPart cover = coverOver(picture, ink, paper, around);
    // What shows of the colour in each pixel.
    Grid colour(around);
    for (int y = patch.area.top(); y <= patch.area.bottom(); ++y) {
        for (int x = patch.area.left(); x <= patch.area.right(); ++x) {
            const float hidden = cover.hidden.at(x, y);
            colour.share[colour.index(x, y)] = hidden >= 1 ? 0 : hidden > 0 ? cover.shows.at(x, y) : patch.at(x, y);
        }
    }
    QPointF best = start;
    double least = mismatch(colour, cover.hidden, patch.area, start, leftRightOnly);
    for (const double step : {kCoarseStep, kFineStep}) {
        const QPointF from = best;
        for (int j = leftRightOnly ? 0 : -kStepsEachWay; j <= (leftRightOnly ? 0 : kStepsEachWay); ++j) {
            for (int i = -kStepsEachWay; i <= kStepsEachWay; ++i) {
                const QPointF c = from + QPointF(i * step, j * step);
                const double m = mismatch(colour, cover.hidden, patch.area, c, leftRightOnly);
                if (m < least) {
                    least = m;
                    best = c;
                }
            }
        }
    }
    return best;
}
