#pragma once

#include "trace/colour_match.h"
#include "trace/pixel_view.h"

#include <QPointF>

#include <optional>
#include <vector>

// A polyline's corner past the end of a walk: the corner itself, the stroke's centre line on the way on, and
// how many of the walk's centres to keep (those before it that the corner's ink left alone).
struct Corner {
    QPointF at;
    QPointF way;   // unit, from the corner along the next straight piece
    QPointF start; // a centre on that piece, clear of the corner
    std::size_t kept = 0;
    // Where the two ways meet off the stroke's ink, it bent round tightly rather than turned at a point (the
    // trough of a steep wave, a sharp peak): its centres measured round the bend, from the way it came to the
    // way on. Empty at a corner.
    std::vector<QPointF> bend;
};

// Where the stroke `width` pixels wide that the walk through `centres` (in order) lost at their end goes on
// round a corner: the ink around the place the stroke's straight end points to holds the way it came and one
// more piece of the stroke's width, straight and in another direction. Nothing where the stroke ends, runs into
// something (an axis, a crossing, text) or meets more than one way on. Where the two straight ways meet off the
// stroke's centre line, it bent round, and `bend` holds its centres round the bend.
[[nodiscard]] std::optional<Corner> cornerAfter(const PixelView &picture, const InkModel &model,
                                                const std::vector<QPointF> &centres, double width);

// The corner more exactly, once the walk has gone on past it: where lines fitted to the centres of the
// straight pieces on either side meet (`before` in order up to the corner, `after` from it), those nearer the
// corner than the stroke's width and a half left out; `corner` where they are too few or too nearly parallel.
[[nodiscard]] QPointF cornerBetween(const std::vector<QPointF> &before, const std::vector<QPointF> &after,
                                    QPointF corner, double width);
