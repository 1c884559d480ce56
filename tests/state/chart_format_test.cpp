#include "state/chart_format.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

using namespace Qt::StringLiterals;

TEST(ChartFormatTest, FormatsEachPattern)
{
    struct Row {
        double value;
        QString pattern;
        std::string expected;
    };
    const Row rows[] = {
        {12.347, u"0.0"_s, "12.3"},
        {0.05, u"0.0"_s, "0.1"},
        {0.5, u"0.0"_s, "0.5"},
        {12.347, u"0.00"_s, "12.35"},
        {2.675, u"0.00"_s, "2.67"}, // the double just below 2.675
        {1234567.891, u"0.00"_s, "1234567.89"},
        {-0.001, u"0.00"_s, "-0.00"},
        {-0.5, u"0.0000"_s, "-0.5000"},
        {1e20, u"0.0000"_s, "100000000000000000000.0000"},
        {123.46, u"0.000E+00"_s, "1.235E+02"},
        {0.00012346, u"0.000E+00"_s, "1.235E-04"},
        {0, u"0.000E+00"_s, "0.000E+00"},
        {1e-100, u"0.000E+00"_s, "1.000E-100"},
        {-0.5, u"0.000E+00"_s, "-5.000E-01"},
        {9.9996, u"0.000E+00"_s, "1.000E+01"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE((row.pattern + u" "_s + QString::number(row.value)).toStdString());
        EXPECT_EQ(formatChartValue(row.value, row.pattern).toStdString(), row.expected);
    }
}

TEST(ChartFormatTest, UnknownPatternsAndNonFiniteValuesGiveNoText)
{
    for (const QString &pattern : {u""_s, u"0.000"_s, u"0.000e+00"_s, u"#.##"_s, u" 0.0"_s}) {
        EXPECT_TRUE(formatChartValue(1.5, pattern).isEmpty()) << pattern.toStdString();
    }
    for (const double value : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity()}) {
        for (const QString &pattern : {u"0.0"_s, u"0.00"_s, u"0.0000"_s, u"0.000E+00"_s}) {
            EXPECT_TRUE(formatChartValue(value, pattern).isEmpty()) << pattern.toStdString() << " " << value;
        }
    }
}

TEST(ChartFormatTest, ChoicesMapToReadoutAndRecordPatterns)
{
    EXPECT_EQ(readoutPattern(1), u"0.0"_s);
    EXPECT_EQ(readoutPattern(2), u"0.0000"_s);
    EXPECT_EQ(readoutPattern(3), u"0.000E+00"_s);
    EXPECT_EQ(recordPattern(1), u"0.00"_s);
    EXPECT_EQ(recordPattern(2), u"0.0000"_s);
    EXPECT_EQ(recordPattern(3), u"0.000E+00"_s);
    for (const std::int16_t choice : {0, 4, -1, 32767}) {
        EXPECT_TRUE(readoutPattern(choice).isEmpty()) << choice;
        EXPECT_TRUE(recordPattern(choice).isEmpty()) << choice;
    }
    EXPECT_EQ(formatChartValue(12.347, readoutPattern(1)), u"12.3"_s);
    EXPECT_EQ(formatChartValue(12.347, recordPattern(1)), u"12.35"_s);
    EXPECT_EQ(formatChartValue(-0.5, readoutPattern(2)), u"-0.5000"_s);
    EXPECT_EQ(formatChartValue(-0.5, recordPattern(2)), u"-0.5000"_s);
}

namespace {

void expectDecimalPoint()
{
    EXPECT_EQ(formatChartValue(1234.5, u"0.00"_s), u"1234.50"_s);
    EXPECT_EQ(formatChartValue(-0.25, u"0.0000"_s), u"-0.2500"_s);
    EXPECT_EQ(formatChartValue(1234.5, u"0.000E+00"_s), u"1.235E+03"_s);
}

} // namespace

TEST(ChartFormatTest, IgnoresATurkishQtLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    expectDecimalPoint();
    QLocale::setDefault(previous);
}

TEST(ChartFormatTest, IgnoresATurkishCLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "tr_TR.UTF-8") == nullptr) {
        GTEST_SKIP() << "tr_TR.UTF-8 is not installed";
    }
    expectDecimalPoint();
    std::setlocale(LC_ALL, previous.c_str());
}
