#include "state/text_value.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

bool isIgnored(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool isOctalDigit(char16_t c)
{
    return c >= u'0' && c <= u'7';
}

bool isHexDigit(char16_t c)
{
    return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

char16_t upper(char16_t c)
{
    return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c;
}

// Steps through a text, stepping over the ignored characters, and remembers where the accepted part ends.
class Reader {
public:
    explicit Reader(const QString &text)
        : m_text(text)
    {}

    // The next character that is not ignored, or 0 at the end.
    char16_t peek()
    {
        while (m_pos < m_text.size() && isIgnored(m_text.at(m_pos).unicode())) {
            ++m_pos;
        }
        return m_pos < m_text.size() ? m_text.at(m_pos).unicode() : char16_t(0);
    }
    // Steps over the character peek() returned.
    void skip() { m_taken = ++m_pos; }
    // Everything taken so far belongs to the number; blanks peeked over after it do not.
    void accept() { m_accepted = m_taken; }
    qsizetype accepted() const { return m_accepted; }

private:
    const QString &m_text;
    qsizetype m_pos = 0;
    qsizetype m_taken = 0;
    qsizetype m_accepted = 0;
};

// from_chars reports overflow and underflow alike as out of range; the decimal exponent of the first
// significant digit tells them apart. number is what from_chars was given: "-", digits, ".", "e", exponent.
bool beyondLargest(std::string_view number)
{
    const auto e = number.find('e');
    const std::string_view mantissa = number.substr(0, e);
    // Any exponent this far out decides alone, and leaves room to add the mantissa's few digits to it.
    constexpr long long kFar = std::numeric_limits<long long>::max() / 2;
    long long exponent = 0;
    if (e != std::string_view::npos) {
        const std::string_view digits = number.substr(e + 1);
        if (std::from_chars(digits.data(), digits.data() + digits.size(), exponent).ec != std::errc()) {
            exponent = digits.starts_with('-') ? -kFar : kFar;
        }
        exponent = std::clamp(exponent, -kFar, kFar);
    }
    const auto point = std::min(mantissa.find('.'), mantissa.size());
    const auto first = mantissa.find_first_not_of("-0.");
    const long long lead =
        first < point ? static_cast<long long>(point - first - 1) : -static_cast<long long>(first - point);
    return lead + exponent > 0;
}

LeadingNumber fromChars(const std::string &number, std::chars_format format, qsizetype consumed)
{
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value, format);
    if (ec == std::errc::result_out_of_range) {
        if (format == std::chars_format::hex || beyondLargest(number)) {
            return {0, false, consumed};
        }
        value = 0;
    }
    // "-0" and negative underflow would otherwise leave a negative zero that prints as "-0.00".
    return {value == 0 ? 0.0 : value, true, consumed};
}

// The digits after "&H" or "&O"; the reader stands after the prefix.
LeadingNumber radixNumber(Reader &reader, bool hex)
{
    std::string digits;
    for (char16_t c = reader.peek(); hex ? isHexDigit(c) : isOctalDigit(c); c = reader.peek()) {
        digits.push_back(static_cast<char>(c));
        reader.skip();
        reader.accept();
    }
    if (digits.empty()) {
        return {0, true, reader.accepted()};
    }
    if (!hex) {
        // Regroup the octal digits' three bits each into hexadecimal digits, from the right, so that one
        // exact conversion serves both forms.
        std::string regrouped;
        unsigned bits = 0;
        int bitCount = 0;
        for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
            bits |= unsigned(*it - '0') << bitCount;
            bitCount += 3;
            for (; bitCount >= 4; bitCount -= 4, bits >>= 4) {
                regrouped.push_back("0123456789abcdef"[bits & 15]);
            }
        }
        if (bitCount > 0) {
            regrouped.push_back("0123456789abcdef"[bits & 15]);
        }
        digits.assign(regrouped.rbegin(), regrouped.rend());
    }
    return fromChars(digits, std::chars_format::hex, reader.accepted());
}

void readDigits(Reader &reader, std::string &out)
{
    for (char16_t c = reader.peek(); isDigit(c); c = reader.peek()) {
        out.push_back(static_cast<char>(c));
        reader.skip();
    }
}

} // namespace

LeadingNumber leadingNumber(const QString &text)
{
    Reader reader(text);
    char16_t c = reader.peek();
    if (c == u'&') {
        reader.skip();
        const char16_t kind = upper(reader.peek());
        if (kind != u'H' && kind != u'O') {
            return {};
        }
        reader.skip();
        reader.accept();
        return radixNumber(reader, kind == u'H');
    }

    std::string number;
    if (c == u'+' || c == u'-') {
        if (c == u'-') {
            number.push_back('-');
        }
        reader.skip();
    }
    const auto signLength = number.size();
    readDigits(reader, number);
    bool anyDigit = number.size() > signLength;
    if (reader.peek() == u'.') {
        number.push_back('.');
        reader.skip();
        const auto before = number.size();
        readDigits(reader, number);
        anyDigit = anyDigit || number.size() > before;
    }
    if (!anyDigit) {
        return {};
    }
    reader.accept();

    // The exponent belongs to the number only when it has digits: "1e+" is 1.
    c = upper(reader.peek());
    if (c == u'E' || c == u'D') {
        std::string exponent = "e";
        reader.skip();
        c = reader.peek();
        if (c == u'+' || c == u'-') {
            if (c == u'-') {
                exponent.push_back('-');
            }
            reader.skip();
        }
        const auto digitsStart = exponent.size();
        readDigits(reader, exponent);
        if (exponent.size() > digitsStart) {
            number += exponent;
            reader.accept();
        }
    }
    return fromChars(number, std::chars_format::general, reader.accepted());
}

TextValue textValue(const QString &text)
{
    const LeadingNumber number = leadingNumber(text);
    return {number.value, number.ok};
}

bool hasDecimalComma(const QString &text)
{
    Reader reader(text);
    char16_t c = reader.peek();
    if (c == u'+' || c == u'-') {
        reader.skip();
    }
    bool digits = false;
    for (c = reader.peek(); isDigit(c); c = reader.peek()) {
        digits = true;
        reader.skip();
    }
    if (!digits || c != u',') {
        return false;
    }
    reader.skip();
    return isDigit(reader.peek());
}
