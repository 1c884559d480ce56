#pragma once

#include <QString>

// The value of a number typed into a text box. Blanks, tabs and line feeds anywhere in the text are ignored;
// then an optional sign, digits with an optional "." fraction and an optional exponent (E or D), read as far
// as they go, or "&H" / "&O" followed by hexadecimal / octal digits. A text that does not start with a number
// is 0. Only "." is a decimal mark, whatever the locale.
struct TextValue {
    double value = 0;
    bool ok = true; // false only when the number lies beyond the double range; value is then 0
};

struct LeadingNumber {
    double value = 0;
    bool ok = true;
    // Characters of the text taken by the number, counted from its start: ignored blanks before and inside
    // the number are included, blanks after it are not. 0 when the text does not start with a number.
    qsizetype consumed = 0;
};

[[nodiscard]] LeadingNumber leadingNumber(const QString &text);
[[nodiscard]] TextValue textValue(const QString &text);

// Whether the text is a whole number followed by a comma and more digits ("2,5"): a decimal comma, which
// textValue reads as the whole part alone. Blanks are ignored as textValue ignores them.
[[nodiscard]] bool hasDecimalComma(const QString &text);
