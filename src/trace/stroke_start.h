#pragma once

#include "trace/colour_match.h"
#include "trace/pixel_view.h"

#include <QPointF>

#include <cstdint>
#include <optional>

// The ink model for `argb` against the background around `place`, which tells greys apart where the colour's
// chroma is clearly more than noise, or a little more and the ink around `place` keeps it.
[[nodiscard]] InkModel inkModelAround(const PixelView &picture, QPointF place, std::uint32_t argb, int tolerance);

// The centre of the pixel nearest `near` within `reach` that holds as much of the model's colour as the peak of
// a stroke's cross-section must: one holding just half of it, at the edge of a dot, would start no stroke.
[[nodiscard]] std::optional<QPointF> nearestInk(const PixelView &picture, const InkModel &model, QPointF near,
                                                double reach);

// Where a stroke runs through or next to `near` (within four pixels across it): a centre on it, its direction
// and its width across, or nothing when no stroke of the model's colour is there.
struct StrokeStart {
    QPointF at;
    QPointF direction; // unit, x >= 0
    double width = 1;
    bool hardEdged = false; // drawn without anti-aliasing: its centres are whole or half pixels
    bool solid = false;     // the stroke runs on either side whole, so `at` is on its centre line
};
[[nodiscard]] std::optional<StrokeStart> strokeStartNear(const PixelView &picture, const InkModel &model, QPointF near);
