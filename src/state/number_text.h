#pragma once

#include <QString>

// A single-precision number as caption text: decimal, at most seven significant digits and no more than
// needed, exponent form ("1.234568E+07") for very large and very small magnitudes. "." always.
[[nodiscard]] QString singleText(float value);

// A number as printed onto a window: a blank where a "-" would stand for values of zero or more, the
// number, then one blank: " 1024 ", "-3 ".
[[nodiscard]] QString printedNumber(float value);
