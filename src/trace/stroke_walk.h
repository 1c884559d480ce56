#pragma once

#include "trace/colour_match.h"
#include "trace/pixel_view.h"
#include "trace/stroke_start.h"

#include <QPointF>

#include <vector>

struct Walk {
    std::vector<QPointF> centres; // from the start on, the start included
    std::vector<bool> pastGap;    // for each centre: a gap or a crossing lies between it and the one before
    bool closed = false;          // came back round to the start
};

// Follows a stroke of `model`'s colour from `start`, in its `direction`, until it ends, measuring its centre every
// pixel to every few pixels. Gaps of up to 13 pixels along the way (dashes, dots, a label, a curve of another colour
// drawn over it) are bridged, and so are crossings with strokes of the same colour, by going on in the direction and
// bend the stroke had; what lies beyond a gap or a crossing is taken only when it goes on that way.
[[nodiscard]] Walk walkStroke(const PixelView &picture, const InkModel &model, const StrokeStart &start,
                              int fewestPixelsPerCentre = 1, int mostPixelsPerCentre = 3);
