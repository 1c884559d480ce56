#pragma once

#include "trace/colour_match.h"
#include "trace/pixel_view.h"

#include <QPointF>

// The ink at `p`, interpolated between the four pixel centres around it. Faint ink is left out: a pale grid
// line under a stroke holds a little of its colour.
[[nodiscard]] double inkBetweenPixels(const PixelView &picture, const InkModel &model, QPointF p);
