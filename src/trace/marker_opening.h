#pragma once

#include "trace/colour_match.h"
#include "trace/ink_components.h"
#include "trace/pixel_view.h"

#include <vector>

// Markers on a line of their own colour (a connected scatter chart) make one piece of ink with it. The line is
// thinner than the markers: an opening (an erosion and a dilation by a square wider than the line's usual
// thickness) takes the line away and leaves the markers; what it took from their rims and tips is given
// back, and the line is not. Returns the pieces left that are no more than `largest` pixels across; none
// for a piece too large to look at whole.
[[nodiscard]] std::vector<InkComponent> piecesOffLine(const InkComponent &piece, int largest);
