#include "trace/corner_turn.h"

#include "trace/ink_sample.h"
#include "trace/stroke_centre.h"
#include "trace/vector_length.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kCovered = 0.4; // a place on the ring around a corner holds the stroke from this much ink
// The corners taken: sharper ones the walk goes round itself, blunter ones fold the line back onto itself.
constexpr double kLeastTurn = 0.15;
constexpr double kMostTurn = 2.7;

double cross(QPointF a, QPointF b)
{
    return a.x() * b.y() - a.y() * b.x();
}

struct Line {
    QPointF through;
    QPointF way;       // unit
    double spread = 0; // root mean square distance of the points from it
};

// The straight line closest to `points`, along their long axis.
std::optional<Line> fittedLine(const std::vector<QPointF> &points)
{
    if (points.size() < 3)
        return std::nullopt;
    QPointF mean;
    for (const QPointF &p : points)
        mean += p;
    mean /= double(points.size());
    double sxx = 0, syy = 0, sxy = 0;
    for (const QPointF &p : points) {
        const QPointF d = p - mean;
        sxx += d.x() * d.x();
        syy += d.y() * d.y();
        sxy += d.x() * d.y();
    }
    const double angle = 0.5 * std::atan2(2 * sxy, sxx - syy);
    const QPointF way(std::cos(angle), std::sin(angle));
    double off2 = 0;
    for (const QPointF &p : points)
        off2 += std::pow(cross(way, p - mean), 2);
    return Line{mean, way, std::sqrt(off2 / double(points.size()))};
}

// The straight end of the walk: its centres from a pixel and a half to eighteen pixels before the last.
std::optional<Line> lineBehind(const std::vector<QPointF> &centres, double width)
{
    const QPointF end = centres.back();
    std::vector<QPointF> points;
    for (std::size_t i = centres.size(); i-- > 0;) {
        const double d = length(centres[i] - end);
        if (d > std::max(18.0, 4 * width))
            break;
        if (d >= 1.5)
            points.push_back(centres[i]);
    }
    std::optional<Line> line = fittedLine(points);
    if (!line || length(points.front() - points.back()) < 6)
        return std::nullopt;
    // Along the way walked.
    if (QPointF::dotProduct(line->way, end - points.back()) < 0)
        line->way = -line->way;
    return line;
}

// How far past `from` the stroke's ink goes on along `way`.
double inkReach(const PixelView &picture, const InkModel &model, QPointF from, QPointF way, double width)
{
    const QPointF normal(-way.y(), way.x());
    const double half = width / 2 + 0.5;
    double s = 0;
    for (; s < 4 * width + 16; s += 0.5) {
        double most = 0;
        for (double u = -half; u <= half; u += 0.5)
            most = std::max(most, inkBetweenPixels(picture, model, from + way * s + normal * u));
        if (most < kCovered)
            break;
    }
    return s;
}

// Whether the pixel at `p`, or one next to it, holds the stroke: a line's corner may fall between the pixels
// of an aliased hair line.
bool inkNextTo(const PixelView &picture, const InkModel &model, QPointF p)
{
    const int x = int(std::floor(p.x()));
    const int y = int(std::floor(p.y()));
    for (int j = y - 1; j <= y + 1; ++j) {
        for (int i = x - 1; i <= x + 1; ++i) {
            if (picture.contains(i, j) && model.ink(picture.at(i, j)) >= 0.5f)
                return true;
        }
    }
    return false;
}

struct Arc {
    double angle = 0;
    double width = 0; // along the ring, in pixels
};

// The stretches of a ring of `radius` around `centre` that hold ink.
std::vector<Arc> inkArcs(const PixelView &picture, const InkModel &model, QPointF centre, double radius)
{
    const int n = std::max(64, int(std::ceil(2 * kPi * radius / 0.4)));
    const double step = 2 * kPi / n;
    std::vector<bool> covered(static_cast<std::size_t>(n));
    int bare = -1;
    for (int i = 0; i < n; ++i) {
        const QPointF p = centre + radius * QPointF(std::cos(i * step), std::sin(i * step));
        covered[std::size_t(i)] = inkBetweenPixels(picture, model, p) >= kCovered;
        if (!covered[std::size_t(i)])
            bare = i;
    }
    std::vector<Arc> arcs;
    if (bare < 0)
        return arcs; // inside a filled area
    int run = 0;
    for (int k = 1; k <= n; ++k) {
        const int i = (bare + k) % n;
        if (covered[std::size_t(i)]) {
            ++run;
            continue;
        }
        if (run > 0)
            arcs.push_back({(i - (run + 1) / 2.0) * step, run * step * radius});
        run = 0;
    }
    return arcs;
}

double turnBetween(QPointF a, QPointF b)
{
    return std::abs(std::atan2(cross(a, b), QPointF::dotProduct(a, b)));
}

struct Piece {
    Line line;
    std::vector<QPointF> centres;
};

// Centres of the straight piece of stroke leaving `from` about `towards`, measured from `first` pixels from it
// on, each across the axis the way runs closest to, and the line through them; nothing unless each is of the
// stroke's width and they lie on a straight line.
std::optional<Piece> pieceAhead(const PixelView &picture, const InkModel &model, QPointF from, QPointF towards,
                                double first, double width)
{
    const CrossAxis axis = axisAcross(towards);
    std::vector<QPointF> centres;
    QPointF way = towards;
    for (int k = 0; k < 6; ++k) {
        // Aimed by the centres found so far: the ring tells the way only roughly.
        const QPointF p = k == 0 ? from + way * first : centres.back() + way * 2;
        const double cosine = std::abs(axis == CrossAxis::Column ? way.x() : way.y());
        const double reach = 0.5 * width / cosine + 1.5;
        const double major = axis == CrossAxis::Column ? p.x() : p.y();
        const double minor = axis == CrossAxis::Column ? p.y() : p.x();
        const int line = int(std::floor(major));
        const CrossSection cs = inkRuns(picture, model, axis, line, int(std::floor(minor - reach)),
                                        int(std::floor(minor + reach)), int(std::ceil(width + 3)));
        const InkRun *best = nullptr;
        for (int i = 0; i < cs.count; ++i) {
            const InkRun &r = cs.runs[std::size_t(i)];
            if (!best || std::abs(r.centre - minor) < std::abs(best->centre - minor))
                best = &r;
        }
        if (!best || best->open)
            return std::nullopt;
        const double across = best->mass * cosine;
        if (across < 0.6 * width - 0.4 || across > 1.4 * width + 0.8)
            return std::nullopt;
        centres.push_back(placeOnLine(axis, line, best->centre));
        if (centres.size() >= 2 && length(centres.back() - centres.front()) >= 1)
            way = (centres.back() - centres.front()) / length(centres.back() - centres.front());
    }
    std::optional<Line> line = fittedLine(centres);
    if (!line || line->spread > 0.45)
        return std::nullopt;
    if (QPointF::dotProduct(line->way, towards) < 0)
        line->way = -line->way;
    return Piece{*line, std::move(centres)};
}

} // namespace

std::optional<Corner> cornerAfter(const PixelView &picture, const InkModel &model, const std::vector<QPointF> &centres,
                                  double width)
{
    if (centres.size() < 4)
        return std::nullopt;
    const std::optional<Line> in = lineBehind(centres, width);
    if (!in || in->spread > 0.45)
        return std::nullopt;
    const QPointF end = in->through + in->way * QPointF::dotProduct(centres.back() - in->through, in->way);
    // Where the ink ends along the way, less the round of the join, is near the corner.
    const QPointF guess = end + in->way * std::max(0.0, inkReach(picture, model, end, in->way, width) - width / 2);
    const double radius = std::max(7.0, 2 * width + 5);
    // The ring must show the way the walk came and exactly one way on, both as wide as the stroke.
    std::optional<Arc> back, on;
    for (const Arc &a : inkArcs(picture, model, guess, radius)) {
        if (a.width < 0.4 * width || a.width > 2.5 * width + 3)
            return std::nullopt;
        const QPointF direction(std::cos(a.angle), std::sin(a.angle));
        if (turnBetween(direction, -in->way) < 0.6 && !back)
            back = a;
        else if (on)
            return std::nullopt;
        else
            on = a;
    }
    if (!back || !on)
        return std::nullopt;
    const QPointF towards(std::cos(on->angle), std::sin(on->angle));
    const double turn = turnBetween(in->way, towards);
    if (turn < kLeastTurn || turn > kMostTurn)
        return std::nullopt;
    const std::optional<Piece> ahead = pieceAhead(picture, model, guess, towards, radius, width);
    if (!ahead)
        return std::nullopt;
    const Line *out = &ahead->line;
    const double sine = cross(in->way, out->way);
    if (std::abs(sine) < 0.1)
        return std::nullopt;
    Corner corner;
    corner.at = in->through + in->way * (cross(out->through - in->through, out->way) / sine);
    // A polyline's corner lies on its own stroke, whatever the join; where the two ways meet off its ink, the
    // stroke bent round tightly instead (the trough of a steep wave).
    if (length(corner.at - guess) > radius || !inkNextTo(picture, model, corner.at))
        return std::nullopt;
    corner.way = out->way;
    corner.start = ahead->centres.front();
    // The centres near the corner, where the other piece's ink moved them, go.
    corner.kept = centres.size();
    while (corner.kept > 1) {
        const QPointF c = centres[corner.kept - 1];
        if (QPointF::dotProduct(c - corner.at, in->way) < -(width / 2 + 1.5) &&
            std::abs(cross(in->way, c - in->through)) < 0.6)
            break;
        --corner.kept;
    }
    return corner;
}

QPointF cornerBetween(const std::vector<QPointF> &before, const std::vector<QPointF> &after, QPointF corner,
                      double width)
{
    const double nearest = 1.5 * width + 1;
    const double farthest = std::max(24.0, 6 * width);
    const auto near = [&](const std::vector<QPointF> &centres, bool fromEnd) {
        std::vector<QPointF> points;
        for (std::size_t k = 0; k < centres.size(); ++k) {
            const QPointF p = centres[fromEnd ? centres.size() - 1 - k : k];
            const double d = length(p - corner);
            if (d > farthest)
                break;
            if (d >= nearest)
                points.push_back(p);
        }
        return points;
    };
    const std::optional<Line> in = fittedLine(near(before, true));
    const std::optional<Line> out = fittedLine(near(after, false));
    if (!in || !out)
        return corner;
    const double sine = cross(in->way, out->way);
    if (std::abs(sine) < 0.1)
        return corner;
    const QPointF at = in->through + in->way * (cross(out->through - in->through, out->way) / sine);
    return length(at - corner) < 2 ? at : corner;
}
