#pragma once

#include "trace/pixel_view.h"

#include <QPointF>

#include <cstdint>
#include <optional>

// What a press on a curve picks: the colour at the core of the stroke nearest the press (not the pale
// anti-aliased edge a hand usually hits) and a place on that stroke's centre line to start tracing from.
struct PickedStroke {
    std::uint32_t argb = 0;
    QPointF start;
};

// The stroke nearest `press` within `radius` pixels whose colour differs from the background there, or
// nothing when the press is on bare background.
[[nodiscard]] std::optional<PickedStroke> pickStroke(const PixelView &picture, QPointF press, double radius = 5);
