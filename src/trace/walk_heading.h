#pragma once

#include <QPointF>

#include <vector>

// The way a walk along a stroke goes at its last centre.
struct Heading {
    QPointF tangent; // unit, the way the walk goes
    double turn = 0; // radians a pixel, positive from +x towards +y
};

// The tangent and bend at the last of `centres` (in the order walked), from a parabola fitted to those of the
// last `span` pixels in the frame of their chord; `fallback` while they stretch over too few pixels, and the
// bend only where they are enough and far enough apart for noise not to make one up. Where they are too few
// for a parabola, or where `bend` is false, a straight line, turned by `turnHint` (radians a pixel) over half
// its length: noise in a few centres moves it less than it moves a parabola's end.
[[nodiscard]] Heading headingAt(const std::vector<QPointF> &centres, QPointF fallback, double span, double turnHint = 0,
                                bool bend = true);

// The place `arc` pixels along the circular arc leaving `from` with `h`, and the tangent there.
[[nodiscard]] QPointF onArc(QPointF from, const Heading &h, double arc);
[[nodiscard]] QPointF tangentOnArc(const Heading &h, double arc);
