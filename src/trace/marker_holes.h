#pragma once

#include "trace/ink_components.h"
#include "trace/marker_ink.h"
#include "trace/pixel_view.h"

#include <QPointF>
#include <QRect>

#include <vector>

// Outlined markers on a line of their own colour make one piece of ink with it, and their outlines are as thin
// as the line: what tells them is the paper they close in. A line through a marker's middle cuts that paper in
// two halves, which are taken together.
struct Hole {
    QRect bounds;    // of the paper closed in, halves together
    QPointF centre;  // about which that paper, less the line through it, is the same turned half way round
    double area = 0; // of that paper, each pixel weighed by how little of the colour it holds
    // Of its width down its rows: nought for circles, squares and diamonds, ±0.57 for a triangle's inside,
    // which widens steadily from its tip (a line leaving through its sides moves it some way).
    double skew = 0;
    std::vector<QPoint> pixels; // while it is being found
    std::vector<double> parts;  // the areas of the pieces of paper taken together, while it is being found
};

// The holes of `piece` no more than `largest` pixels across and of a marker's shape: about as wide as high, and
// no scrap of a pixel or two (a speck of noise in a thick line). Their centres are those of shapes the same
// turned half way round (circles, squares, diamonds), not a triangle's.
[[nodiscard]] std::vector<Hole> markerHoles(const PixelView &picture, const MarkerInk &ink, const InkComponent &piece,
                                            int largest);
