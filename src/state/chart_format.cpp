#include "state/chart_format.h"

#include <cmath>

using namespace Qt::StringLiterals;

QString formatChartValue(double value, const QString &pattern)
{
    if (!std::isfinite(value)) {
        return {};
    }
    // QString::number always formats like the C locale.
    if (pattern == u"0.0"_s) {
        return QString::number(value, 'f', 1);
    }
    if (pattern == u"0.00"_s) {
        return QString::number(value, 'f', 2);
    }
    if (pattern == u"0.0000"_s) {
        return QString::number(value, 'f', 4);
    }
    if (pattern == u"0.000E+00"_s) {
        // Qt already writes the exponent signed and with at least two digits, only in lower case.
        return QString::number(value, 'e', 3).toUpper();
    }
    return {};
}

QString readoutPattern(std::int16_t choice)
{
    switch (choice) {
    case 1:
        return u"0.0"_s;
    case 2:
        return u"0.0000"_s;
    case 3:
        return u"0.000E+00"_s;
    default:
        return {};
    }
}

QString recordPattern(std::int16_t choice)
{
    // The one difference: recorded values of choice 1 carry two decimals, the readout one.
    return choice == 1 ? u"0.00"_s : readoutPattern(choice);
}
