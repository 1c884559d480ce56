#include "trace/marker_hidden.h"

#include "trace/colour_match.h"
#include "trace/line_fit.h"
#include "trace/marker_patch.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Less of the colour than this in a pixel inside a marker is its paper.
constexpr float kFaintInside = 0.2f;
// Ink this far from the paper or farther is dark.
constexpr float kDarkInk = 100;
// How wide a line of another colour over a marker may be, its soft edges included.
constexpr int kWidestCover = 5;
// Pieces that another colour's ink parts join up into bounds no longer than this for their width.
constexpr double kMostJoinedElongation = 1.5;
// How far the hidden part of a marker may reach past the ink that shows.
constexpr int kHiddenReach = 6;
// A pixel that holds this much of the colour joins the marker's pixels to the ink over them.
constexpr float kFaintShare = 0.1f;
// At least this many pixels of another colour's ink within two pixels of a marker's bounds cover it ...
constexpr int kCoverNear = 2;
constexpr int kLeastCover = 2;
// ... where they are at least this far from the marker's colour.
constexpr float kLeastApart = 85;
// Below this share of a pixel, another colour's soft edge is noise.
constexpr double kFaintCover = 0.15;
// The centre is looked for on finer and finer grids round the best so far, within three pixels of where it was
// thought to be, to a tenth of a pixel.
struct GridStep {
    double step;
    int each; // steps each way
};
constexpr GridStep kSearch[] = {{0.5, 5}, {0.1, 3}};
constexpr int kFarthestLook = 3; // 0.5 * 5 + 0.1 * 3, rounded up
// A triangle's rows that hold less than this share of the fullest one's ink hold parts of pixels: its tip.
constexpr double kFaintRow = 0.15;
constexpr std::size_t kFewestWholeRows = 3;

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

// Shares of a pixel over an area of the picture, nought where none was given.
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
    [[nodiscard]] float at(int x, int y) const
    {
        return x >= area.left() && x <= area.right() && y >= area.top() && y <= area.bottom() ? share[index(x, y)] : 0;
    }
};

// How much of each pixel of `area` another colour's ink covers, and how much of the marker's colour shows in
// what it covers in part: its soft edge is a mixture of the paper, the colour and the other colour, whose
// colour is the mean of the pixels it covers whole.
struct HiddenPart {
    Grid hidden;
    Grid shows;
};

HiddenPart coverOver(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper, QRect area, QRect grids)
{
    HiddenPart cover{Grid(grids), Grid(grids)};
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

// Where each pixel's mirror image through `c` lies in a grid, with the bilinear weights of a look there. Pixel
// x's image lies 2c - 1 - x pixel steps from the first pixel's centre: the fraction of a step, and so the
// weights, are the same for every pixel. The grids reach far enough round a patch for every image looked at.
struct MirrorLook {
    int bx, by;
    bool leftRightOnly;
    float w00, w10, w01, w11;
    std::size_t stride;

    MirrorLook(QPointF c, bool acrossOnly, const Grid &grid)
        : leftRightOnly(acrossOnly)
        , stride(std::size_t(grid.area.width()))
    {
        const double fx = 2 * c.x() - 1, fy = 2 * c.y() - 1;
        bx = int(std::floor(fx));
        by = int(std::floor(fy));
        const float tx = float(fx - bx), ty = acrossOnly ? 0.f : float(fy - by);
        w00 = (1 - tx) * (1 - ty);
        w10 = tx * (1 - ty);
        w01 = (1 - tx) * ty;
        w11 = tx * ty;
    }
    [[nodiscard]] std::size_t of(const Grid &grid, int x, int y) const
    {
        return grid.index(bx - x, leftRightOnly ? y : by - y);
    }
    [[nodiscard]] float at(const Grid &grid, std::size_t i) const
    {
        const float *g = grid.share.data();
        return w00 * g[i] + w10 * g[i + 1] + w01 * g[i + stride] + w11 * g[i + stride + 1];
    }
};

// A pixel of the marker's ink that shows.
struct Shown {
    int x, y;
    float share;
    float seen; // of the pixel: what another colour's soft edge leaves of it
};

// How unlike its mirror image through `c` the marker's ink is, where neither is hidden: what of the ink's
// image is not ink, or hidden, weighed by the ink.
double mismatch(const std::vector<Shown> &ink, const Grid &colour, const Grid &hidden, QPointF c, bool leftRightOnly)
{
    const MirrorLook mirror(c, leftRightOnly, colour);
    double differ = 0, total = 0;
    for (const Shown &p : ink) {
        const std::size_t image = mirror.of(colour, p.x, p.y);
        const double seen = p.seen * (1 - mirror.at(hidden, image));
        const double q = mirror.at(colour, image);
        differ += seen * (p.share - q) * (p.share - q);
        total += seen * (p.share * p.share + q * q);
    }
    return total > 0 ? differ / total : 1.0;
}

} // namespace

bool otherInk(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper, int x, int y)
{
    if (!picture.contains(x, y))
        return false;
    const std::uint32_t p = picture.at(x, y);
    return p != paper && colourDistanceSquared(p, paper) > kDarkInk * kDarkInk && ink.ink(p) < 0.5f;
}

bool paperNear(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper, QPointF at)
{
    const int x0 = int(std::floor(at.x())), y0 = int(std::floor(at.y()));
    for (int y = y0 - 1; y <= y0 + 1; ++y) {
        for (int x = x0 - 1; x <= x0 + 1; ++x) {
            if (picture.contains(x, y) && ink.ink(picture.at(x, y)) < kFaintInside &&
                !otherInk(picture, ink, paper, x, y))
                return true;
        }
    }
    return false;
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
            // The halves of one marker make a marker's bounds, two markers side by side a long one.
            const int longer = std::max(together.width(), together.height());
            const int shorter = std::min(together.width(), together.height());
            if (ri == rj || longer > largest || longer > kMostJoinedElongation * shorter ||
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
    return otherInk(picture_, ink_, paper_, x, y) &&
           colourDistanceSquared(picture_.at(x, y), colour_) >= kLeastApart * kLeastApart;
}

bool touchesCover(const CoverInk &cover, const InkComponent &piece)
{
    const QRect around = piece.bounds.adjusted(-kCoverNear, -kCoverNear, kCoverNear, kCoverNear);
    int count = 0;
    for (int y = around.top(); y <= around.bottom(); ++y) {
        for (int x = around.left(); x <= around.right(); ++x) {
            if (cover.at(x, y) && ++count >= kLeastCover)
                return true;
        }
    }
    return false;
}

// How wide a filled triangle's row is, from its upright axis out: each half by its ink, and by twice the half
// that shows where the other is hidden. None where both are.
std::optional<double> rowWidth(const Grid &colour, const Grid &hidden, QRect patch, int y, double axis)
{
    const int left = patch.left() - 1, right = patch.right() + 1;
    double half[2] = {0, 0};
    bool covered[2] = {false, false};
    for (int x = left; x <= right; ++x) {
        const double rightShare = std::clamp(x + 1 - axis, 0.0, 1.0); // of pixel x, right of the axis
        if (hidden.at(x, y) > 0) {
            covered[0] = covered[0] || rightShare < 1;
            covered[1] = covered[1] || rightShare > 0;
        }
        const double a = colour.at(x, y);
        half[0] += a * (1 - rightShare);
        half[1] += a * rightShare;
    }
    if (covered[0] && covered[1])
        return std::nullopt;
    return !covered[0] && !covered[1] ? half[0] + half[1] : !covered[0] ? 2 * half[0] : 2 * half[1];
}

// The middle, up or down, of a filled triangle another colour's ink hides in part, whose upright axis is at
// `axis`: half way between its tip, where a line through the widths of its rows meets nought, and its base.
std::optional<double> filledTriangleMiddle(const Grid &colour, const Grid &hidden, QRect patch, bool tipUp, double axis)
{
    const int rows = patch.height();
    // Row k counts from the tip's side.
    const auto yOf = [&](int k) { return tipUp ? patch.top() + k : patch.bottom() - k; };
    std::vector<std::optional<double>> width(static_cast<std::size_t>(rows));
    std::vector<double> ink(std::size_t(rows), 0);
    double most = 0;
    for (int k = 0; k < rows; ++k) {
        width[std::size_t(k)] = rowWidth(colour, hidden, patch, yOf(k), axis);
        for (int x = patch.left(); x <= patch.right(); ++x)
            ink[std::size_t(k)] += colour.at(x, yOf(k));
        most = std::max(most, ink[std::size_t(k)]);
    }
    int last = rows - 1;
    while (last > 0 && ink[std::size_t(last)] < kFaintRow * most)
        --last;
    if (!width[std::size_t(last)])
        return std::nullopt; // the base lies under the other colour
    std::vector<QPointF> shown;
    for (int k = 1; k < last; ++k) {
        if (width[std::size_t(k)] && ink[std::size_t(k)] > kFaintRow * most)
            shown.push_back({k + 0.5, *width[std::size_t(k)]});
    }
    const std::optional<FittedLine> l = shown.size() >= kFewestWholeRows ? fittedLine(shown) : std::nullopt;
    if (!l || l->b <= 0)
        return std::nullopt;
    const double tip = -l->a / l->b;
    // The base's outer edge: how much of its row it covers, its ink against the width the line gives it.
    const double base = last + std::clamp(*width[std::size_t(last)] / (l->a + l->b * (last + 0.5)), 0.0, 1.0);
    const double middle = (tip + base) / 2;
    return tipUp ? patch.top() + middle : patch.bottom() + 1 - middle;
}

QPointF centreBesideOtherInk(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper,
                             const InkComponent &piece, QPointF start, std::optional<bool> triangleTipUp, bool filled)
{
    const bool leftRightOnly = triangleTipUp.has_value();
    const Patch patch = patchOf(picture, ink, piece);
    const QRect around = piece.bounds.adjusted(-kHiddenReach, -kHiddenReach, kHiddenReach, kHiddenReach) &
                         QRect(0, 0, picture.width, picture.height);
    // Room for the mirror images of the patch through every centre looked at.
    const int room = std::max(piece.bounds.width(), piece.bounds.height()) + 2 * kFarthestLook + 4;
    const QRect grids = piece.bounds.adjusted(-room, -room, room, room);
    const HiddenPart cover = coverOver(picture, ink, paper, around, grids);
    // What shows of the colour in each pixel.
    Grid colour(grids);
    std::vector<Shown> shown;
    for (int y = patch.area.top(); y <= patch.area.bottom(); ++y) {
        for (int x = patch.area.left(); x <= patch.area.right(); ++x) {
            const float hidden = cover.hidden.at(x, y);
            const float share = hidden >= 1 ? 0 : hidden > 0 ? cover.shows.at(x, y) : patch.at(x, y);
            const std::size_t i = colour.index(x, y);
            colour.share[i] = share;
            if (share > 0)
                shown.push_back({x, y, share, 1 - hidden});
        }
    }
    QPointF best = start;
    double least = mismatch(shown, colour, cover.hidden, start, leftRightOnly);
    for (const GridStep level : kSearch) {
        const QPointF from = best;
        const double step = level.step;
        for (int j = leftRightOnly ? 0 : -level.each; j <= (leftRightOnly ? 0 : level.each); ++j) {
            for (int i = -level.each; i <= level.each; ++i) {
                const QPointF c = from + QPointF(i * step, j * step);
                const double m = mismatch(shown, colour, cover.hidden, c, leftRightOnly);
                if (m < least) {
                    least = m;
                    best = c;
                }
            }
        }
    }
    if (triangleTipUp && filled) {
        if (const std::optional<double> y =
                filledTriangleMiddle(colour, cover.hidden, patch.area, *triangleTipUp, best.x()))
            best.setY(*y);
    }
    return best;
}
