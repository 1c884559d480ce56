#pragma once

#include "trace/ink_components.h"
#include "trace/marker_ink.h"
#include "trace/pixel_view.h"

#include <QPointF>

#include <cstdint>
#include <optional>

// The centre of a marker symmetric through its centre that ink of another colour partly hides, from `start`
// near it: where its ink best matches its mirror image through that centre, neither hidden. A triangle
// (`triangleTipUp` tells which way it points) is mirrored across its upright axis for its x; a filled one's
// y lies half way between its tip and its base, where those show.
[[nodiscard]] QPointF centreBesideOtherInk(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper,
                                           const InkComponent &piece, QPointF start, std::optional<bool> triangleTipUp,
                                           bool filled);
