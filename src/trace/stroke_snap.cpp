#include "trace/stroke_snap.h"

#include "trace/stroke_centre.h"
#include "trace/stroke_start.h"

#include <QPoint>

#include <algorithm>
#include <cmath>

namespace {

// Cross-sections either side of the nearest one, for the centre line through them.
constexpr int kSideSections = 3;

} // namespace

std::optional<QPointF> snapToStroke(const PixelView &picture, QPointF press, std::uint32_t argb, int tolerance,
                                    double reachPx)
{
    const InkModel model = inkModelAround(picture, press, argb, tolerance);
    if (!findsInk(model))
        return std::nullopt;
    const std::optional<QPointF> solid = nearestInk(picture, model, press, reachPx);
    if (!solid)
        return std::nullopt;
    const std::optional<StrokeStart> start = strokeStartNear(picture, model, *solid);
    if (!start)
        return std::nullopt;
    // A straight line through the centres of a few cross-sections around the start, by least squares.
    const CrossAxis axis = axisAcross(start->direction);
    const bool column = axis == CrossAxis::Column;
    const double slope =
        column ? start->direction.y() / start->direction.x() : start->direction.x() / start->direction.y();
    const double major0 = column ? start->at.x() : start->at.y();
    const double minor0 = column ? start->at.y() : start->at.x();
    double n = 0, su = 0, sv = 0, suu = 0, suv = 0;
    for (int k = -kSideSections; k <= kSideSections; ++k) {
        const int line = int(std::floor(major0)) + k;
        const double u = line + 0.5 - major0;
        const auto run = nearestRun(picture, model, axis, line, minor0 + slope * u, 1.5 + 0.5 * start->width);
        if (!run)
            continue;
        const double v = run->centre - minor0;
        n += 1;
        su += u;
        sv += v;
        suu += u * u;
        suv += u * v;
    }
    const double det = n * suu - su * su;
    if (n < 2 || std::abs(det) < 1e-9)
        return start->at;
    const double b = (n * suv - su * sv) / det;
    const double a = (sv - b * su) / n;
    // The foot of the press on that line, kept within the cross-sections it was fitted to.
    const QPointF origin = column ? QPointF(major0, minor0 + a) : QPointF(minor0 + a, major0);
    QPointF along = column ? QPointF(1, b) : QPointF(b, 1);
    along /= std::hypot(along.x(), along.y());
    const double t =
        std::clamp(QPointF::dotProduct(press - origin, along), -double(kSideSections), double(kSideSections));
    return origin + t * along;
}
