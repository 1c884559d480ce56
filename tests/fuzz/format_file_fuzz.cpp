// Any bytes as a saved number-format file: the choice read is the first item's whole number, nearest with ties to
// even, or 0; nothing after the item changes it.
#include "fuzz_support.h"

#include "state/text_value.h"
#include "ui/format_file.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// An item longer than this, blanks around it not counted, is no choice.
constexpr qsizetype kLongestItem = 4096;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The first item with its blanks trimmed, or nothing when it is too long to be a choice.
std::optional<QByteArray> firstItem(const QByteArray &bytes)
{
    qsizetype end = 0;
    while (end < bytes.size() && bytes[end] != ',' && bytes[end] != '\r' && bytes[end] != '\n')
        ++end;
    qsizetype first = 0;
    while (first < end && isBlank(bytes[first]))
        ++first;
    while (end > first && isBlank(bytes[end - 1]))
        --end;
    if (end - first > kLongestItem)
        return {};
    return bytes.sliced(first, end - first);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString path = scratchFolder() + u"/xformats.txt"_s;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    writeFileBytes(path, bytes);
    const std::int16_t choice = readFormatChoice(path);

    const std::optional<QByteArray> item = firstItem(bytes);
    if (!item) {
        require(choice == 0, "an item too long to be a choice is none");
        return 0;
    }
    std::int16_t expected = 0;
    const QString text = QString::fromLatin1(*item);
    const LeadingNumber number = leadingNumber(text);
    if (!text.isEmpty() && number.ok && number.consumed == text.size()) {
        double rounded = std::round(number.value);
        if (std::fabs(number.value - std::trunc(number.value)) == 0.5 && std::fmod(rounded, 2) != 0)
            rounded -= std::copysign(1.0, number.value); // a tie goes to the even neighbour
        if (rounded >= -32768 && rounded <= 32767)
            expected = std::int16_t(rounded);
    }
    require(choice == expected, "the choice is the first item's nearest whole number");

    // Neither what follows the item nor the blanks around it count.
    writeFileBytes(path, *item);
    require(readFormatChoice(path) == choice, "only the first item counts");
    return 0;
}
