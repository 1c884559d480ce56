#pragma once

#include <QPointF>

#include <vector>

// Points `step` pixels apart along the path through `centres` (in order), from its first centre to its last,
// which is kept too unless it lies within half a step of the point before. Where centres lie far apart (a
// bridged gap or crossing), the path between them follows a cubic curve fitted to the centres on both sides,
// so the points there lie on the curve the gap interrupts; the wider the stroke (`width` pixels), the longer the
// stretch on each side that steers that curve, since its cut ends leave fewer centres beside the gap.
// `pastGap` tells, for each centre, that a gap lies between it and the one before; centres farther apart than a
// dozen pixels are taken for a gap too.
[[nodiscard]] std::vector<QPointF> pointsAlong(const std::vector<QPointF> &centres, const std::vector<bool> &pastGap,
                                               double step, double width);
