#include "trace/centre_smoothing.h"

#include "trace/vector_length.h"

#include <algorithm>
#include <cmath>

namespace {

// The value at 0 of the polynomial of `degree` through (t[k], v[k]) by least squares.
QPointF fittedAtZero(const std::vector<double> &t, const std::vector<QPointF> &v, int degree)
{
    double s[5] = {0, 0, 0, 0, 0};
    QPointF r[3];
    for (std::size_t k = 0; k < t.size(); ++k) {
        double tp = 1;
        for (int p = 0; p <= 2 * degree; ++p) {
            s[p] += tp;
            if (p <= degree)
                r[p] += tp * v[k];
            tp *= t[k];
        }
    }
    if (degree == 1) {
        const double det = s[0] * s[2] - s[1] * s[1];
        return std::abs(det) < 1e-12 ? r[0] / s[0] : (s[2] * r[0] - s[1] * r[1]) / det;
    }
    // Cramer's rule on the 3 x 3 normal equations, for the constant term only.
    const double det =
        s[0] * (s[2] * s[4] - s[3] * s[3]) - s[1] * (s[1] * s[4] - s[3] * s[2]) + s[2] * (s[1] * s[3] - s[2] * s[2]);
    if (std::abs(det) < 1e-12)
        return r[0] / s[0];
    const QPointF num =
        r[0] * (s[2] * s[4] - s[3] * s[3]) - s[1] * (r[1] * s[4] - s[3] * r[2]) + s[2] * (r[1] * s[3] - s[2] * r[2]);
    return num / det;
}

} // namespace

std::vector<QPointF> smoothedCentres(const std::vector<QPointF> &centres, double reach, int degree, double joinedWithin)
{
    const std::size_t n = centres.size();
    std::vector<double> arc(n, 0);
    for (std::size_t i = 1; i < n; ++i)
        arc[i] = arc[i - 1] + length(centres[i] - centres[i - 1]);
    const auto joined = [&](std::size_t i) { return length(centres[i + 1] - centres[i]) <= joinedWithin; };
    std::vector<QPointF> out(centres);
    std::vector<double> t;
    std::vector<QPointF> v;
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t lo = i;
        std::size_t hi = i;
        while (lo > 0 && joined(lo - 1) && arc[i] - arc[lo - 1] <= reach)
            --lo;
        while (hi + 1 < n && joined(hi) && arc[hi + 1] - arc[i] <= reach)
            ++hi;
        // As far on both sides, so that the fit leans neither way along the path.
        const double side = std::min(arc[i] - arc[lo], arc[hi] - arc[i]) + 1e-9;
        t.clear();
        v.clear();
        for (std::size_t j = lo; j <= hi; ++j) {
            if (std::abs(arc[j] - arc[i]) <= side) {
                t.push_back(arc[j] - arc[i]);
                v.push_back(centres[j]);
            }
        }
        if (int(t.size()) > degree + 1)
            out[i] = fittedAtZero(t, v, degree);
    }
    return out;
}
