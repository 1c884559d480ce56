#include "trace/path_resample.h"

#include "trace/gap_bridge.h"
#include "trace/vector_length.h"
#include "trace/walk_heading.h"

#include <algorithm>
#include <cmath>

namespace {

// Farther apart than this, two centres are joined by a curve rather than a straight piece: the walk measures
// a centre every few pixels, farther apart only where the way runs straight.
constexpr double kStraightJoin = 12;
// How far along the path its direction is taken at either side of a gap.
constexpr double kDirectionSpan = 10;

// The direction of the path at centre `i` from the centres on one side of it (`towards` -1 or +1), pointing
// along the path, from a parabola through those of the last few pixels there, gaps or not.
QPointF sideDirection(const std::vector<QPointF> &c, std::size_t i, int towards)
{
    std::vector<QPointF> side;
    for (std::size_t j = i;; j = towards < 0 ? j - 1 : j + 1) {
        side.push_back(c[j]);
        if (length(c[j] - c[i]) >= kDirectionSpan || (towards < 0 ? j == 0 : j + 1 == c.size()))
            break;
    }
    std::reverse(side.begin(), side.end()); // walked towards centre i
    const QPointF tangent = headingAt(side, QPointF(), kDirectionSpan).tangent;
    return towards < 0 ? tangent : -tangent;
}

// The curve across the gap after centre `i`: one fitted to both sides, or else the cubic with the ends' directions.
void addCurve(std::vector<QPointF> &dense, const std::vector<QPointF> &c, std::size_t i, double width)
{
    if (const std::optional<std::vector<QPointF>> bridge = fittedBridge(c, i, width)) {
        dense.insert(dense.end(), bridge->begin(), bridge->end());
        return;
    }
    const QPointF a = c[i];
    const QPointF b = c[i + 1];
    const double chord = length(b - a);
    QPointF ta = sideDirection(c, i, -1);
    QPointF tb = sideDirection(c, i + 1, +1);
    if (ta.isNull())
        ta = (b - a) / chord;
    if (tb.isNull())
        tb = (b - a) / chord;
    ta *= chord;
    tb *= chord;
    const int pieces = int(std::ceil(chord));
    for (int k = 1; k < pieces; ++k) {
        const double t = double(k) / pieces;
        const double t2 = t * t;
        const double t3 = t2 * t;
        dense.push_back((2 * t3 - 3 * t2 + 1) * a + (t3 - 2 * t2 + t) * ta + (-2 * t3 + 3 * t2) * b + (t3 - t2) * tb);
    }
}

} // namespace

std::vector<QPointF> pointsAlong(const std::vector<QPointF> &centres, const std::vector<bool> &pastGap, double step,
                                 double width)
{
    std::vector<QPointF> out;
    if (centres.empty())
        return out;
    std::vector<QPointF> dense{centres.front()};
    for (std::size_t i = 0; i + 1 < centres.size(); ++i) {
        if (pastGap[i + 1] || length(centres[i + 1] - centres[i]) > kStraightJoin)
            addCurve(dense, centres, i, width);
        dense.push_back(centres[i + 1]);
    }
    out.push_back(dense.front());
    double sinceLast = 0;
    for (std::size_t i = 0; i + 1 < dense.size(); ++i) {
        const QPointF a = dense[i];
        const QPointF b = dense[i + 1];
        const double piece = length(b - a);
        double at = step - sinceLast; // along this piece, where the next point falls
        while (at <= piece) {
            out.push_back(a + (b - a) * (at / piece));
            at += step;
        }
        sinceLast = piece - (at - step);
    }
    if (sinceLast > step / 2)
        out.push_back(dense.back());
    return out;
}
