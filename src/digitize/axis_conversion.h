#pragma once

#include "state/text_value.h"

#include <optional>

// One axis as a conversion reads it: the two calibration positions (twips) and values, the same values read
// again in double precision for the logarithmic form, and whether the axis is logarithmic.
struct AxisReading {
    float pos0 = 0;
    float pos1 = 0;
    float value0 = 0; // single precision, as stored in the state
    float value1 = 0;
    TextValue exact0; // the value boxes read again, for the logarithmic form
    TextValue exact1;
    bool logarithmic = false;
};

// Chart value at a picture position, or nothing when the axis cannot convert (equal positions, a logarithm
// of 0 or less, a box value beyond single precision, an overflow, a non-finite result). Linear axes compute in single precision, in the order
// product, quotient, sum; logarithmic ones in double precision.
[[nodiscard]] std::optional<double> positionToValueX(const AxisReading &axis, float x);
// The same for y, with y growing downwards on the picture.
[[nodiscard]] std::optional<double> positionToValueY(const AxisReading &axis, float y);

// A value box's number as the state stores it, or nothing when it overflows single precision.
[[nodiscard]] std::optional<float> singleValue(const TextValue &value);
