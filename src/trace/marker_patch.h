#pragma once

#include "trace/ink_components.h"
#include "trace/marker_ink.h"
#include "trace/pixel_view.h"

#include <QRect>

#include <vector>

// Shares of a pixel, of the colour or of what covers it, over an area of the picture: nought outside it.
struct Patch {
    QRect area;
    std::vector<float> share;

    Patch() = default;
    explicit Patch(QRect over)
        : area(over)
        , share(std::size_t(over.width() * over.height()), 0)
    {}
    [[nodiscard]] std::size_t index(int x, int y) const
    {
        return std::size_t((y - area.top()) * area.width() + (x - area.left()));
    }
    [[nodiscard]] float at(int x, int y) const
    {
        return x >= area.left() && x <= area.right() && y >= area.top() && y <= area.bottom() ? share[index(x, y)] : 0;
    }
    // At a place in the picture, between pixel centres.
    [[nodiscard]] float around(double px, double py) const;
};

// The pixels of a piece and those next to them (its anti-aliased edge) with their shares of the colour, over
// the piece's bounds and one pixel around.
[[nodiscard]] Patch patchOf(const PixelView &picture, const MarkerInk &ink, const InkComponent &piece);
