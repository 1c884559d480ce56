#pragma once

#include "trace/ink_components.h"
#include "trace/marker_ink.h"
#include "trace/pixel_view.h"

#include <cstdint>
#include <vector>

// The pieces marker mode looks at may hold two series of near colours, both within the tolerance of the colour
// picked, where the markers of a series share one colour. Of how far each piece's colour lies from the picked
// one, which lie in a second group farther off, across a clear gap: none where there is no such gap.
[[nodiscard]] std::vector<bool> fartherGroup(const std::vector<double> &distances);

// Leaves out of `pieces` those of such a second group, by the colour each was drawn in, against `argb`. Pieces
// that kept no pixels are kept.
void dropFartherColours(std::vector<InkComponent> &pieces, const PixelView &picture, const MarkerInk &ink,
                        std::uint32_t argb);
