#pragma once

#include <QString>

#include <cstdint>

// A chart value as text for one of the number patterns "0.0", "0.00", "0.0000" (fixed point) and "0.000E+00"
// (one digit, three decimals, signed exponent of at least two digits). "." is always the decimal mark.
// Any other pattern, and a value that is not finite, gives an empty text.
[[nodiscard]] QString formatChartValue(double value, const QString &pattern);

// The pattern of a number-format choice (1, 2 or 3; anything else has none) for the live readout...
[[nodiscard]] QString readoutPattern(std::int16_t choice);
// ...and for the values recorded into the curve files.
[[nodiscard]] QString recordPattern(std::int16_t choice);
