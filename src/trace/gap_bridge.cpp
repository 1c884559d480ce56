#include "trace/gap_bridge.h"

#include "trace/vector_length.h"

#include <algorithm>
#include <cmath>

namespace {

// How far on either side of a gap the centres are that a curve across it is fitted to: a dozen pixels, and more
// for a wider stroke, whose cut ends leave no centres over a longer stretch beside each gap.
double fitSpan(double width)
{
    return std::max(12.0, 4 + 6 * width);
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

// Fewer centres than this on a side steer no curve.
constexpr int kFewestOnASide = 3;

// The centres a curve across a gap is fitted to, each with its distance along the path from the centre before
// the gap (the gap taken as its chord), and how many lie on each side.
struct GapSides {
    std::vector<QPointF> at;
    std::vector<double> along;
    int before = 0;
    int after = 0;
};

// Those of `span` pixels on either side of the gap after centre `i`, or of twice that on a side with too few
// there (a short dash, whose cut ends give no centres).
GapSides gapSides(const std::vector<QPointF> &c, std::size_t i, double span)
{
    GapSides sides;
    double along = 0;
    const auto within = [span](QPointF p, QPointF end, int taken) {
        return length(p - end) <= (taken < kFewestOnASide ? 2 * span : span);
    };
    for (std::size_t j = i + 1; j-- > 0 && within(c[j], c[i], sides.before);) {
        sides.at.push_back(c[j]);
        sides.along.push_back(-along);
        ++sides.before;
        if (j > 0)
            along += length(c[j] - c[j - 1]);
    }
    along = length(c[i + 1] - c[i]);
    for (std::size_t j = i + 1; j < c.size() && within(c[j], c[i + 1], sides.after); ++j) {
        sides.at.push_back(c[j]);
        sides.along.push_back(along);
        ++sides.after;
        if (j + 1 < c.size())
            along += length(c[j + 1] - c[j]);
    }
    return sides;
}

// A cubic across a gap, its points a pixel apart, and the root mean square of its distances from the centres it
// was fitted to.
struct Bridge {
    std::vector<QPointF> curve;
    double misfit = 0;
};

// Least squares of a cubic through (x, y); false when the x are too few or too alike.
bool fitCubic(const std::vector<double> &x, const std::vector<double> &y, double k[4])
{
    double m[4][4] = {}, r[4] = {};
    for (std::size_t j = 0; j < x.size(); ++j) {
        const double powers[4] = {1, x[j], x[j] * x[j], x[j] * x[j] * x[j]};
        for (int row = 0; row < 4; ++row) {
            for (int col = 0; col < 4; ++col)
                m[row][col] += powers[row] * powers[col];
            r[row] += powers[row] * y[j];
        }
    }
    return solve4(m, r, k);
}

double cubicAt(const double k[4], double x)
{
    return k[0] + x * (k[1] + x * (k[2] + x * k[3]));
}

// In the frame of the gap's chord, the offset from it as a cubic of a parameter `q` of each centre (0 at the
// centre before the gap, 1 at the one after it) and, with `alongToo`, the way along the chord as well; plain, q
// is the way along, so only the offset is fitted.
std::optional<Bridge> cubicBridge(const GapSides &sides, QPointF a, QPointF b, const std::vector<double> &q,
                                  bool alongToo)
{
    const double chord = length(b - a);
    const QPointF u = (b - a) / chord;
    const QPointF n(-u.y(), u.x());
    std::vector<double> t, v;
    for (const QPointF &p : sides.at) {
        t.push_back(QPointF::dotProduct(p - a, u) / chord);
        v.push_back(QPointF::dotProduct(p - a, n));
    }
    double kt[4] = {0, 1, 0, 0}, kv[4];
    if ((alongToo && !fitCubic(q, t, kt)) || !fitCubic(q, v, kv))
        return std::nullopt;
    Bridge bridge;
    for (std::size_t j = 0; j < q.size(); ++j) {
        const double along = (t[j] - cubicAt(kt, q[j])) * chord;
        const double off = v[j] - cubicAt(kv, q[j]);
        bridge.misfit += along * along + off * off;
    }
    bridge.misfit = std::sqrt(bridge.misfit / double(q.size()));
    const int pieces = int(std::ceil(chord));
    for (int step = 1; step < pieces; ++step) {
        const double at = double(step) / pieces;
        const double offset = cubicAt(kv, at);
        if (std::abs(offset) > chord / 2)
            return std::nullopt; // not a gentle bridge
        bridge.curve.push_back(a + u * (cubicAt(kt, at) * chord) + n * offset);
    }
    return bridge;
}

} // namespace

std::optional<std::vector<QPointF>> fittedBridge(const std::vector<QPointF> &centres, std::size_t i, double width)
{
    const GapSides sides = gapSides(centres, i, fitSpan(width));
    if (sides.before < kFewestOnASide || sides.after < kFewestOnASide)
        return std::nullopt;
    // The offset as a cubic of the way along the chord, or both coordinates as cubics of the distance along the
    // path, whichever fits the centres better: on a straight run they do alike, round a bend that turns the path
    // through a right angle about the gap only the second follows it.
    const QPointF a = centres[i];
    const QPointF b = centres[i + 1];
    std::vector<double> way, path;
    for (std::size_t j = 0; j < sides.at.size(); ++j) {
        way.push_back(QPointF::dotProduct(sides.at[j] - a, b - a) / (length(b - a) * length(b - a)));
        path.push_back(sides.along[j] / length(b - a));
    }
    std::optional<Bridge> best = cubicBridge(sides, a, b, way, false);
    std::optional<Bridge> bent = cubicBridge(sides, a, b, path, true);
    if (bent && (!best || bent->misfit < best->misfit))
        best = std::move(bent);
    if (!best)
        return std::nullopt;
    return std::move(best->curve);
}
