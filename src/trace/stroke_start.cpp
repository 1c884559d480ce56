#include "trace/stroke_start.h"

#include "trace/background.h"
#include "trace/ink_pieces.h"
#include "trace/stroke_centre.h"

#include <QPoint>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// How far around a place its background is looked for.
constexpr int kBackgroundRadius = 24;
// How far round a place its stroke is looked at for the chroma it keeps.
constexpr int kChromaReach = 10;
// How far from the place given a stroke is looked for.
constexpr double kStartReach = 4;

double median(std::vector<double> v)
{
    std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
    return v[v.size() / 2];
}

// Whether the cross-sections on either side of `line`, as far as a cut end of the stroke would spoil them,
// all hold about as much ink as a whole stroke: then `line` does not cross an end, a dot or a dash's cut.
bool solidAround(const PixelView &picture, const InkModel &model, CrossAxis axis, int line, double along, double slope,
                 double mass)
{
    const int reach = int(std::ceil(mass * std::max(std::abs(slope), 0.5) + 1.5));
    for (int k = -reach; k <= reach; ++k) {
        const auto r = nearestRun(picture, model, axis, line + k, along + slope * k, 2.5);
        if (!r || r->mass < 0.8 * mass || r->mass > 1.25 * mass)
            return false;
    }
    return true;
}

// A dot, or a short dash, shows no direction of its own: the curve runs through the pieces beside it, the
// nearest one and the nearest on the other side, when `at` lies on a piece that small. Nothing otherwise.
std::optional<QPointF> wayThroughPieces(const PixelView &picture, const InkModel &model, QPointF at, double width)
{
    constexpr int kReach = 16;
    const QPoint c(int(std::floor(at.x())), int(std::floor(at.y())));
    const std::vector<InkPiece> pieces =
        inkPiecesIn(picture, model, QRect(c.x() - kReach, c.y() - kReach, 2 * kReach + 1, 2 * kReach + 1));
    const InkPiece *own = nullptr;
    double nearestOwn = 2;
    for (const InkPiece &piece : pieces) {
        for (const QPointF &p : piece.pixels) {
            const double d = std::hypot(p.x() - at.x(), p.y() - at.y());
            if (d < nearestOwn) {
                nearestOwn = d;
                own = &piece;
            }
        }
    }
    if (!own)
        return std::nullopt;
    const QPointF middle = own->centroid();
    for (const QPointF &p : own->pixels) {
        if (std::hypot(p.x() - middle.x(), p.y() - middle.y()) > 1.5 * width + 3)
            return std::nullopt; // long enough to tell its own way
    }
    const QPointF *first = nullptr;
    const QPointF *second = nullptr;
    std::vector<QPointF> middles;
    middles.reserve(pieces.size());
    for (const InkPiece &piece : pieces)
        middles.push_back(&piece == own ? middle : piece.centroid());
    const auto distance = [&](QPointF p) { return std::hypot(p.x() - middle.x(), p.y() - middle.y()); };
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (&pieces[i] != own && distance(middles[i]) <= kReach && (!first || distance(middles[i]) < distance(*first)))
            first = &middles[i];
    }
    if (!first)
        return std::nullopt;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const QPointF &m = middles[i];
        if (&pieces[i] != own && distance(m) <= kReach && QPointF::dotProduct(m - middle, *first - middle) < 0 &&
            (!second || distance(m) < distance(*second)))
            second = &m;
    }
    QPointF way = *first - (second ? *second : middle);
    way /= std::hypot(way.x(), way.y());
    return way.x() < 0 || (way.x() == 0 && way.y() < 0) ? -way : way;
}

// Whether the ink around `c` keeps the model's chroma: nearly all of it does on a stroke of that colour, and
// little beyond the crossing where a grey stroke took it from another.
bool keepsChroma(const PixelView &picture, const InkModel &model, QPoint c)
{
    InkModel anyChroma = model;
    anyChroma.chromatic = false;
    int ink = 0, kept = 0;
    for (int y = c.y() - kChromaReach; y <= c.y() + kChromaReach; ++y) {
        for (int x = c.x() - kChromaReach; x <= c.x() + kChromaReach; ++x) {
            if (!picture.contains(x, y) || anyChroma.ink(picture.at(x, y)) < 0.5f)
                continue;
            ++ink;
            kept += model.ink(picture.at(x, y)) > 0;
        }
    }
    return kept >= 0.75 * ink;
}

} // namespace

InkModel inkModelAround(const PixelView &picture, QPointF place, std::uint32_t argb, int tolerance)
{
    const QPoint c(int(std::floor(place.x())), int(std::floor(place.y())));
    const QRect area(c.x() - kBackgroundRadius, c.y() - kBackgroundRadius, 2 * kBackgroundRadius + 1,
                     2 * kBackgroundRadius + 1);
    InkModel model = inkModel(argb, commonestColour(picture, area, 2), tolerance, true);
    if (model.faintlyChromatic && !keepsChroma(picture, model, c))
        model.chromatic = false;
    return model;
}

std::optional<QPointF> nearestInk(const PixelView &picture, const InkModel &model, QPointF near, double reach)
{
    std::optional<QPointF> best;
    double bestDistance = (reach + 0.5) * (reach + 0.5);
    const int r = int(std::ceil(reach + 0.5));
    const QPoint c(int(std::floor(near.x())), int(std::floor(near.y())));
    for (int y = c.y() - r; y <= c.y() + r; ++y) {
        for (int x = c.x() - r; x <= c.x() + r; ++x) {
            if (!picture.contains(x, y))
                continue;
            const QPointF centre(x + 0.5, y + 0.5);
            const QPointF d = centre - near;
            const double d2 = d.x() * d.x() + d.y() * d.y();
            if (d2 < bestDistance && model.ink(picture.at(x, y)) >= kStrokePeak) {
                bestDistance = d2;
                best = centre;
            }
        }
    }
    return best;
}

std::optional<StrokeStart> strokeStartNear(const PixelView &picture, const InkModel &model, QPointF near)
{
    const std::optional<QPointF> ink = nearestInk(picture, model, near, kStartReach);
    if (!ink)
        return std::nullopt;
    near = *ink;
    std::optional<QPointF> direction = inkDirection(picture, model, near, 5);
    if (!direction)
        return std::nullopt;
    StrokeStart start;
    double fullest = 0;
    // The second pass looks again with the width and direction the first found.
    for (int pass = 0; pass < 2; ++pass) {
        const CrossAxis axis = axisAcross(*direction);
        const bool column = axis == CrossAxis::Column;
        const double cosine = std::abs(column ? direction->x() : direction->y());
        const int line = int(std::floor(column ? near.x() : near.y()));
        const std::optional<InkRun> run = nearestRun(picture, model, axis, line, column ? near.y() : near.x(), 4);
        if (!run)
            return std::nullopt;
        // The width is the middle one of a few cross-sections, so that one crossing stroke does not set it.
        std::vector<double> widths{run->mass * cosine};
        double edges = run->edgeMass;
        const double slope = column ? direction->y() / direction->x() : direction->x() / direction->y();
        for (int k : {-3, -2, -1, 1, 2, 3}) {
            if (const auto r = nearestRun(picture, model, axis, line + k, run->centre + slope * k, 2.5)) {
                widths.push_back(r->mass * cosine);
                edges += r->edgeMass;
            }
        }
        // An anti-aliased stroke has two edges to a cross-section, holding about half a pixel each, however
        // wide it is; a hard-edged one next to nothing.
        start.hardEdged = edges < 0.25 * double(widths.size());
        start.at = placeOnLine(axis, line, run->centre);
        start.width = median(widths);
        start.solid = solidAround(picture, model, axis, line, run->centre, slope, start.width / cosine);
        fullest = start.width;
        for (const double w : widths) {
            if (w <= 1.6 * start.width)
                fullest = std::max(fullest, w);
        }
        direction = inkDirection(picture, model, start.at, std::max(5.0, 2.5 * start.width + 2));
        if (!direction)
            return std::nullopt;
        start.direction = *direction;
        near = start.at;
    }
    // On a dot most cross-sections hold only a part of the stroke: the fullest tells its width.
    if (!start.solid) {
        if (const std::optional<QPointF> way = wayThroughPieces(picture, model, start.at, start.width)) {
            start.direction = *way;
            start.width = fullest;
        }
    }
    return start;
}
