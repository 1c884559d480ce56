#pragma once

#include "trace/ink_components.h"
#include "trace/marker_ink.h"
#include "trace/marker_look.h"
#include "trace/pixel_view.h"

#include <QPointF>

#include <cstdint>
#include <optional>

// The centre of a marker symmetric through its centre that ink of another colour partly hides, from `start`
// near it: where its ink best matches its mirror image through that centre, neither hidden. A triangle
// (`triangleTipUp` tells which way it points) is mirrored across its upright axis for its x; a filled one's
// y lies half way between its tip and its base. Where its base lies under the other colour, its y is the
// start's, and its tip tells it once the series shows how tall its triangles are.
struct HiddenCentre {
    QPointF centre;
    std::optional<double> tip;    // a filled triangle's, in the picture's y
    std::optional<double> height; // from its tip to its base, where that shows
};
[[nodiscard]] HiddenCentre centreBesideOtherInk(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper,
                                                const InkComponent &piece, QPointF start,
                                                std::optional<bool> triangleTipUp, bool filled);

// What shows of the colour around a marker beside another colour's ink, pixel by pixel, and how much of each pixel
// that ink hides.
struct ShownInk {
    Patch shows;
    Patch hidden;
};
[[nodiscard]] ShownInk shownBesideOtherInk(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper,
                                           const InkComponent &piece);

// The centre of a marker another colour's ink hides in part, from `start` near it: where what shows of it best
// matches the look of its series.
[[nodiscard]] QPointF centreByLook(const ShownInk &marker, QPointF start, const SeriesLook &look);
