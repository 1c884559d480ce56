#pragma once

#include <QPointF>

#include <optional>
#include <vector>

// The points a pixel apart on a curve across the gap between centres `i` and `i + 1` of a path (a dash's gap, a
// crossing, a label over the curve), fitted by least squares to the centres on both sides of it: the centres of
// both sides steer it, so noise on one side bends it little. The wider the stroke (`width` pixels), the longer
// the stretch on each side that steers it, since its cut ends leave fewer centres beside the gap. Nothing when
// either side has too few centres or no gentle curve fits them.
[[nodiscard]] std::optional<std::vector<QPointF>> fittedBridge(const std::vector<QPointF> &centres, std::size_t i,
                                                               double width);
