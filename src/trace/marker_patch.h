#pragma once

#include "trace/ink_components.h"
#include "trace/marker_ink.h"
#include "trace/pixel_view.h"

#include <QRect>

#include <vector>

// The pixels of a piece and those next to them (its anti-aliased edge) with their shares, row by row over
// the piece's bounds and one pixel around.
struct Patch {
    QRect area;
    std::vector<float> ink; // 0 outside the piece and its edge

    [[nodiscard]] float at(int x, int y) const
    {
        if (!area.contains(x, y))
            return 0;
        return ink[std::size_t((y - area.top()) * area.width() + (x - area.left()))];
    }
};

[[nodiscard]] Patch patchOf(const PixelView &picture, const MarkerInk &ink, const InkComponent &piece);
