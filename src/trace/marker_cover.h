#pragma once

#include "trace/ink_components.h"
#include "trace/marker_ink.h"
#include "trace/pixel_view.h"

#include <QPointF>

#include <cstdint>
#include <vector>

// Ink of another colour drawn over markers: another series' line across them, an axis one touches.

// Dark ink of another colour than the markers', on the paper: letters, frames, other series.
[[nodiscard]] bool otherInk(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper, int x, int y);

// Whether paper shows at or next to the pixel at `at`: neither the colour nor another colour's ink.
[[nodiscard]] bool paperNear(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper, QPointF at);

// Joins the pieces that ink of another colour parts, where that ink alone lies between them and they are no
// larger together than `largest` pixels each way: the halves of a marker another series' line crosses.
[[nodiscard]] std::vector<InkComponent> joinedAcrossOtherInk(std::vector<InkComponent> pieces, const PixelView &picture,
                                                             const MarkerInk &ink, std::uint32_t paper, int largest);

// Ink that covers a marker where it lies over it: of another colour, and far from the marker's, where a near
// colour's marker beside the markers holds some of the colour itself.
class CoverInk {
public:
    CoverInk(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper);
    [[nodiscard]] bool at(int x, int y) const;

private:
    const PixelView &picture_;
    const MarkerInk &ink_;
    std::uint32_t paper_;
    std::uint32_t colour_;
};

// Whether such ink lies on the piece or within two pixels of its bounds.
[[nodiscard]] bool touchesCover(const CoverInk &cover, const InkComponent &piece);

// Whether such ink lies inside the piece, between two of its pixels along a row or a column: a marker it hides
// in part, not one drawn over it.
[[nodiscard]] bool coverWithin(const CoverInk &cover, const InkComponent &piece);
