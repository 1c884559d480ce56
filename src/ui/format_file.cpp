#include "ui/format_file.h"

#include "state/text_value.h"

#include <QFile>
#include <QSaveFile>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Only the first item matters; an item that does not end within this many bytes is not a choice.
constexpr qint64 kMaxItemBytes = 4096;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

std::int16_t readFormatChoice(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QByteArray head = file.read(kMaxItemBytes);
    qsizetype end = 0;
    while (end < head.size() && head[end] != ',' && head[end] != '\r' && head[end] != '\n') {
        ++end;
    }
    if (end == head.size() && !file.atEnd()) {
        return 0;
    }

    const QString text = QString::fromLatin1(head.first(end));
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlank(text[first])) {
        ++first;
    }
    while (last > first && isBlank(text[last - 1])) {
        --last;
    }
    const QString item = text.sliced(first, last - first);
    const LeadingNumber number = leadingNumber(item);
    if (item.isEmpty() || !number.ok || number.consumed != item.size()) {
        return 0;
    }
    // The default rounding mode rounds ties to even: 2.5 is 2, 3.5 is 4.
    const double rounded = std::nearbyint(number.value);
    if (rounded < std::numeric_limits<std::int16_t>::min() || rounded > std::numeric_limits<std::int16_t>::max()) {
        return 0;
    }
    return static_cast<std::int16_t>(rounded);
}

QByteArray formatFileBytes(std::int16_t choice)
{
    return (choice < 0 ? QByteArray() : " "_ba) + QByteArray::number(int(choice)) + " \r\n"_ba;
}

bool writeFormatFile(const QString &path, std::int16_t choice)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray bytes = formatFileBytes(choice);
    // commit() does not see a write that fails only when it is flushed (a full disk) and would report an
    // empty file as saved.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
