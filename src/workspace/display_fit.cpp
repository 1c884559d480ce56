#include "workspace/display_fit.h"

#include <algorithm>
#include <cmath>

namespace {

// Room kept free around the picture on each axis, in pixels.
constexpr float kMarginPx = 240;

DisplayFit scaled(DisplayCase displayCase, float s, float naturalWidth, float naturalHeight)
{
    DisplayFit fit;
    fit.displayCase = displayCase;
    fit.scale = s;
    fit.outerWidth = naturalWidth / s;
    fit.outerHeight = naturalHeight / s;
    // Reduced for its height only, the picture keeps its full width and loses 150 twips at the bottom.
    if (displayCase == DisplayCase::ScaledHeight)
        fit.drawRect = {0, 0, fit.outerWidth, fit.outerHeight - 150};
    else
        fit.drawRect = {0, 0, fit.outerWidth - 50, fit.outerHeight - 50};
    return fit;
}

} // namespace

DisplayFit fitPicture(float naturalWidthTwips, float naturalHeightTwips, float screenWidthPx, float screenHeightPx)
{
    const float pw = naturalWidthTwips / kTwipsPerPixel;
    const float ph = naturalHeightTwips / kTwipsPerPixel;
    const float aw = screenWidthPx - kMarginPx;
    const float ah = screenHeightPx - kMarginPx;

    // The bounds are inclusive: a picture exactly the size of the room is shown scaled, at s = 1.
    if (pw >= aw && ph >= ah)
        return scaled(DisplayCase::ScaledBoth, std::max(pw / aw, ph / ah), naturalWidthTwips, naturalHeightTwips);
    if (pw >= aw && ph <= ah)
        return scaled(DisplayCase::ScaledWidth, pw / aw, naturalWidthTwips, naturalHeightTwips);
    if (pw <= aw && ph >= ah)
        return scaled(DisplayCase::ScaledHeight, ph / ah, naturalWidthTwips, naturalHeightTwips);

    DisplayFit fit;
    fit.outerWidth = naturalWidthTwips;
    fit.outerHeight = naturalHeightTwips;
    return fit;
}

QSize DisplayFit::picturePixels() const
{
    const float width = natural() ? outerWidth : drawRect.width;
    const float height = natural() ? outerHeight : drawRect.height;
    return {int(std::lround(width / kTwipsPerPixel)), int(std::lround(height / kTwipsPerPixel))};
}
