#pragma once

#include <QPointF>

#include <vector>

// The centres of a hard-edged stroke stand on whole and half pixels, a staircase around its centre line, and the
// middles of a JPEG copy's dots wander off theirs. Each centre is put back on that line by a polynomial of `degree` (1
// or 2) fitted by least squares to the centres within `reach` pixels along the path on both sides of it; a gap of more
// than `joinedWithin` pixels between centres ends the stretch a fit looks at.
[[nodiscard]] std::vector<QPointF> smoothedCentres(const std::vector<QPointF> &centres, double reach, int degree,
                                                   double joinedWithin = 3);
