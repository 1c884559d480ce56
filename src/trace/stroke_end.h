#pragma once

#include "trace/colour_match.h"
#include "trace/pixel_view.h"

#include <QPointF>

#include <vector>

// Where a stroke `width` pixels wide ends past the last of `centres` (in order along it): the place along its
// way where a cross-section holds half the ink a whole one does, as a cut end of any kind has it. The centres
// past it are dropped and the end is added, so that the end is found alike from whichever side the walk came.
// Left as they are when the ink runs into something wider (an axis) before it thins out, or never does.
void extendToEnd(std::vector<QPointF> &centres, const PixelView &picture, const InkModel &model, double width);
