// Any bytes as the text of a value box, read as UTF-8 and as Latin-1: no crash, no undefined behaviour, and the
// value is the one the C library reads from the characters the number took.
#include "fuzz_support.h"

#include "state/text_value.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace Qt::StringLiterals;

namespace {

bool isIgnored(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// The characters of the number without the blanks it steps over.
std::string numberText(QStringView taken)
{
    std::string out;
    for (const QChar c : taken) {
        if (!isIgnored(c))
            out.push_back(char(c.unicode()));
    }
    return out;
}

// The same number in hexadecimal digits, by way of its bits, for strtod, which reads no octal fractions.
std::string octalAsHex(const std::string &octal)
{
    std::string bits;
    for (const char digit : octal) {
        const int d = digit - '0';
        bits += {char('0' + (d >> 2 & 1)), char('0' + (d >> 1 & 1)), char('0' + (d & 1))};
    }
    bits.insert(0, (4 - bits.size() % 4) % 4, '0');
    std::string hex;
    for (std::size_t i = 0; i < bits.size(); i += 4) {
        const int nibble =
            (bits[i] - '0') << 3 | (bits[i + 1] - '0') << 2 | (bits[i + 2] - '0') << 1 | (bits[i + 3] - '0');
        hex.push_back("0123456789abcdef"[nibble]);
    }
    return hex;
}

// strtod reads decimal and (as "0x") hexadecimal numbers correctly rounded, whatever their length.
void checkAgainstStrtod(const std::string &text, const LeadingNumber &number)
{
    char *end = nullptr;
    const double expected = std::strtod(text.c_str(), &end);
    require(end == text.c_str() + text.size(), "strtod reads the whole number");
    if (std::isinf(expected)) {
        require(!number.ok && number.value == 0, "numbers beyond the double range are not ok and 0");
    } else {
        require(number.ok, "numbers within the double range are ok");
        require(number.value == expected, "the value is the correctly rounded one");
    }
}

void checkText(const QString &text)
{
    const LeadingNumber number = leadingNumber(text);
    const TextValue value = textValue(text);
    require(value.value == number.value && value.ok == number.ok, "textValue is leadingNumber's value");
    require(number.consumed >= 0 && number.consumed <= text.size(), "consumed lies within the text");
    require(std::isfinite(number.value), "the value is finite");
    require(number.ok || number.value == 0, "a number beyond range is 0");
    require(number.value != 0 || !std::signbit(number.value), "no negative zero");
    if (number.consumed == 0) {
        require(number.value == 0 && number.ok, "a text without a number is 0");
        return;
    }
    require(!isIgnored(text.at(number.consumed - 1)), "blanks after the number are not taken");

    // The number is all in what it took: reading only that gives the same.
    const QStringView taken = QStringView(text).first(number.consumed);
    const LeadingNumber again = leadingNumber(taken.toString());
    require(again.value == number.value && again.ok == number.ok && again.consumed == number.consumed,
            "the taken characters alone read the same");

    std::string digits = numberText(taken);
    if (digits.front() != '&') {
        std::replace(digits.begin(), digits.end(), 'D', 'e'); // strtod knows only E exponents
        std::replace(digits.begin(), digits.end(), 'd', 'e');
        checkAgainstStrtod(digits, number);
        return;
    }
    const char kind = digits.size() > 1 ? digits[1] : '?';
    require(kind == 'H' || kind == 'h' || kind == 'O' || kind == 'o', "only &H and &O start a number");
    digits.erase(0, 2);
    if (digits.empty())
        require(number.ok && number.value == 0, "a prefix without digits is 0");
    else if (kind == 'H' || kind == 'h')
        checkAgainstStrtod("0x" + digits, number);
    else
        checkAgainstStrtod("0x" + octalAsHex(digits), number);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    checkText(QString::fromUtf8(bytes));
    checkText(QString::fromLatin1(bytes));
    return 0;
}
