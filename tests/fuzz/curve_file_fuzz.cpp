// Any bytes as a curve file whose last point is deleted: either the file is left byte for byte as it was, or it
// holds the old value pairs but the last, as kept lines; no other file is ever left beside it.
#include "fuzz_support.h"

#include "digitize/curve_file.h"
#include "state/text_value.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

bool isSeparator(char c)
{
    return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n';
}

std::vector<QByteArray> valuesOf(const QByteArray &bytes)
{
    std::vector<QByteArray> values;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        const bool separator = i == bytes.size() || isSeparator(bytes.at(i));
        if (separator && start >= 0) {
            values.push_back(bytes.sliced(start, i - start));
            start = -1;
        } else if (!separator && start < 0) {
            start = i;
        }
    }
    return values;
}

// A number a value box reads whole (beyond the double range or not), or NaN in any case.
bool isValue(const QByteArray &text)
{
    const QString value = QString::fromLatin1(text);
    return leadingNumber(value).consumed == value.size() || value.compare(u"nan"_s, Qt::CaseInsensitive) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString path = scratchFolder() + u"/egri_1.txt"_s;
    const QByteArray before(reinterpret_cast<const char *>(data), qsizetype(size));
    writeFileBytes(path, before);

    const RewriteResult result = rewriteWithoutLast(path);
    const QByteArray after = fileBytes(path);
    require(folderEntries(scratchFolder()) == QStringList{u"egri_1.txt"_s}, "only the curve file is in its folder");

    std::vector<QByteArray> values = valuesOf(before);
    const bool pairs = values.size() % 2 == 0 && std::all_of(values.begin(), values.end(), isValue);
    if (result != RewriteResult::Rewritten) {
        require(after == before, "a file that is not rewritten keeps its bytes");
        require(result == RewriteResult::Unreadable, "an existing, writable file is either rewritten or unreadable");
        require(!pairs, "value pairs are rewritten");
        return 0;
    }
    require(pairs, "only value pairs are rewritten");
    values.resize(values.empty() ? 0 : values.size() - 2);
    require(valuesOf(after) == values, "the rewrite keeps every value but the last pair, as it was written");
    QByteArray expected;
    for (std::size_t i = 0; i < values.size(); i += 2)
        expected += keptLine(values[i], values[i + 1]);
    require(after == expected, "every kept pair is one kept line");
    return 0;
}
