#include "trace/path_resample.h"

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
// How far on either side of a gap the centres are that a curve across it is fitted to: a dozen pixels, and more
// for a wider stroke, whose cut ends leave no centres over a longer stretch beside each gap.
double fitSpan(double width)
{
    return std::max(12.0, 4 + 6 * width);
}

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

// Solves the 4 x 4 system m x = r by Gaussian elimination with partial pivoting; false when it is singular.
bool solve4(double m[4][4], double r[4], double x[4])
{
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int row = col + 1; row < 4; ++row) {
            if (std::abs(m[row][col]) > std::abs(m[pivot][col]))
                pivot = row;
        }
        if (std::abs(m[pivot][col]) < 1e-9)
            return false;
        std::swap(m[col], m[pivot]);
        std::swap(r[col], r[pivot]);
        for (int row = col + 1; row < 4; ++row) {
            const double f = m[row][col] / m[col][col];
            for (int k = col; k < 4; ++k)
                m[row][k] -= f * m[col][k];
            r[row] -= f * r[col];
        }
    }
    for (int row = 3; row >= 0; --row) {
        double sum = r[row];
        for (int k = row + 1; k < 4; ++k)
            sum -= m[row][k] * x[k];
        x[row] = sum / m[row][row];
    }
    return true;
}

// Across a gap, a cubic fitted by least squares to the centres of a stretch on both sides of it, in the frame of the
// gap's chord: the centres of both sides steer it, so noise on one side bends it little.
bool addFittedCurve(std::vector<QPointF> &dense, const std::vector<QPointF> &c, std::size_t i, double width)
{
    const double span = fitSpan(width);
    const QPointF a = c[i];
    const QPointF b = c[i + 1];
    const double chord = length(b - a);
    const QPointF u = (b - a) / chord;
    const QPointF n(-u.y(), u.x());
    double m[4][4] = {}, r[4] = {};
    int before = 0, after = 0;
    const auto add = [&](QPointF p) {
        const double t = QPointF::dotProduct(p - a, u) / chord;
        const double v = QPointF::dotProduct(p - a, n);
        double powers[4] = {1, t, t * t, t * t * t};
        for (int row = 0; row < 4; ++row) {
            for (int col = 0; col < 4; ++col)
                m[row][col] += powers[row] * powers[col];
            r[row] += powers[row] * v;
        }
    };
    for (std::size_t j = i + 1; j-- > 0 && length(c[j] - a) <= span;) {
        add(c[j]);
        ++before;
    }
    for (std::size_t j = i + 1; j < c.size() && length(c[j] - b) <= span; ++j) {
        add(c[j]);
        ++after;
    }
    double k[4];
    if (before < 3 || after < 3 || !solve4(m, r, k))
        return false;
    const int pieces = int(std::ceil(chord));
    std::vector<QPointF> curve;
    for (int step = 1; step < pieces; ++step) {
        const double t = double(step) / pieces;
        const double v = k[0] + t * (k[1] + t * (k[2] + t * k[3]));
        if (std::abs(v) > chord / 2)
            return false; // not a gentle bridge: the plain curve below does better
        curve.push_back(a + u * (t * chord) + n * v);
    }
    dense.insert(dense.end(), curve.begin(), curve.end());
    return true;
}

void addCurve(std::vector<QPointF> &dense, const std::vector<QPointF> &c, std::size_t i, double width)
{
    if (addFittedCurve(dense, c, i, width))
        return;
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
