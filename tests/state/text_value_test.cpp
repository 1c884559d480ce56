#include "state/text_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

struct Row {
    QString text;
    double value;
    bool ok;
    qsizetype consumed;
};

void expectRows(const std::vector<Row> &rows)
{
    for (const Row &row : rows) {
        SCOPED_TRACE((row.text.left(40) + u" (length "_s + QString::number(row.text.size()) + u")"_s).toStdString());
        const LeadingNumber number = leadingNumber(row.text);
        EXPECT_EQ(number.value, row.value);
        if (number.value == 0) {
            EXPECT_FALSE(std::signbit(number.value)) << "a negative zero would print as -0.00";
        }
        EXPECT_EQ(number.ok, row.ok);
        EXPECT_EQ(number.consumed, row.consumed);
        const TextValue value = textValue(row.text);
        EXPECT_EQ(value.value, row.value);
        EXPECT_EQ(value.ok, row.ok);
    }
}

} // namespace

TEST(TextValueTest, ReadsDecimalNumbersAsFarAsTheyGo)
{
    expectRows({
        {u"1 2 3"_s, 123, true, 5},
        {u" - 5"_s, -5, true, 4},
        {u"\t1\n2"_s, 12, true, 4},
        {u"1\r2"_s, 1, true, 1},
        {u"5 "_s, 5, true, 1},
        {u"12abc"_s, 12, true, 2},
        {u".5"_s, 0.5, true, 2},
        {u"5."_s, 5, true, 2},
        {u"+7"_s, 7, true, 2},
        {u"1e3"_s, 1000, true, 3},
        {u"1D-2"_s, 0.01, true, 4},
        {u"2d+2"_s, 200, true, 4},
        {u"1e 5"_s, 1e5, true, 4},
        {u"1e"_s, 1, true, 1},
        {u"1e+"_s, 1, true, 1},
        {u"-.5e1"_s, -5, true, 5},
        {u"1.2.3"_s, 1.2, true, 3},
        {u"2,5"_s, 2, true, 1},
        {u"-0"_s, 0, true, 2},
        {u"123456789012345678901234567890"_s, 1.2345678901234568e29, true, 30},
        {u"4.9406564584124654E-324"_s, std::numeric_limits<double>::denorm_min(), true, 23},
    });
}

TEST(TextValueTest, TextsNotStartingWithANumberAreZero)
{
    expectRows({
        {u""_s, 0, true, 0},
        {u"abc"_s, 0, true, 0},
        {u"x12"_s, 0, true, 0},
        {u"E5"_s, 0, true, 0},
        {u"-"_s, 0, true, 0},
        {u"-."_s, 0, true, 0},
        {u"."_s, 0, true, 0},
        {u"+-5"_s, 0, true, 0},
        {u"ğ12"_s, 0, true, 0},
        {u"\u00A012"_s, 0, true, 0},
        {u"\r5"_s, 0, true, 0},
        {u"-&H5"_s, 0, true, 0},
        {u"&X5"_s, 0, true, 0},
    });
}

TEST(TextValueTest, ReadsHexadecimalAndOctalWholeNumbers)
{
    expectRows({
        {u"&H1F"_s, 31, true, 4},
        {u"&hff"_s, 255, true, 4},
        {u"&HFFFF"_s, 65535, true, 6},
        {u"& h 1f"_s, 31, true, 6},
        {u"&H1G"_s, 1, true, 3},
        {u"&H"_s, 0, true, 2},
        {u"&O17"_s, 15, true, 4},
        {u"&o8"_s, 0, true, 2},
        {u"&O1000000000000000000000"_s, 9223372036854775808.0, true, 24},
        {u"&H"_s + QString(255, u'F'), std::ldexp(1.0, 1020), true, 257}, // 2^1020 - 1, rounded
        {u"&H"_s + QString(256, u'F'), 0, false, 258},
    });
}

TEST(TextValueTest, OverflowIsNotOkUnderflowIsZero)
{
    expectRows({
        {u"1E308"_s, 1e308, true, 5},
        {u"1E309"_s, 0, false, 5},
        {u"-1E309"_s, 0, false, 6},
        {u"0.001e311"_s, 1e308, true, 9},
        {u"0.001e312"_s, 0, false, 9},
        {u"1000e-330"_s, 0, true, 9},
        {u"1E999"_s, 0, false, 5},
        {u"1E-999"_s, 0, true, 6},
        {u"-1E-999"_s, 0, true, 7},
        {u"1e99999999999999999999"_s, 0, false, 22},
        {u"1e-99999999999999999999"_s, 0, true, 23},
        {u"0e99999999999999999999"_s, 0, true, 22},
        {u"100e9223372036854775807"_s, 0, false, 23}, // exponents at the ends of the integer range
        {u"0.001e-9223372036854775808"_s, 0, true, 26},
        {u"1"_s + QString(399, u'0'), 0, false, 400},
    });
}

TEST(TextValueTest, ReadsTenThousandCharacterTexts)
{
    expectRows({
        {QString(9999, u' ') + u"7"_s, 7, true, 10000},
        {u"7"_s + QString(9999, u' '), 7, true, 1},
        {QString(10000, u'9'), 0, false, 10000},
        {u"0."_s + QString(9997, u'0') + u"1"_s, 0, true, 10000},
        {u"0."_s + QString(9998, u'3'), 1.0 / 3, true, 10000},
        {QString(10000, u'0'), 0, true, 10000},
        {u"&H"_s + QString(9997, u'0') + u"1"_s, 1, true, 10000},
    });
}

TEST(TextValueTest, DecimalCommaIsToldFromOtherCommas)
{
    const struct {
        QString text;
        bool decimalComma;
    } rows[] = {
        {u"2,5"_s, true},    {u" -2,5 "_s, true}, {u"+10,25"_s, true}, {u"2 ,5"_s, true},   {u"1,000"_s, true},
        {u"2.5,3"_s, false}, {u"2,"_s, false},    {u",5"_s, false},    {u"&H1,5"_s, false}, {u"1E3,5"_s, false},
        {u"2;5"_s, false},   {u"abc,5"_s, false}, {u""_s, false},      {u"2,x"_s, false},   {u"25"_s, false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        EXPECT_EQ(hasDecimalComma(row.text), row.decimalComma);
    }
}
