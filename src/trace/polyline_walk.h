#pragma once

#include "trace/colour_match.h"
#include "trace/pixel_view.h"
#include "trace/stroke_start.h"

#include <QPointF>

#include <vector>

// A walk along a stroke that goes on round the corners of a polyline (a line chart's data joined by straight
// pieces): centres as walkStroke() gives them, and at each corner the corner itself with straight pieces to
// the centres on either side.
struct PolylineWalk {
    std::vector<QPointF> centres; // from the start on, the start included
    std::vector<bool> pastGap;    // as in Walk
    std::vector<bool> fixed;      // the corner and the straight pieces beside it: not measured, to be left as they are
    bool closed = false;
};

[[nodiscard]] PolylineWalk walkPolyline(const PixelView &picture, const InkModel &model, const StrokeStart &start,
                                        int mostPixelsPerCentre);
