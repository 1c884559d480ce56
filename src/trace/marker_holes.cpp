#include "trace/marker_holes.h"

#include "trace/convex_hull.h"
#include "trace/rect_cells.h"
#include "trace/tile_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Pieces whose tiles and those round them hold more pixels than this are left alone, as the opening leaves
// them.
constexpr long long kMostArea = 16'000'000;
// A thin anti-aliased outline holds less than half of the colour where it runs between pixels; this much still
// closes it.
constexpr float kWall = 0.3f;
// Less paper than this is a speck in a thick line, not the inside of a marker.
constexpr double kLeastArea = 4;
// The inside of a marker, halves together, is about as wide as high.
constexpr double kMostElongation = 1.6;
// Two halves lie no farther apart than a line through them is thick, and a pixel or two of its soft edge.
constexpr int kHalvesApart = 4;
// A pixel's paper against its mirror image's differs by more than this only where one of them is ink.
constexpr double kMostMismatch = 0.5;

// The holes of a grid or a hatching are alike, none with more than twice another's paper, and each is closed in
// by its neighbours all round: no way out between them is wider than this.
constexpr double kAlikeArea = 2;
constexpr double kWidestWayOut = 0.75 * M_PI;

// How far past a piece's bounds the walls of its outline are followed: far enough to close in the inside of the
// largest marker that a piece of its outline belongs to.
constexpr int kWallsReach = 12;
// A line through an inside leaves at least this share of the larger half on the other side of it.
constexpr double kLeastHalf = 0.25;

enum : int { kInk = -1, kOutside = -2, kUnseen = 0 };

// Kept on the tiles round the pixels looked at, and as far again as the largest inside reaches from its walls:
// beyond them all is outside.
struct Grid {
    QRect area;
    TileGrid<float> ink; // over `area`; 0 away from the piece, where it was not looked at
    TileGrid<int> label; // kInk, kOutside, kUnseen or a hole's number from 1
};

// The piece and its soft edge over its bounds and a margin around, with the walls its ink goes on into within
// the margin, and a ring of paper past them, so that the outside is one piece of paper.
Grid gridOf(const PixelView &picture, const MarkerInk &ink, const InkComponent &piece, int largest)
{
    const QRect area = piece.bounds.adjusted(-kWallsReach - 1, -kWallsReach - 1, kWallsReach + 1, kWallsReach + 1);
    Grid g{area, TileGrid<float>(area, 0), TileGrid<int>(area, kOutside)};
    const QRect looked = piece.bounds.adjusted(-kWallsReach, -kWallsReach, kWallsReach, kWallsReach) &
                         QRect(0, 0, picture.width, picture.height);
    std::vector<QPoint> walls;
    const auto look = [&](int x, int y) {
        if (!looked.contains(x, y) || g.ink.at(x, y) != 0)
            return;
        const float share = std::max(ink.ink(picture.at(x, y)), 1e-6f);
        g.ink.set(x, y, share);
        if (share >= kWall)
            walls.push_back({x, y});
    };
    for (const InkRunOnRow &r : piece.runs) {
        for (int y = r.y - 1; y <= r.y + 1; ++y) {
            for (int x = r.x0 - 1; x <= r.x1 + 1; ++x)
                look(x, y);
        }
    }
    // A thin outline breaks up into pieces where it runs between pixels: the walls go on along its ink beyond
    // this piece.
    while (!walls.empty()) {
        const QPoint p = walls.back();
        walls.pop_back();
        for (int y = p.y() - 1; y <= p.y() + 1; ++y) {
            for (int x = p.x() - 1; x <= p.x() + 1; ++x)
                look(x, y);
        }
    }
    // No pixel of an inside no more than `largest` across lies farther from its walls.
    g.label = TileGrid<int>(g.ink, kOutside);
    g.label.keepAround((largest + TileGrid<int>::kSide) / TileGrid<int>::kSide);
    g.label.forEachKept([&](int x, int y) { g.label(x, y) = g.ink.at(x, y) >= kWall ? kInk : kUnseen; });
    return g;
}

// Gives the paper 4-connected to (x, y) the label `to`; returns its bounds and its pixels.
QRect fill(Grid &g, int x, int y, int to, std::vector<QPoint> &pixels)
{
    QRect bounds;
    pixels.clear();
    std::vector<QPoint> stack{{x, y}};
    g.label(x, y) = to;
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        pixels.push_back(p);
        bounds |= QRect(p, QSize(1, 1));
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint q = p + d;
            if (g.label.at(q.x(), q.y()) == kUnseen) {
                g.label(q.x(), q.y()) = to;
                stack.push_back(q);
            }
        }
    }
    return bounds;
}

// The paper of one hole, each pixel weighed by how little of the colour it holds.
struct Paper {
    QRect area;
    std::vector<double> weight;

    [[nodiscard]] double at(int x, int y) const
    {
        if (!area.contains(x, y))
            return 0;
        return weight[std::size_t(y - area.top()) * std::size_t(area.width()) + std::size_t(x - area.left())];
    }
    // Between pixel centres, bilinearly.
    [[nodiscard]] double sampled(QPointF p) const
    {
        const double fx = p.x() - 0.5, fy = p.y() - 0.5;
        const int x = int(std::floor(fx)), y = int(std::floor(fy));
        const double ax = fx - x, ay = fy - y;
        return (1 - ay) * ((1 - ax) * at(x, y) + ax * at(x + 1, y)) +
               ay * ((1 - ax) * at(x, y + 1) + ax * at(x + 1, y + 1));
    }
};

// Gives all the paper 4-connected to (x, y) the label `to` a row's stretch at a time: the outside, which can be
// most of a large piece's bounds, wants neither its pixels nor its bounds.
void fillStretches(Grid &g, int x, int y, int to)
{
    const auto unseen = [&](int u, int v) { return g.label.at(u, v) == kUnseen; };
    std::vector<QPoint> seeds{{x, y}};
    while (!seeds.empty()) {
        const QPoint p = seeds.back();
        seeds.pop_back();
        if (!unseen(p.x(), p.y()))
            continue;
        int left = p.x(), right = p.x();
        while (left > g.area.left() && unseen(left - 1, p.y()))
            --left;
        while (right < g.area.right() && unseen(right + 1, p.y()))
            ++right;
        for (int u = left; u <= right; ++u)
            g.label(u, p.y()) = to;
        for (const int v : {p.y() - 1, p.y() + 1}) {
            if (v < g.area.top() || v > g.area.bottom())
                continue;
            for (int u = left; u <= right; ++u) {
                if (unseen(u, v) && (u == left || !unseen(u - 1, v)))
                    seeds.push_back({u, v});
            }
        }
    }
}

// The hole's paper and the pixels of ink around it, whose paper is the soft inner edge of the outline: leaving
// them out would cut that edge where the wall was drawn.
Paper paperOf(const Grid &g, const Hole &h)
{
    Paper paper{h.bounds.adjusted(-1, -1, 1, 1), {}};
    paper.weight.assign(std::size_t(paper.area.width()) * std::size_t(paper.area.height()), 0);
    const auto set = [&](int x, int y) {
        paper.weight[std::size_t(y - paper.area.top()) * std::size_t(paper.area.width()) +
                     std::size_t(x - paper.area.left())] = 1 - g.ink.at(x, y);
    };
    for (const QPoint &p : h.pixels) {
        for (int y = p.y() - 1; y <= p.y() + 1; ++y) {
            for (int x = p.x() - 1; x <= p.x() + 1; ++x) {
                if (g.label.at(x, y) == kInk || (x == p.x() && y == p.y()))
                    set(x, y);
            }
        }
    }
    // Ink within the inside's convex hull is a line through it: the inside the outline closes in goes on there.
    // That holds where the line cuts the inside in halves; where it took one side away, the hull is too small.
    std::vector<double> parts = h.parts;
    std::sort(parts.rbegin(), parts.rend());
    if (parts.size() != 2 || parts[1] < kLeastHalf * parts[0])
        return paper;
    const std::vector<QPoint> hull = convexHull(h.pixels);
    for (int y = paper.area.top(); y <= paper.area.bottom(); ++y) {
        for (int x = paper.area.left(); x <= paper.area.right(); ++x) {
            if (g.label.at(x, y) == kInk && insideHull(hull, QPoint(x, y)))
                paper.weight[std::size_t(y - paper.area.top()) * std::size_t(paper.area.width()) +
                             std::size_t(x - paper.area.left())] = 1;
        }
    }
    return paper;
}

// The skew of the paper's width down its rows, from its first to its last paper in each.
double widthSkew(const Paper &paper)
{
    double n = 0, m1 = 0;
    std::vector<double> widths;
    for (int y = paper.area.top(); y <= paper.area.bottom(); ++y) {
        int first = paper.area.right() + 1, last = paper.area.left() - 1;
        for (int x = paper.area.left(); x <= paper.area.right(); ++x) {
            if (paper.at(x, y) >= 0.5) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
        const double w = std::max(0, last - first + 1);
        widths.push_back(w);
        n += w;
        m1 += w * (y + 0.5);
    }
    if (n <= 0)
        return 0;
    const double mean = m1 / n;
    double m2 = 0, m3 = 0;
    for (std::size_t k = 0; k < widths.size(); ++k) {
        const double d = paper.area.top() + double(k) + 0.5 - mean;
        m2 += widths[k] * d * d;
        m3 += widths[k] * d * d * d;
    }
    return m2 > 0 ? (m3 / n) / std::pow(m2 / n, 1.5) : 0;
}

// What of the paper its mirror image about `c` does not cover, squared: both sampled between pixels alike, so
// that no place between them is favoured. Paper against ink (a line through one side only) counts the same
// however far the centre moves, an edge of the outline slightly off its mirror image by how far. The sum stops
// once it reaches `beyond`, where only less than that matters.
double asymmetryAbout(const Paper &paper, QPointF c, double beyond = std::numeric_limits<double>::infinity())
{
    const int reach = std::max(paper.area.width(), paper.area.height()) / 2 + 1;
    double sum = 0;
    for (int j = -reach; j < reach && 2 * sum < beyond; ++j) {
        for (int i = 0; i < reach; ++i) {
            const QPointF d(i + 0.5, j + 0.5);
            const double mismatch = paper.sampled(c + d) - paper.sampled(c - d);
            sum += std::min(mismatch * mismatch, kMostMismatch * kMostMismatch);
        }
    }
    return 2 * sum;
}

// The centre about which the inside is most nearly the same turned half way round: what a line through it takes
// out on one side only counts alike wherever the centre is, what the outline closes in does not.
QPointF symmetricCentre(const Paper &paper)
{
    // From the paper's centroid, in ever finer steps round the best so far.
    QPointF best;
    double mass = 0;
    for (int y = paper.area.top(); y <= paper.area.bottom(); ++y) {
        for (int x = paper.area.left(); x <= paper.area.right(); ++x) {
            best += paper.at(x, y) * QPointF(x + 0.5, y + 0.5);
            mass += paper.at(x, y);
        }
    }
    best /= mass;
    double least = asymmetryAbout(paper, best);
    for (double step = 0.5; step >= 0.03; step /= 2) {
        const QPointF around = best;
        for (int j = -2; j <= 2; ++j) {
            for (int i = -2; i <= 2; ++i) {
                const QPointF c = around + QPointF(i, j) * step;
                const double a = asymmetryAbout(paper, c, least);
                if (a < least) {
                    least = a;
                    best = c;
                }
            }
        }
    }
    return best;
}

double elongation(const QRect &r)
{
    return double(std::max(r.width(), r.height())) / std::min(r.width(), r.height());
}

// Drops the holes whose numbers `drop` is true for, keeping the others in order.
template <typename Drop> void dropEach(std::vector<Hole> &holes, Drop drop)
{
    std::size_t kept = 0;
    for (std::size_t k = 0; k < holes.size(); ++k) {
        if (drop(k))
            continue;
        if (kept != k)
            holes[kept] = std::move(holes[k]);
        ++kept;
    }
    holes.resize(kept);
}

// The holes by the cells of the picture their bounds cover.
RectCells cellsOf(const std::vector<Hole> &holes)
{
    QRect area;
    for (const Hole &h : holes)
        area |= h.bounds;
    RectCells cells(area);
    for (std::size_t k = 0; k < holes.size(); ++k)
        cells.add(k, holes[k].bounds);
    return cells;
}

// The halves of one inside: close together, and together about as wide as high. Pair by pair, the first pair in
// order that may merge, as a scan from the start after each merge finds it; only pairs with the hole that grew
// can have changed, so the scan goes on from there rather than from the start, and it looks only at the holes in
// the cells round that one: a piece of many holes (a hatched or halftone area) took seconds.
void mergeHalves(std::vector<Hole> &holes, int largest)
{
    if (holes.empty())
        return;
    const auto halves = [&](const Hole &a, const Hole &b) {
        const QRect both = a.bounds | b.bounds;
        const QRect near = a.bounds.adjusted(-kHalvesApart, -kHalvesApart, kHalvesApart, kHalvesApart);
        return near.intersects(b.bounds) && both.width() <= largest && both.height() <= largest &&
               elongation(both) <= kMostElongation;
    };
    RectCells cells = cellsOf(holes);
    // Merged holes are left in place until the end, so that the others keep their order.
    std::vector<bool> gone(holes.size(), false);
    // The first hole in order before or after hole `i` that it may merge with; none is `holes.size()`.
    const auto firstWith = [&](std::size_t i, bool before) {
        std::size_t first = holes.size();
        const QRect near = holes[i].bounds.adjusted(-kHalvesApart, -kHalvesApart, kHalvesApart, kHalvesApart);
        cells.forEachAround(near, [&](std::size_t k) {
            if (k < first && (before ? k < i : k > i) && halves(holes[k], holes[i]))
                first = k;
        });
        return first;
    };
    // Hole `j` into hole `i`.
    const auto merge = [&](std::size_t i, std::size_t j) {
        const QRect before = holes[i].bounds;
        holes[i].area += holes[j].area;
        holes[i].parts.insert(holes[i].parts.end(), holes[j].parts.begin(), holes[j].parts.end());
        holes[i].bounds |= holes[j].bounds;
        holes[i].pixels.insert(holes[i].pixels.end(), holes[j].pixels.begin(), holes[j].pixels.end());
        gone[j] = true;
        cells.remove(j, holes[j].bounds);
        cells.add(i, holes[i].bounds, before);
    };
    std::size_t i = 0;
    while (i < holes.size()) {
        const std::size_t j = firstWith(i, false);
        if (j == holes.size()) {
            do
                ++i;
            while (i < holes.size() && gone[i]);
            continue;
        }
        merge(i, j);
        // Of the holes before it, the first the grown hole now goes with comes first.
        for (std::size_t k = firstWith(i, true); k < holes.size(); k = firstWith(i, true)) {
            merge(k, i);
            i = k;
        }
    }
    dropEach(holes, [&](std::size_t k) { return gone[k]; });
}

// Whether two of the ways, next to each other round the turn, are kWidestWayOut apart or more.
bool wayOut(std::vector<QPointF> &ways)
{
    // In order round the turn by a measure that grows with the angle, 0 to 4, with no trigonometry.
    const auto round = [](QPointF d) {
        const double s = d.y() / (std::abs(d.x()) + std::abs(d.y()));
        return d.x() >= 0 ? (d.y() >= 0 ? s : 4 + s) : 2 - s;
    };
    std::sort(ways.begin(), ways.end(), [&](QPointF a, QPointF b) { return round(a) < round(b); });
    if (round(ways.front()) == round(ways.back()))
        return true; // all one way: the whole turn is a way out
    const double widest = std::cos(kWidestWayOut);
    for (std::size_t i = 0; i < ways.size(); ++i) {
        const QPointF a = ways[i], b = ways[(i + 1) % ways.size()];
        const double cross = a.x() * b.y() - a.y() * b.x(), dot = QPointF::dotProduct(a, b);
        const double lengths = std::hypot(a.x(), a.y()) * std::hypot(b.x(), b.y());
        // From a to b onwards round the turn: past a half turn where b lies behind, none where it lies alike.
        if (cross < 0 || (cross == 0 && dot < 0) || (cross > 0 && dot <= widest * lengths))
            return true;
    }
    return false;
}

// Drops the holes of a grid or a cross-hatching drawn in the colour: a hole that holes of about its size close in
// all round, and the holes next to it, which takes the hatching's edge too. Markers of a series that touch lie
// along its line, not all round one another; a cloud of them packed as tight as a grid loses those it closes in.
void dropLattices(std::vector<Hole> &holes)
{
    if (holes.size() < 4)
        return;
    RectCells cells = cellsOf(holes);
    std::vector<std::vector<std::size_t>> next(holes.size());
    std::vector<bool> closedIn(holes.size(), false);
    std::vector<QPointF> ways;
    for (std::size_t k = 0; k < holes.size(); ++k) {
        const Hole &h = holes[k];
        const QRect near = h.bounds.adjusted(-kHalvesApart, -kHalvesApart, kHalvesApart, kHalvesApart);
        std::vector<std::size_t> &mine = next[k];
        cells.forEachAround(near, [&](std::size_t o) {
            const Hole &n = holes[o];
            if (o != k && near.intersects(n.bounds) && n.area <= kAlikeArea * h.area && h.area <= kAlikeArea * n.area)
                mine.push_back(o);
        });
        std::sort(mine.begin(), mine.end());
        mine.erase(std::unique(mine.begin(), mine.end()), mine.end());
        ways.clear();
        const QPointF from = QRectF(h.bounds).center();
        for (const std::size_t o : mine) {
            const QPointF to = QRectF(holes[o].bounds).center() - from;
            if (!to.isNull())
                ways.push_back(to);
        }
        closedIn[k] = ways.size() >= 3 && !wayOut(ways);
    }
    dropEach(holes, [&](std::size_t k) {
        return closedIn[k] || std::any_of(next[k].begin(), next[k].end(), [&](std::size_t o) { return closedIn[o]; });
    });
}

} // namespace

std::vector<Hole> markerHoles(const PixelView &picture, const MarkerInk &ink, const InkComponent &piece, int largest)
{
    if (piece.runs.empty() || tiledArea(piece.runs, piece.bounds) > kMostArea)
        return {};
    Grid g = gridOf(picture, ink, piece, largest);
    std::vector<QPoint> pixels;
    // From the area's edge and from the tiles not kept, whatever they hold.
    const auto outsideNext = [&](int x, int y) {
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            if (!g.label.kept(x + d.x(), y + d.y()))
                return true;
        }
        return false;
    };
    g.label.forEachKept([&](int x, int y) {
        if (g.label.at(x, y) == kUnseen && outsideNext(x, y))
            fillStretches(g, x, y, kOutside);
    });
    // Each hole with its weighed paper, which is all the inside has to go by.
    std::vector<Hole> holes;
    g.label.forEachKept([&](int x, int y) {
        if (g.label.at(x, y) != kUnseen)
            return;
        Hole h;
        h.bounds = fill(g, x, y, int(holes.size()) + 1, pixels);
        for (const QPoint &p : pixels)
            h.area += 1 - g.ink.at(p.x(), p.y());
        h.pixels = pixels;
        h.parts = {h.area};
        holes.push_back(std::move(h));
    });
    std::erase_if(holes, [&](const Hole &h) { return h.bounds.width() > largest || h.bounds.height() > largest; });
    // Before the halves are taken together, which would merge a hatching's cells into blobs of a marker's size.
    dropLattices(holes);
    mergeHalves(holes, largest);
    std::erase_if(holes, [](const Hole &h) { return h.area < kLeastArea || elongation(h.bounds) > kMostElongation; });
    for (Hole &h : holes) {
        const Paper paper = paperOf(g, h);
        h.centre = symmetricCentre(paper);
        h.skew = widthSkew(paper);
        h.pixels.clear();
        h.parts.clear();
    }
    return holes;
}
