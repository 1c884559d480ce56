#pragma once

#include "trace/colour_match.h"
#include "trace/pixel_view.h"

#include <QPointF>

#include <array>
#include <cmath>
#include <optional>

// Where a column or a row of pixels crosses strokes of one colour. For a straight stroke of any slope, the
// ink-weighted centre of the pixels one column holds of it lies on its centre line at the column's centre
// (the stroke and the column meet in a parallelogram), so a column gives the centre of a stroke running
// within 45 degrees of the horizontal and a row that of a steeper one.
enum class CrossAxis { Column, Row };

struct InkRun {
    int first = 0; // pixel indices along the cross-section, inclusive: the pixels holding a good share of ink
    int last = 0;
    double centre = 0; // ink-weighted, in picture pixels along the cross-section
    double mass = 0;   // summed ink: the length of the cross-section inside the stroke, in pixels
    float peak = 0;
    double edgeMass = 0; // the part of `mass` in pixels only partly covered: none on a hard-edged stroke
    bool open = false;   // the ink went on to the limit of the search: an axis, a frame, a filled area
    int solidFirst = 0;  // the first and last pixels holding a good share (the run may go on through fair ones)
    int solidLast = 0;
};

struct CrossSection {
    static constexpr int kMostRuns = 8;
    std::array<InkRun, kMostRuns> runs{};
    int count = 0;
};

// A pixel holding at least this share belongs to a run; the one pixel beyond either end of a run still adds
// its smaller share to the centre, so thin anti-aliased edges keep their weight.
inline constexpr float kRunInk = 0.45f;
// A run is taken for a stroke only when some pixel of it holds this much.
inline constexpr float kStrokePeak = 0.55f;

// The runs on `line` (a column's x or a row's y) between pixel indices `from` and `to` inclusive (clipped to
// the picture); a run reaching either end is followed up to `extendBy` pixels further, and is `open` when it
// still goes on there.
[[nodiscard]] CrossSection inkRuns(const PixelView &picture, const InkModel &model, CrossAxis axis, int line, int from,
                                   int to, int extendBy);

// The run of a stroke nearest `along` on `line`, within `reach` of it, or nothing.
[[nodiscard]] std::optional<InkRun> nearestRun(const PixelView &picture, const InkModel &model, CrossAxis axis,
                                               int line, double along, double reach);

[[nodiscard]] inline CrossAxis axisAcross(QPointF direction)
{
    return std::abs(direction.x()) >= std::abs(direction.y()) ? CrossAxis::Column : CrossAxis::Row;
}

// The place of `along` (picture pixels along the cross-section) on `line`.
[[nodiscard]] QPointF placeOnLine(CrossAxis axis, int line, double along);

// The direction of the strokes around `centre`: the long axis of the ink within `radius`, as a unit vector
// (x >= 0), or nothing when there is too little ink there.
[[nodiscard]] std::optional<QPointF> inkDirection(const PixelView &picture, const InkModel &model, QPointF centre,
                                                  double radius);
