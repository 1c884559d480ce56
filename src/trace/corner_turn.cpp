#include "trace/corner_turn.h"

#include "trace/ink_sample.h"
#include "trace/needle_turn.h"
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
constexpr double kBendSample = 0.25; // pixels along a ray round a bend
// How far off a straight line its centres may stand, root mean square.
constexpr double kMostSpread = 0.45;
// How far into a tight bend a walk may have gone before it lost the stroke.
constexpr double kIntoBend = 8;
// How much farther inside than a corner's join puts it the centre line may cross where the ways meet, for noise.
constexpr double kJoinSlack = 0.4;
// The farthest from the ink ways into a bend may meet.
constexpr double kFarthestBend = 60;

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

// The straight end of the walk: its centres from a pixel and a half (or `skipped`) to eighteen pixels (or as many
// more) before the last.
std::optional<Line> lineBehind(const std::vector<QPointF> &centres, double width, double skipped = 1.5)
{
    const QPointF end = centres.back();
    std::vector<QPointF> points;
    for (std::size_t i = centres.size(); i-- > 0;) {
        const double d = length(centres[i] - end);
        if (d > std::max(18.0, 4 * width) + skipped - 1.5)
            break;
        if (d >= skipped)
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
    std::vector<QPointF> centres;
    QPointF way = towards;
    // The stroke across `axis` at `p`, if one lies there: its centre, and how wide it is across its way.
    struct Across {
        QPointF centre;
        double width = 0;
    };
    const auto across = [&](CrossAxis axis, QPointF p) -> std::optional<Across> {
        const double cosine = std::max(0.2, std::abs(axis == CrossAxis::Column ? way.x() : way.y()));
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
        return Across{placeOnLine(axis, line, best->centre), best->mass * cosine};
    };
    const auto ofStrokesWidth = [&](const std::optional<Across> &a) {
        return a && a->width >= 0.6 * width - 0.4 && a->width <= 1.4 * width + 0.8;
    };
    CrossAxis axis = axisAcross(towards);
    for (int k = 0; k < 6; ++k) {
        // Aimed by the centres found so far: the ring tells the way only roughly.
        const QPointF p = k == 0 ? from + way * first : centres.back() + way * 2;
        if (centres.size() >= 2)
            axis = axisAcross(way);
        std::optional<Across> a = across(axis, p);
        // Where the stroke still bends past the ring, the way the ring tells may be off by more than the axis
        // allows: the other axis crosses it.
        if (!ofStrokesWidth(a) && k == 0) {
            axis = axis == CrossAxis::Column ? CrossAxis::Row : CrossAxis::Column;
            a = across(axis, p);
        }
        if (!ofStrokesWidth(a))
            return std::nullopt;
        centres.push_back(a->centre);
        if (centres.size() >= 2 && length(centres.back() - centres.front()) >= 1)
            way = (centres.back() - centres.front()) / length(centres.back() - centres.front());
    }
    std::optional<Line> line = fittedLine(centres);
    if (!line || line->spread > kMostSpread)
        return std::nullopt;
    if (QPointF::dotProduct(line->way, towards) < 0)
        line->way = -line->way;
    return Piece{*line, std::move(centres)};
}

// How far along a ray through a stroke its ink is, by the ink-weighted middle of its samples; nothing where the
// ray holds less of it than 0.4 of what a stroke `width` wide does. A thin anti-aliased stroke whose colour was
// picked where it lies across two pixels holds only half its width where it fills one pixel: ink saturates there.
std::optional<double> inkAlong(const PixelView &picture, const InkModel &model, QPointF from, QPointF way, double near,
                               double far, double width)
{
    double mass = 0, moment = 0;
    for (double s = near; s <= far; s += kBendSample) {
        const double ink = inkBetweenPixels(picture, model, from + way * s);
        mass += ink * kBendSample;
        moment += ink * kBendSample * s;
    }
    if (mass < 0.4 * width)
        return std::nullopt;
    return moment / mass;
}

// The way halving the angle between the way `in` came and the way `out` goes on, into it.
QPointF halvingOf(const Line &in, const Line &out)
{
    const QPointF halving = out.way - in.way;
    return halving / length(halving);
}

// The sine of half that angle.
double halfAngleSine(const Line &in, const Line &out)
{
    return std::sin(std::acos(std::clamp(QPointF::dotProduct(-in.way, out.way), -1.0, 1.0)) / 2);
}

// Whether the stroke bent round where the ways `in` and `out` meet at `vertex`, rather than turned there as a
// polyline does: its centre line crosses the line halving the angle farther inside than a corner's join moves
// the ink there (a bevel's, cut flat outside, the most).
bool roundedAt(const PixelView &picture, const InkModel &model, const Line &in, const Line &out, QPointF vertex,
               double width)
{
    const QPointF halving = halvingOf(in, out);
    const double sine = halfAngleSine(in, out);
    const double reach = width / (2 * sine) + 2;
    const std::optional<double> at = inkAlong(picture, model, vertex - halving * reach, halving, 0, 2 * reach, width);
    if (!at)
        return true;
    const double joinShift = (width / (2 * sine) - width * sine / 2) / 2;
    return *at - reach > joinShift + kJoinSlack;
}

// The centres of a stroke round a tight bend between the straight ways `in` and `out`, which meet at `vertex` off
// its ink: the circle touching both ways through the ink on the line halving them (found within `reachToInk`)
// stands for the bend, and each centre is where the ink lies along a ray from its middle, a pixel of arc apart:
// the rays cross the stroke square. Empty where a ray finds no stroke.
std::vector<QPointF> centresRoundBend(const PixelView &picture, const InkModel &model, const Line &in, const Line &out,
                                      QPointF vertex, double width, double reachToInk)
{
    const QPointF halving = halvingOf(in, out);
    const double sine = halfAngleSine(in, out);
    if (sine > 0.95)
        return {};
    const std::optional<double> toInk = inkAlong(picture, model, vertex, halving, 0, reachToInk, width);
    if (!toInk || *toInk <= 0)
        return {};
    const double radius = *toInk / (1 / sine - 1);
    const QPointF middle = vertex + halving * (radius / sine);
    // From where the circle touches the way in to where it touches the way on, the short way round.
    const QPointF touchIn = in.through + in.way * QPointF::dotProduct(middle - in.through, in.way);
    const QPointF touchOut = out.through + out.way * QPointF::dotProduct(middle - out.through, out.way);
    const double from = std::atan2(touchIn.y() - middle.y(), touchIn.x() - middle.x());
    double sweep = std::atan2(touchOut.y() - middle.y(), touchOut.x() - middle.x()) - from;
    sweep = std::remainder(sweep, 2 * kPi);
    const int steps = std::max(2, int(std::ceil(std::abs(sweep) * radius)));
    const double reach = width / 2 + 2;
    std::vector<QPointF> centres;
    for (int k = 0; k <= steps; ++k) {
        const double angle = from + sweep * k / steps;
        const QPointF ray(std::cos(angle), std::sin(angle));
        const std::optional<double> at =
            inkAlong(picture, model, middle, ray, std::max(0.0, radius - reach), radius + reach, width);
        if (!at)
            return {};
        centres.push_back(middle + ray * *at);
    }
    return centres;
}

} // namespace

std::optional<Corner> cornerAfter(const PixelView &picture, const InkModel &model, const std::vector<QPointF> &centres,
                                  double width)
{
    if (centres.size() < 4)
        return std::nullopt;
    std::optional<Line> in = lineBehind(centres, width);
    // A walk that went some way into a tight bend before it lost the stroke: the straight way before it.
    if (in && in->spread > kMostSpread)
        in = lineBehind(centres, width, kIntoBend);
    if (!in || in->spread > kMostSpread)
        return std::nullopt;
    const QPointF end = in->through + in->way * QPointF::dotProduct(centres.back() - in->through, in->way);
    // Where the ink ends along the way, less the round of the join, is near the corner.
    const QPointF guess = end + in->way * std::max(0.0, inkReach(picture, model, end, in->way, width) - width / 2);
    const double radius = std::max(7.0, 2 * width + 5);
    // The ring must show the way the walk came and exactly one way on, both as wide as the stroke.
    std::optional<Arc> back, on;
    const std::vector<Arc> arcs = inkArcs(picture, model, guess, radius);
    // The way back is the arc nearest straight back: past a hairpin the way on may be near it too.
    const auto offBack = [&](const Arc &a) {
        return turnBetween(QPointF(std::cos(a.angle), std::sin(a.angle)), -in->way);
    };
    const auto nearest =
        std::min_element(arcs.begin(), arcs.end(), [&](const Arc &a, const Arc &b) { return offBack(a) < offBack(b); });
    for (auto a = arcs.begin(); a != arcs.end(); ++a) {
        if (a->width < 0.4 * width || a->width > 2.5 * width + 3)
            return std::nullopt;
        if (a == nearest && offBack(*a) < 0.6)
            back = *a;
        else if (on)
            return std::nullopt;
        else
            on = *a;
    }
    // Only the way back, as wide as two strokes: the walk came up one flank of a needle, the other beside it. Or the
    // way back and the other flank beside it, nearer to it than a corner turns, where the ring meets the two apart.
    const bool besideTheWayBack = on && offBack(*on) < M_PI - kMostTurn;
    if (back && ((!on && back->width > 1.6 * width + 1) || besideTheWayBack)) {
        std::optional<Corner> top = needleTop(picture, model, centres.back(), in->way, guess, width);
        if (top)
            top->kept = centres.size();
        return top;
    }
    // A way back wider than the stroke is the stroke with something beside it, which runs on past the corner:
    // the frame or an axis that the curve ends on, not a turn of its own.
    if (!back || !on || back->width > 1.6 * width + 1)
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
    // A polyline's corner lies on its stroke, whatever the join. Ways that meet off it, even far off (the top of
    // a narrow peak), come from a stroke that bent round.
    const double off = length(corner.at - guess);
    if (off > kFarthestBend)
        return std::nullopt;
    const bool rounded = roundedAt(picture, model, *in, *out, corner.at, width);
    if (off > radius && !rounded)
        return std::nullopt;
    if (rounded) {
        corner.bend = centresRoundBend(picture, model, *in, *out, corner.at, width, off + radius);
        if (corner.bend.empty())
            return std::nullopt;
    }
    corner.way = out->way;
    corner.start = ahead->centres.front();
    // The centres near the corner, where the other piece's ink moved them, go; round a bend, those it measured
    // again.
    corner.kept = centres.size();
    while (corner.kept > 1) {
        const QPointF c = centres[corner.kept - 1];
        const bool clear = corner.bend.empty() ? QPointF::dotProduct(c - corner.at, in->way) < -(width / 2 + 1.5) &&
                                                     std::abs(cross(in->way, c - in->through)) < 0.6
                                               : QPointF::dotProduct(c - corner.bend.front(), in->way) < -0.5;
        if (clear)
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
