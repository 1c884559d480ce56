#include "state/number_text.h"

using namespace Qt::StringLiterals;

QString singleText(float value)
{
    // Negative zero would come out as "-0".
    if (value == 0) {
        return u"0"_s;
    }
    return QString::number(double(value), 'g', 7).replace(u'e', u'E');
}

QString printedNumber(float value)
{
    return (value < 0 ? QString() : u" "_s) + singleText(value) + u' ';
}
