#pragma once

#include "trace/pixel_view.h"

#include <QPointF>

#include <cstdint>
#include <vector>

// src/trace/line_trace.h: results in picture pixels, sub-pixel, pixel centres at x + 0.5.
struct TraceSettings {
    int colourTolerance = 40; // 0..255, a distance as colour_match.h measures it
    double stepPx = 10;       // 1..200: distance between recorded points, along the curve
};

// The curve of colour `argb` through `start`, followed both ways to its ends: points on its centre line,
// `stepPx` apart along it, in order from one end to the other. Empty when no stroke of the colour runs
// within four pixels of `start`.
[[nodiscard]] std::vector<QPointF> traceLine(const PixelView &picture, QPointF start, std::uint32_t argb,
                                             const TraceSettings &settings);
