#include "digitize/axis_conversion.h"

#include "state/chart_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

AxisReading linearAxis(float pos0, float pos1, float value0, float value1)
{
    return {pos0, pos1, value0, value1, {value0, true}, {value1, true}, false};
}

AxisReading logAxis(float pos0, float pos1, double value0, double value1)
{
    return {pos0, pos1, float(value0), float(value1), {value0, true}, {value1, true}, true};
}

struct Row {
    std::string name;
    AxisReading axis;
    bool alongY;
    float position;
    std::optional<double> expected;
    double relativeTolerance = 0; // 0: exactly
};

void expectRows(const std::vector<Row> &rows)
{
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<double> value =
            row.alongY ? positionToValueY(row.axis, row.position) : positionToValueX(row.axis, row.position);
        ASSERT_EQ(value.has_value(), row.expected.has_value());
        if (!value) {
            continue;
        }
        if (row.relativeTolerance == 0) {
            EXPECT_EQ(*value, *row.expected);
        } else {
            EXPECT_NEAR(*value, *row.expected, std::fabs(*row.expected) * row.relativeTolerance);
        }
    }
}

} // namespace

TEST(AxisConversion, LinearAxesInterpolateThroughBothCalibrationPoints)
{
    const AxisReading x = linearAxis(1000, 5000, 0, 100);
    // y grows downwards, so the value 10 is calibrated above the value 0.
    const AxisReading y = linearAxis(4000, 1000, 0, 10);
    const AxisReading odd = linearAxis(1234, 4321, 3.7f, 9.1f);
    expectRows({
        {"x midway", x, false, 3000, 50},
        {"x left of the first position", x, false, 500, -12.5},
        {"x far right", x, false, 9000, 200},
        {"y midway", y, true, 2500, 5},
        {"y below the first position", y, true, 5500, -5},
        {"press at the first position", odd, false, 1234, double(3.7f)},
        {"press at the second position", odd, false, 4321, double(9.1f), 1e-6},
        {"press at the first position, y", odd, true, 1234, double(3.7f)},
    });
}

TEST(AxisConversion, LinearAxesComputeInSinglePrecisionProductFirst)
{
    expectRows({
        // 1/3 rounded to single precision is 11184811 / 2^25.
        {"one third", linearAxis(0, 3, 0, 1), false, 1, 11184811.0 / 33554432.0},
        // 16777216 + 1 has no single-precision form and rounds to even; double precision would give 16777217.
        {"sum rounded", linearAxis(0, 2, 16777216, 16777218), false, 1, 16777216},
        {"sum rounded, y", linearAxis(0, 2, 16777216, 16777218), true, 1, 16777216},
        // (3e38 * 10) overflows before the division by 100 could bring it back.
        {"product overflows", linearAxis(0, 100, 0, 3e38f), false, 10, std::nullopt},
        {"product overflows, y", linearAxis(0, 100, 0, 3e38f), true, 10, std::nullopt},
        {"value difference overflows", linearAxis(0, 1000, -3e38f, 3e38f), false, 500, std::nullopt},
        {"sum overflows", linearAxis(0, 1, 3e38f, 3.3e38f), false, 2, std::nullopt},
        {"position difference overflows", linearAxis(-3e38f, 3e38f, 0, 1), false, 0, std::nullopt},
    });
}

TEST(AxisConversion, LinearAxesWithoutASpanCannotConvert)
{
    expectRows({
        {"not calibrated", linearAxis(0, 0, 0, 0), false, 0, std::nullopt},
        {"not calibrated, elsewhere", linearAxis(0, 0, 0, 0), false, 700, std::nullopt},
        {"equal positions", linearAxis(2000, 2000, 1, 5), true, 2500, std::nullopt},
    });
}

// The state keeps the last value that fitted; a box beyond single precision must not convert with it.
TEST(AxisConversion, BoxBeyondSinglePrecisionFailsItsAxis)
{
    AxisReading linear = linearAxis(1000, 5000, 0, 100);
    linear.exact1 = {1e39, true};
    AxisReading linearFirst = linearAxis(1000, 5000, 0, 100);
    linearFirst.exact0 = {-1e39, true};
    AxisReading logarithmic = logAxis(1000, 4000, 1, 1000);
    logarithmic.exact1 = {1e39, true};
    expectRows({
        {"second box, linear x", linear, false, 3000, std::nullopt},
        {"first box, linear y", linearFirst, true, 3000, std::nullopt},
        {"second box, logarithmic x", logarithmic, false, 2000, std::nullopt},
        {"second box, logarithmic y", logarithmic, true, 2000, std::nullopt},
        {"largest single value still converts", linearAxis(1000, 5000, 0, FLT_MAX), false, 1000, 0},
    });
}

TEST(AxisConversion, LogarithmicAxesInterpolateDecades)
{
    const AxisReading x = logAxis(1000, 4000, 1, 1000);
    const AxisReading y = logAxis(4000, 1000, 1, 100);
    const AxisReading odd = logAxis(1100, 3700, 0.37, 91);
    expectRows({
        {"one decade along x", x, false, 2000, 10, 1e-12},
        {"two and a half decades", x, false, 3500, 316.22776601683796, 1e-12},
        {"left of the first position", x, false, 0, 0.1, 1e-12},
        {"one decade along y", y, true, 2500, 10, 1e-12},
        {"y below the first position", y, true, 5500, 0.1, 1e-12},
        {"press at the first position", odd, false, 1100, 0.37},
        {"press at the second position", odd, false, 3700, 91, 1e-12},
        {"press at the first position, y", odd, true, 1100, 0.37},
        {"press at the second position, y", odd, true, 3700, 91, 1e-12},
    });
}

TEST(AxisConversion, LogarithmicAxesUseTheValuesInDoublePrecision)
{
    // 0.1 has no single-precision form; a logarithmic axis reads the box again instead of the stored float.
    AxisReading x = logAxis(0, 1000, 0.1, 1000);
    ASSERT_NE(double(x.value0), 0.1);
    expectRows({
        {"first position", x, false, 0, 0.1},
        {"one decade", x, false, 250, 1, 1e-14},
    });
}

TEST(AxisConversion, LogarithmicAxesFailWhereNoLogarithmExists)
{
    AxisReading tooLarge = logAxis(1000, 4000, 1, 1000);
    tooLarge.exact1 = {0, false};
    AxisReading firstTooLarge = logAxis(1000, 4000, 1, 1000);
    firstTooLarge.exact0 = {0, false};
    expectRows({
        {"not calibrated", logAxis(0, 0, 0, 0), false, 0, std::nullopt},
        {"equal positions", logAxis(1000, 1000, 1, 10), false, 1500, std::nullopt},
        {"equal positions, y", logAxis(1000, 1000, 1, 10), true, 1500, std::nullopt},
        {"first value 0", logAxis(1000, 4000, 0, 1000), false, 2000, std::nullopt},
        {"second value 0", logAxis(1000, 4000, 1, 0), true, 2000, std::nullopt},
        {"negative value", logAxis(1000, 4000, -1, 1000), false, 2000, std::nullopt},
        {"negative value, y", logAxis(1000, 4000, 1, -1000), true, 2000, std::nullopt},
        {"equal values", logAxis(1000, 4000, 5, 5), false, 2000, std::nullopt},
        {"second box beyond double", tooLarge, false, 2000, std::nullopt},
        {"first box beyond double", firstTooLarge, true, 2000, std::nullopt},
        {"result beyond double", logAxis(0, 1, 1, 1e30), false, 20, std::nullopt},
        {"result beyond double, y", logAxis(1, 0, 1, 1e30), true, -19, std::nullopt},
    });
}

TEST(AxisConversion, ConvertedValuesFormatFromTheirSinglePrecisionForm)
{
    const AxisReading x = linearAxis(0, 1000, 0, 1000);
    const std::optional<double> value = positionToValueX(x, 12.347f);
    ASSERT_TRUE(value);
    EXPECT_EQ(formatChartValue(*value, u"0.0"_s), u"12.3"_s);
    EXPECT_EQ(formatChartValue(*value, u"0.00"_s), u"12.35"_s);

    // The double nearest 1.345 lies below it, the float above: the recorded text shows which one was used.
    const std::optional<double> half = positionToValueX(x, 1.345f);
    ASSERT_TRUE(half);
    EXPECT_EQ(formatChartValue(*half, u"0.00"_s), u"1.35"_s);
    EXPECT_EQ(formatChartValue(1.345, u"0.00"_s), u"1.34"_s);
}

TEST(AxisConversion, SingleValueRejectsWhatSinglePrecisionCannotHold)
{
    struct ValueRow {
        TextValue text;
        std::optional<float> expected;
    };
    const ValueRow rows[] = {
        {{1.5, true}, 1.5f},
        {{0.1, true}, 0.1f},
        {{-2.5e-3, true}, -2.5e-3f},
        {{double(FLT_MAX), true}, FLT_MAX},
        {{-double(FLT_MAX), true}, -FLT_MAX},
        {{1e-50, true}, 0.0f},
        {{3.5e38, true}, std::nullopt},
        {{-1e39, true}, std::nullopt},
        {{1e300, true}, std::nullopt},
        {{0, false}, std::nullopt},
    };
    for (const ValueRow &row : rows) {
        SCOPED_TRACE(QString::number(row.text.value).toStdString() + (row.text.ok ? "" : " (beyond double)"));
        EXPECT_EQ(singleValue(row.text), row.expected);
    }
}
