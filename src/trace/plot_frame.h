#pragma once

#include "trace/ink_components.h"

#include <QRect>
#include <QSize>

#include <optional>
#include <vector>

// The inside of the plot, where its frame or its axes are drawn in the markers' colour (black markers on a chart
// drawn in black): a piece across a good part of the picture that holds a row of ink across most of its width
// and a column down most of its height, and closes in mostly paper (a bar shaded in the colour is ink through).
// The inside lies between its outermost such rows and columns; with one of each (two axes), between them and the
// piece's far sides. Tick labels and the title lie outside it.
[[nodiscard]] std::optional<QRect> frameInside(const std::vector<InkComponent> &pieces, QSize picture);
