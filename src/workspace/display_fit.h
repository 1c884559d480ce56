#pragma once

#include "ui/twips.h"

#include <QSize>

// How a chart picture is shown: at its natural size, or reduced to fit the screen.
enum class DisplayCase {
    ScaledBoth = 1,   // wider and higher than the room: the larger ratio
    ScaledWidth = 2,  // wider only
    ScaledHeight = 3, // higher only
    Natural = 4,
};

struct DisplayFit {
    DisplayCase displayCase = DisplayCase::Natural;
    float scale = 1;      // s: the factor the picture is reduced by (1 in natural display)
    float outerWidth = 0; // twips given to Picture1 in scaled display
    float outerHeight = 0;
    TwipsRect drawRect; // where the scaled picture is drawn, in Picture1's own twips
    [[nodiscard]] bool natural() const { return displayCase == DisplayCase::Natural; }
    // The whole pixels the picture is decoded to: its natural size, or the drawing rectangle rounded.
    [[nodiscard]] QSize picturePixels() const;
};

// The room for the picture is the screen less 240 pixels each way; 15 twips count as one pixel here.
[[nodiscard]] DisplayFit fitPicture(float naturalWidthTwips, float naturalHeightTwips, float screenWidthPx,
                                    float screenHeightPx);
