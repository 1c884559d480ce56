#pragma once

#include <QRect>

#include <vector>

// Every repaint has a fixed cost, about that of painting tens of thousands of pixels: the strips a moving
// cross-hair leaves and takes are worth joining when they lie close together, and not when the join would
// cover the chart between them.
inline constexpr qint64 kRepaintCostInPixels = 40'000;

// Joins rectangles, closest pairs first, while a join adds no more than `wasteLimit` pixels that neither
// covered. Empty rectangles are dropped. Every pixel of the input is covered by the result.
[[nodiscard]] std::vector<QRect> joinCloseRects(std::vector<QRect> rects, qint64 wasteLimit = kRepaintCostInPixels);
