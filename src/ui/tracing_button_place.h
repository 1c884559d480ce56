#pragma once

#include "ui/twips.h"

// Where Command19 (automatic tracing) stands, in twips of the main window. On large screens it is right of the
// magnifier button; on small ones, where the magnifier button goes to the top right corner, just left of it,
// unless the window is too narrow for that beside the file-name bar: then in the button column below the
// pointer frame, where the format panel's button stood before it moved.
[[nodiscard]] TwipsPoint tracingButtonPlace(bool smallScreen, float windowWidthTwips);
