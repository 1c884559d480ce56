#include "trace/path_resample.h"

#include <cmath>

namespace {

// Farther apart than this, two centres are joined by a curve rather than a straight piece.
constexpr double kStraightJoin = 3;
// How far along the path its direction is taken at either side of a gap.
constexpr double kDirectionSpan = 5;

double length(QPointF v)
{
    return std::hypot(v.x(), v.y());
}

// The direction of the path at centre `i` from the centres on one side of it (`towards` -1 or +1).
QPointF sideDirection(const std::vector<QPointF> &c, std::size_t i, int towards)
{
    std::size_t j = i;
    while (true) {
        const bool more = towards < 0 ? j > 0 : j + 1 < c.size();
        if (!more)
            break;
        const std::size_t next = towards < 0 ? j - 1 : j + 1;
        if (length(c[next] - c[j]) > kStraightJoin)
            break; // another gap: this side is too short
        j = next;
        if (length(c[j] - c[i]) >= kDirectionSpan)
            break;
    }
    const QPointF d = towards < 0 ? c[i] - c[j] : c[j] - c[i];
    const double l = length(d);
    return l > 0.5 ? d / l : QPointF();
}

void addCurve(std::vector<QPointF> &dense, const std::vector<QPointF> &c, std::size_t i)
{
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

std::vector<QPointF> pointsAlong(const std::vector<QPointF> &centres, double step)
{
    std::vector<QPointF> out;
    if (centres.empty())
        return out;
    std::vector<QPointF> dense{centres.front()};
    for (std::size_t i = 0; i + 1 < centres.size(); ++i) {
        if (length(centres[i + 1] - centres[i]) > kStraightJoin)
            addCurve(dense, centres, i);
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
