#pragma once

#include <QPointF>

#include <vector>

// The order traced points are recorded in: markers by increasing x (as found), a curve from its left end along
// its length, which for a curve that is a function of x is again by increasing x.
[[nodiscard]] std::vector<QPointF> recordingOrder(std::vector<QPointF> points, bool markers);
