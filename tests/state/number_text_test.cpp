#include "state/number_text.h"

#include <gtest/gtest.h>

#include <string>

using namespace Qt::StringLiterals;

TEST(NumberTextTest, SingleTextUsesAtMostSevenSignificantDigits)
{
    const std::pair<float, std::string> rows[] = {
        {2355, "2355"},
        {5257.5f, "5257.5"},
        {2647.5f, "2647.5"},
        {0.5f, "0.5"},
        {-12.25f, "-12.25"},
        {0, "0"},
        {-0.0f, "0"},
        {0.1f, "0.1"},
        {1 / 3.f, "0.3333333"},
        {1234567, "1234567"},
        {12345678, "1.234568E+07"},
        {-16777216, "-1.677722E+07"},
        {1e-5f, "1E-05"},
        {1.5e-30f, "1.5E-30"},
        {3.4028235e38f, "3.402823E+38"},
    };
    for (const auto &[value, expected] : rows) {
        EXPECT_EQ(singleText(value).toStdString(), expected) << QString::number(value).toStdString();
    }
}

TEST(NumberTextTest, PrintedNumberReservesTheSignPlace)
{
    EXPECT_EQ(printedNumber(1024), u" 1024 "_s);
    EXPECT_EQ(printedNumber(-3), u"-3 "_s);
    EXPECT_EQ(printedNumber(0), u" 0 "_s);
    EXPECT_EQ(printedNumber(-0.0f), u" 0 "_s);
    EXPECT_EQ(printedNumber(-2.5e9f), u"-2.5E+09 "_s);
    EXPECT_EQ(u"Ekran:"_s + printedNumber(1024) + u"x"_s + printedNumber(768), u"Ekran: 1024 x 768 "_s);
}
