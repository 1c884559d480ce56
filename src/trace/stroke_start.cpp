#include "trace/stroke_start.h"

#include "trace/background.h"
#include "trace/stroke_centre.h"

#include <QPoint>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// How far around a place its background is looked for.
constexpr int kBackgroundRadius = 24;
// A pixel holding at least this share of the colour is part of a stroke.
constexpr float kSolid = 0.5f;
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

} // namespace

InkModel inkModelAround(const PixelView &picture, QPointF place, std::uint32_t argb, int tolerance)
{
    const QPoint c(int(std::floor(place.x())), int(std::floor(place.y())));
    const QRect area(c.x() - kBackgroundRadius, c.y() - kBackgroundRadius, 2 * kBackgroundRadius + 1,
                     2 * kBackgroundRadius + 1);
    return inkModel(argb, commonestColour(picture, area, 2), tolerance);
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
            if (d2 < bestDistance && model.ink(picture.at(x, y)) >= kSolid) {
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
        direction = inkDirection(picture, model, start.at, std::max(5.0, 2.5 * start.width + 2));
        if (!direction)
            return std::nullopt;
        start.direction = *direction;
        near = start.at;
    }
    return start;
}
