#pragma once

#include "trace/pixel_view.h"

#include <QPointF>

#include <cstdint>
#include <optional>

// The place on the centre line of the stroke of colour `argb` nearest `press`, when some pixel of such a
// stroke lies within `reachPx` of it; nothing otherwise.
[[nodiscard]] std::optional<QPointF> snapToStroke(const PixelView &picture, QPointF press, std::uint32_t argb,
                                                  int tolerance, double reachPx = 6);
