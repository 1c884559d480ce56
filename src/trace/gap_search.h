#pragma once

#include "trace/colour_match.h"
#include "trace/pixel_view.h"
#include "trace/walk_heading.h"

#include <QPointF>

#include <optional>

// Where a stroke `width` pixels wide that stops at `end` (a centre on it) going along `heading` goes on past a
// gap: the middle of the beginning of a piece of ink of the colour that does not touch the stroke at `end`,
// begins within `reach` pixels and lies ahead within `widestTurn` radians of the way bent as the heading
// bends. The straightest wins.
[[nodiscard]] std::optional<QPointF> pieceAcrossGap(const PixelView &picture, const InkModel &model, QPointF end,
                                                    const Heading &heading, double width, double reach,
                                                    double widestTurn);
