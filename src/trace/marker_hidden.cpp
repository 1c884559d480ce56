#include "trace/marker_hidden.h"

#include "trace/line_fit.h"
#include "trace/marker_cover.h"
#include "trace/marker_patch.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// How far the hidden part of a marker may reach past the ink that shows.
constexpr int kHiddenReach = 6;
// Below this share of a pixel, another colour's soft edge is noise.
constexpr double kFaintCover = 0.15;
// The centre is looked for on finer and finer grids round the best so far, within three pixels of where it was
// thought to be, to a tenth of a pixel.
struct GridStep {
    double step;
    int each; // steps each way
};
constexpr GridStep kSearch[] = {{0.5, 5}, {0.1, 3}};
// As far as the search goes, in whole pixels.
constexpr int kSearchReach = 3;
// A triangle's rows that hold less than this share of the fullest one's ink hold parts of pixels: its tip.
constexpr double kFaintRow = 0.15;
constexpr std::size_t kFewestWholeRows = 3;
// How far past its first rows of ink a triangle's tip may be fitted, for the anti-aliased tip's faint pixels.
constexpr double kTipSlack = 0.5;

// How much of each pixel of `area` another colour's ink covers, and how much of the marker's colour shows in
// what it covers in part: its soft edge is a mixture of the paper, the colour and the other colour, whose
// colour is the mean of the pixels it covers whole.
struct HiddenPart {
    Patch hidden;
    Patch shows;
};

HiddenPart coverOver(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper, QRect area)
{
    HiddenPart cover{Patch(area), Patch(area)};
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

// A pixel of the marker's ink that shows.
struct Shown {
    int x, y;
    float share;
    float seen; // of the pixel: what another colour's soft edge leaves of it
};

// How unlike its mirror image through `c` the marker's ink is, where neither is hidden: what of the ink's
// image is not ink, or hidden, weighed by the ink.
double mismatch(const std::vector<Shown> &ink, const Patch &colour, const Patch &hidden, QPointF c, bool leftRightOnly)
{
    double differ = 0, total = 0;
    for (const Shown &p : ink) {
        const double mx = 2 * c.x() - (p.x + 0.5);
        const double my = leftRightOnly ? p.y + 0.5 : 2 * c.y() - (p.y + 0.5);
        const double seen = p.seen * (1 - hidden.around(mx, my));
        const double q = colour.around(mx, my);
        differ += seen * (p.share - q) * (p.share - q);
        total += seen * (p.share * p.share + q * q);
    }
    return total > 0 ? differ / total : 1.0;
}

// How wide a filled triangle's row is, from its upright axis out: each half by its ink, and by twice the half
// that shows where the other is hidden. None where both are.
std::optional<double> rowWidth(const Patch &colour, const Patch &hidden, QRect patch, int y, double axis)
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

// The ends, up or down, of a filled triangle another colour's ink hides in part, whose upright axis is at
// `axis`: its tip, where a line through the widths of its rows meets nought, and its base where that shows.
std::optional<HiddenCentre> filledTriangleEnds(const Patch &colour, const Patch &hidden, QRect patch, bool tipUp,
                                               double axis)
{
    const int rows = patch.height();
    // Row k counts from the tip's side.
    const auto yOf = [&](int k) { return tipUp ? patch.top() + k : patch.bottom() - k; };
    const auto picturesY = [&](double k) { return tipUp ? patch.top() + k : patch.bottom() + 1 - k; };
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
    std::vector<QPointF> shown;
    for (int k = 1; k < last; ++k) {
        if (width[std::size_t(k)] && ink[std::size_t(k)] > kFaintRow * most)
            shown.push_back({k + 0.5, *width[std::size_t(k)]});
    }
    const std::optional<FittedLine> l = shown.size() >= kFewestWholeRows ? fittedLine(shown) : std::nullopt;
    if (!l || l->b <= 0)
        return std::nullopt;
    const bool baseShows = width[std::size_t(last)].has_value();
    const double tip = -l->a / l->b;
    // Widths that hardly grow down the rows meet nought far beyond them: no triangle's sides.
    if (!(std::abs(tip) <= rows))
        return std::nullopt;
    // Without the base, the tip alone places the triangle: where it shows, the fit must put it in its first
    // rows.
    int first = 0;
    while (first < last && ink[std::size_t(first)] <= 0)
        ++first;
    const bool tipShows = width[std::size_t(first)] && width[std::size_t(first + 1)];
    if (!baseShows && (!tipShows || tip < first - kTipSlack || tip > first + 1 + kTipSlack))
        return std::nullopt;
    HiddenCentre ends;
    ends.tip = picturesY(tip);
    if (baseShows) {
        // The base's outer edge: how much of its row it covers, its ink against the width the line gives it.
        const double base = last + std::clamp(*width[std::size_t(last)] / (l->a + l->b * (last + 0.5)), 0.0, 1.0);
        ends.height = base - tip;
    }
    return ends;
}

// What shows of a marker beside another colour's ink, around it: the colour's share of each pixel, and how much
// of it the other colour hides.
struct Showing {
    HiddenPart cover;
    Patch colour;
    std::vector<Shown> shown;
    QRect inkArea; // the piece's, with its soft edge
};

Showing showingOf(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper, const InkComponent &piece)
{
    const Patch patch = patchOf(picture, ink, piece);
    const QRect around = piece.bounds.adjusted(-kHiddenReach, -kHiddenReach, kHiddenReach, kHiddenReach) &
                         QRect(0, 0, picture.width, picture.height);
    Showing s{coverOver(picture, ink, paper, around), Patch(around), {}, patch.area};
    for (int y = patch.area.top(); y <= patch.area.bottom(); ++y) {
        for (int x = patch.area.left(); x <= patch.area.right(); ++x) {
            const float hidden = s.cover.hidden.at(x, y);
            const float share = hidden >= 1 ? 0 : hidden > 0 ? s.cover.shows.at(x, y) : patch.at(x, y);
            s.colour.share[s.colour.index(x, y)] = share;
            if (share > 0)
                s.shown.push_back({x, y, share, 1 - hidden});
        }
    }
    return s;
}

// The centre where `cost` is least, on finer and finer grids round `start`; along the row alone where
// `rowOnly`.
template <typename Cost> QPointF leastCostNear(QPointF start, bool rowOnly, const Cost &cost)
{
    QPointF best = start;
    double least = cost(start);
    for (const GridStep level : kSearch) {
        const QPointF from = best;
        const double step = level.step;
        for (int j = rowOnly ? 0 : -level.each; j <= (rowOnly ? 0 : level.each); ++j) {
            for (int i = -level.each; i <= level.each; ++i) {
                const QPointF c = from + QPointF(i * step, j * step);
                const double m = cost(c);
                if (m < least) {
                    least = m;
                    best = c;
                }
            }
        }
    }
    return best;
}

} // namespace

HiddenCentre centreBesideOtherInk(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper,
                                  const InkComponent &piece, QPointF start, std::optional<bool> triangleTipUp,
                                  bool filled)
{
    const bool leftRightOnly = triangleTipUp.has_value();
    const Showing s = showingOf(picture, ink, paper, piece);
    QPointF best = leastCostNear(
        start, leftRightOnly, [&](QPointF c) { return mismatch(s.shown, s.colour, s.cover.hidden, c, leftRightOnly); });
    HiddenCentre found;
    if (triangleTipUp && filled) {
        if (const std::optional<HiddenCentre> ends =
                filledTriangleEnds(s.colour, s.cover.hidden, s.inkArea, *triangleTipUp, best.x())) {
            found = *ends;
            if (found.height)
                best.setY(*found.tip + (*triangleTipUp ? 0.5 : -0.5) * *found.height);
        }
    }
    found.centre = best;
    return found;
}

ShownInk shownBesideOtherInk(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper,
                             const InkComponent &piece)
{
    Showing s = showingOf(picture, ink, paper, piece);
    return {std::move(s.colour), std::move(s.cover.hidden)};
}

QPointF centreByLook(const ShownInk &marker, QPointF start, const SeriesLook &look)
{
    // The look is placed once for each place of a trial centre within its pixel, over the marker's area and as
    // far round it as the search goes; a centre whole pixels from that place finds it shifted.
    const QPoint origin(int(std::floor(start.x())), int(std::floor(start.y())));
    const QRect area = marker.shows.area;
    const QRect wide = area.adjusted(-kSearchReach, -kSearchReach, kSearchReach, kSearchReach);
    std::map<std::pair<long, long>, Patch> placed;
    // What shows of a pixel the other colour covers in part is what the look puts there, less what it covers.
    const auto unlike = [&](QPointF c) {
        const QPoint whole(int(std::floor(c.x())), int(std::floor(c.y())));
        const std::pair<long, long> within(std::lround((c.x() - whole.x()) * 1000),
                                           std::lround((c.y() - whole.y()) * 1000));
        auto at = placed.find(within);
        if (at == placed.end()) {
            const QPointF centre = origin + QPointF(double(within.first) / 1000, double(within.second) / 1000);
            at = placed.emplace(within, look.placedAt(centre, wide)).first;
        }
        const Patch &expected = at->second;
        const QPoint shift = whole - origin;
        double cost = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const std::size_t i = marker.shows.index(x, y);
                const double seen = 1 - marker.hidden.share[i];
                const float e = expected.at(x - shift.x(), y - shift.y());
                if (seen <= 0 || e == SeriesLook::kUnknown)
                    continue;
                const double d = marker.shows.share[i] - seen * e;
                cost += d * d;
            }
        }
        return cost;
    };
    return leastCostNear(start, false, unlike);
}
