#pragma once

#include "trace/colour_match.h"
#include "trace/ink_components.h"
#include "trace/marker_ink.h"
#include "trace/pixel_view.h"

#include <QPointF>

#include <optional>
#include <vector>

// What a piece of ink looks like, from its pixels and the anti-aliased edge around them, each weighed by its
// share of the colour.
struct InkShape {
    double mass = 0;
    QPointF centroid;
    double varianceX = 0, varianceY = 0, covariance = 0;
    double skewY = 0;       // of the distribution down the rows: a triangle's is far from zero
    double elongation = 1;  // the long axis over the short one
    QPointF longAxis{1, 0}; // unit
    bool hollow = false;    // its middle is paper
    int faintExtent = 0;    // the longer side of the bounds of the pixels holding a fifth of the colour or more
};

[[nodiscard]] InkShape inkShape(const PixelView &picture, const MarkerInk &ink, const InkComponent &piece);

// The centre of a marker: the middle of its bounding shape. Shapes symmetric both ways have it at their
// centroid; a triangle (pointing up or down) has it half way between its tip and its base. `seriesTipUp` tells
// that the markers of its series are triangles, for one whose own ink does not show it (a line through it, too few
// pixels); a small one is taken for a triangle only where its series is.
[[nodiscard]] QPointF markerCentre(const PixelView &picture, const MarkerInk &ink, const InkComponent &piece,
                                   const InkShape &shape, std::optional<bool> seriesTipUp = std::nullopt);

// The middle of a symmetric marker that the opening took off a line of its colour: stubs of the line are left
// on it, each widening some of its rows or columns on one side, so the middles of the others give its x and y.
[[nodiscard]] QPointF middleOffLine(const PixelView &picture, const MarkerInk &ink, const InkComponent &piece,
                                    const InkShape &shape);

// Whether a shape's ink is that of a triangle, and which way it points.
[[nodiscard]] std::optional<bool> triangleTipUp(const InkShape &shape);

// A piece split in two across its long axis through its centroid, as two markers that touch would be: the
// centroid of each half, its ink, and the spread of its ink about that centroid (the mean variance of the two
// axes).
struct Halves {
    QPointF centroid[2];
    double mass[2] = {0, 0};
    double spread[2] = {0, 0};
};
[[nodiscard]] Halves halvesOf(const PixelView &picture, const MarkerInk &ink, const InkComponent &piece,
                              const InkShape &shape);
