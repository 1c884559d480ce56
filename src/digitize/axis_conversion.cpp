#include "digitize/axis_conversion.h"

#include <cfloat>
#include <cmath>
#include <initializer_list>

using namespace Qt::StringLiterals;

namespace {

bool allFinite(std::initializer_list<float> values)
{
    for (const float v : values) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}

// value0 + ((value1 - value0) * offset) / span, every step rounded to single precision. Each step is its own
// statement so that nothing is kept in a wider register or reordered.
std::optional<double> linearValue(const AxisReading &axis, float offset, float span)
{
    if (span == 0) {
        return std::nullopt;
    }
    const float valueSpan = axis.value1 - axis.value0;
    const float product = valueSpan * offset;
    const float quotient = product / span;
    const float sum = axis.value0 + quotient;
    if (!allFinite({offset, span, valueSpan, product, quotient, sum})) {
        return std::nullopt;
    }
    return static_cast<double>(sum);
}

// v0 * 10^(offset / (span / (log10 v1 - log10 v0))): the decade interpolation through both reference points.
// offset and span are the single-precision position differences.
std::optional<double> logarithmicValue(const AxisReading &axis, float offset, float span)
{
    if (!axis.exact0.ok || !axis.exact1.ok) {
        return std::nullopt;
    }
    const double v0 = axis.exact0.value;
    const double v1 = axis.exact1.value;
    if (!(v0 > 0) || !(v1 > 0) || !std::isfinite(offset) || !std::isfinite(span)) {
        return std::nullopt;
    }
    const double ln10 = std::log(10.0);
    const double l0 = std::log(v0) / ln10;
    const double l1 = std::log(v1) / ln10;
    if (l1 == l0) {
        return std::nullopt;
    }
    const double perDecade = static_cast<double>(span) / (l1 - l0);
    if (perDecade == 0 || !std::isfinite(perDecade)) {
        return std::nullopt;
    }
    const double exponent = static_cast<double>(offset) / perDecade;
    if (!std::isfinite(exponent)) {
        return std::nullopt;
    }
    const double value = v0 * std::pow(10.0, exponent);
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// A box whose number single precision cannot hold fails its axis, linear or logarithmic: the stored value
// would be an earlier one.
bool boxesFit(const AxisReading &axis)
{
    return singleValue(axis.exact0) && singleValue(axis.exact1);
}

} // namespace

std::optional<double> positionToValueX(const AxisReading &axis, float x)
{
    if (!boxesFit(axis)) {
        return std::nullopt;
    }
    const float offset = x - axis.pos0;
    const float span = axis.pos1 - axis.pos0;
    return axis.logarithmic ? logarithmicValue(axis, offset, span) : linearValue(axis, offset, span);
}

std::optional<double> positionToValueY(const AxisReading &axis, float y)
{
    if (!boxesFit(axis)) {
        return std::nullopt;
    }
    if (!axis.logarithmic) {
        return linearValue(axis, y - axis.pos0, axis.pos1 - axis.pos0);
    }
    // Both differences negated: the same interpolation, measured upwards.
    return logarithmicValue(axis, axis.pos0 - y, axis.pos0 - axis.pos1);
}

std::optional<float> singleValue(const TextValue &value)
{
    if (!value.ok || !(std::fabs(value.value) <= FLT_MAX)) {
        return std::nullopt;
    }
    return static_cast<float>(value.value);
}
