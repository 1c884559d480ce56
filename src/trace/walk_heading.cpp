#include "trace/walk_heading.h"

#include "trace/vector_length.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMostTurn = 0.2; // radians a pixel

// Sine and cosine; by their series for the small angles a walk turns by between two looks.
void sineCosine(double angle, double &s, double &c)
{
    if (std::abs(angle) < 0.1) {
        const double a2 = angle * angle;
        s = angle * (1 - a2 / 6 * (1 - a2 / 20));
        c = 1 - a2 / 2 * (1 - a2 / 12);
        return;
    }
    s = std::sin(angle);
    c = std::cos(angle);
}

QPointF rotated(QPointF v, double angle)
{
    double s, c;
    sineCosine(angle, s, c);
    return {v.x() * c - v.y() * s, v.x() * s + v.y() * c};
}

} // namespace

Heading headingAt(const std::vector<QPointF> &centres, QPointF fallback, double span, double turnHint, bool bend)
{
    const QPointF last = centres.back();
    std::size_t first = centres.size() - 1;
    while (first > 0 && length(last - centres[first]) < span)
        --first;
    const QPointF chord = last - centres[first];
    const double chordLength = length(chord);
    if (chordLength < 2)
        return {fallback, 0};
    const QPointF u = chord / chordLength;
    const QPointF n(-u.y(), u.x());
    // v = a + b t + c t^2 by least squares, t along the chord from the last centre.
    double s[5] = {0, 0, 0, 0, 0}, r[3] = {0, 0, 0};
    for (std::size_t i = first; i < centres.size(); ++i) {
        const QPointF d = centres[i] - last;
        const double t = QPointF::dotProduct(d, u);
        const double v = QPointF::dotProduct(d, n);
        double tp = 1;
        for (int k = 0; k < 5; ++k) {
            s[k] += tp;
            if (k < 3)
                r[k] += tp * v;
            tp *= t;
        }
    }
    const std::size_t count = centres.size() - first;
    double b = 0, c = 0;
    bool linear = false;
    // A bend is believed only from enough centres over most of the span; noise in a few would make one up.
    if (bend && count >= 4 && chordLength >= 0.6 * span) {
        // Normal equations of the parabola, solved by Cramer's rule.
        const double m[3][3] = {{s[0], s[1], s[2]}, {s[1], s[2], s[3]}, {s[2], s[3], s[4]}};
        const auto det3 = [](const double a[3][3]) {
            return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
                   a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
                   a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
        };
        const double det = det3(m);
        if (std::abs(det) > 1e-9) {
            double mb[3][3], mc[3][3];
            for (int i = 0; i < 3; ++i) {
                for (int j = 0; j < 3; ++j) {
                    mb[i][j] = j == 1 ? r[i] : m[i][j];
                    mc[i][j] = j == 2 ? r[i] : m[i][j];
                }
            }
            b = det3(mb) / det;
            c = det3(mc) / det;
        }
    } else if (count >= 2) {
        const double det = s[0] * s[2] - s[1] * s[1];
        if (std::abs(det) > 1e-9)
            b = (s[0] * r[1] - s[1] * r[0]) / det;
        linear = true;
    }
    QPointF tangent = u + b * n;
    tangent /= length(tangent);
    // A straight line through a bending stretch runs as the curve does half way along it.
    if (linear)
        tangent = rotated(tangent, turnHint * chordLength / 2);
    // Over a short stretch the way it began with is the better guess.
    if (chordLength < span && !fallback.isNull()) {
        const double trust = chordLength / span;
        tangent = trust * tangent + (1 - trust) * fallback;
        tangent /= length(tangent);
    }
    const double turn = std::clamp(2 * c / ((1 + b * b) * std::sqrt(1 + b * b)), -kMostTurn, kMostTurn);
    return {tangent, turn};
}

QPointF onArc(QPointF from, const Heading &h, double arc)
{
    const double angle = h.turn * arc;
    if (std::abs(angle) < 1e-6)
        return from + h.tangent * arc;
    const QPointF normal(-h.tangent.y(), h.tangent.x());
    double s, c;
    sineCosine(angle, s, c);
    return from + h.tangent * (s / h.turn) + normal * ((1 - c) / h.turn);
}

QPointF tangentOnArc(const Heading &h, double arc)
{
    return rotated(h.tangent, h.turn * arc);
}
