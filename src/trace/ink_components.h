#pragma once

#include "trace/colour_match.h"
#include "trace/ink_run.h"
#include "trace/marker_ink.h"
#include "trace/pixel_view.h"

#include <QRect>

#include <vector>

// The pieces of ink of one colour in a picture: pixels holding at least half of the colour, joined when they
// touch, edges and corners alike. Each is kept as its runs along rows, so that a picture of tens of millions
// of pixels costs no more memory than its ink.
struct InkComponent {
    QRect bounds;
    long long pixels = 0;
    std::vector<InkRunOnRow> runs;
};

// Pieces whose bounds exceed `largest` pixels in width or height are counted but not kept: lines, axes,
// frames; their runs are dropped.
[[nodiscard]] std::vector<InkComponent> inkComponents(const PixelView &picture, const InkModel &model, int largest);

// The same for marker mode's ink, and whether the picture shows chroma subsampling, which the one scan sees:
// where it does, the pixels holding at least half of the colour by their darkness are ink too.
struct MarkerComponents {
    std::vector<InkComponent> pieces;
    bool subsampled = false;
};
[[nodiscard]] MarkerComponents inkComponents(const PixelView &picture, const MarkerInk &ink, int largest);

// Joins the kept pieces whose bounds come within a pixel of each other: a thin anti-aliased outline falls
// apart where it holds less than half of the colour.
[[nodiscard]] std::vector<InkComponent> joinedFragments(std::vector<InkComponent> pieces);
