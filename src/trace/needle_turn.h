#pragma once

#include "trace/colour_match.h"
#include "trace/corner_turn.h"
#include "trace/pixel_view.h"

#include <QPointF>

#include <optional>

// The top of a needle: a stroke `width` pixels wide that the walk followed up along `way` to `last` turns back
// down beside itself, so close that the two flanks run together into one piece of ink below `tip` (where the
// walk's way ends in ink). Each flank's centre lies half a stroke in from the needle's free edge on its side, and
// the top half a stroke below the cap: the bend holds those centres over the top, from the walk's flank to the
// other one, and the way on starts down the other flank where the walk lost its own. Nothing where the ink
// across the needle is not two strokes side by side.
[[nodiscard]] std::optional<Corner> needleTop(const PixelView &picture, const InkModel &model, QPointF last,
                                              QPointF way, QPointF tip, double width);
