#pragma once

#include "trace/colour_match.h"
#include "trace/pixel_view.h"

#include <QPointF>
#include <QRect>

#include <vector>

// The pieces of ink of one colour inside a small part of the picture: pixels holding at least half of the
// colour, joined when they touch at an edge or a corner, each kept as the centres of its pixels.
struct InkPiece {
    std::vector<QPointF> pixels;
    [[nodiscard]] QPointF centroid() const;
    [[nodiscard]] bool holds(QPoint pixel) const;
};

[[nodiscard]] std::vector<InkPiece> inkPiecesIn(const PixelView &picture, const InkModel &model, QRect area);
