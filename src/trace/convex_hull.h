#pragma once

#include <QPoint>

#include <vector>

// The corners of the smallest convex polygon holding `points`, in order round it, without points on its sides.
[[nodiscard]] std::vector<QPoint> convexHull(std::vector<QPoint> points);

// Whether `p` lies within the polygon `convexHull` gave, or on its boundary; nothing lies within fewer than
// three corners.
[[nodiscard]] bool insideHull(const std::vector<QPoint> &hull, QPoint p);
