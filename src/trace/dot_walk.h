#pragma once

#include "trace/colour_match.h"
#include "trace/pixel_view.h"

#include <QPointF>

#include <vector>

// A dotted curve: dots too short to show the way the curve goes are followed from dot to dot, each taken at
// its ink-weighted middle. The centres of the dots of the curve through the dot at `at` (a pixel of it
// within two pixels), in order from one end to the other, going first along `direction`; empty when `at`
// is on no dot of a stroke `width` pixels wide.
[[nodiscard]] std::vector<QPointF> dotCentres(const PixelView &picture, const InkModel &model, QPointF at,
                                              QPointF direction, double width);

// The path through dot centres as a smooth curve, in pieces of about a pixel.
[[nodiscard]] std::vector<QPointF> curveThroughDots(const std::vector<QPointF> &dots);
