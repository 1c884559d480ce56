#pragma once

#include <QPointF>

#include <cmath>

// The length of a step or a direction, in pixels.
[[nodiscard]] inline double length(QPointF v)
{
    return std::sqrt(v.x() * v.x() + v.y() * v.y());
}
