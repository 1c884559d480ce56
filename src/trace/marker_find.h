#pragma once

#include "trace/line_trace.h"
#include "trace/pixel_view.h"

#include <QPointF>

#include <cstdint>
#include <vector>

// The centres of the markers of colour `argb` in the picture (circles, squares, triangles, diamonds and
// crosses, filled or hollow, 3 to 20 pixels across), one each, in order of increasing x. Lines of the colour,
// a legend's sample line and words written in it are no markers; two markers that touch are two. The markers
// of one series are taken to be alike: pieces of much less or much more ink than the typical one are not.
// `settings.colourTolerance` is used as in line mode.
[[nodiscard]] std::vector<QPointF> findMarkers(const PixelView &picture, std::uint32_t argb,
                                               const TraceSettings &settings);
