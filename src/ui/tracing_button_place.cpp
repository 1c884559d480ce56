#include "ui/tracing_button_place.h"

namespace {

constexpr float kGap = 120;
constexpr float kButtonWidth = 855;
constexpr float kMagnifierLeft = 10920;      // as designed
constexpr float kMagnifierOffset = 3250;     // from the right edge, on small screens
constexpr float kFileBarRight = 8280 + 2415; // the right edge of Text8

} // namespace

TwipsPoint tracingButtonPlace(bool smallScreen, float windowWidthTwips)
{
    if (!smallScreen)
        return {kMagnifierLeft + kButtonWidth + kGap, 120};
    const float left = windowWidthTwips - kMagnifierOffset - kButtonWidth - kGap;
    if (left >= kFileBarRight + kGap)
        return {left, 120};
    return {120, 7665};
}
