#pragma once

#include "trace/pixel_view.h"

#include <QRect>

#include <cstdint>

// The commonest colour among the pixels of `area` (clipped to the picture), read on a grid `spacing` pixels
// apart, with nearly equal colours counted as one: on a chart, the paper behind the strokes. The mean of the
// pixels in that commonest group is returned, so scanner grain and JPEG noise average out.
[[nodiscard]] std::uint32_t commonestColour(const PixelView &picture, QRect area, int spacing = 1);
