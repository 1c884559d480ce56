#pragma once

#include "trace/ink_components.h"
#include "trace/marker_ink.h"
#include "trace/pixel_view.h"

#include <QPointF>

#include <vector>

// The middles of crosses and pluses in `piece` whose arms are too thin for the opening to leave anything of them:
// on a line of their colour, which runs through their middles, or touching one another. Where the arms meet the
// line, a ring around leaves the ink four ways or more, as nowhere along a line, round its bends or at its ends;
// each such place gives the point the edges of the straight arms and line around it all point at.
[[nodiscard]] std::vector<QPointF> thinCrossMiddles(const PixelView &picture, const MarkerInk &ink,
                                                    const InkComponent &piece);
