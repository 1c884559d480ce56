#include "ui/format_file.h"

#include "state/text_value.h"

#include <QFile>
#include <QSaveFile>

#include <cmath>
#include <limits>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Only the first item matters; an item longer than this is no choice. Blanks around it do not count, however
// many there are.
constexpr qsizetype kMaxItemBytes = 4096;
constexpr qint64 kChunkBytes = 4096;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool endsItem(char c)
{
    return c == ',' || c == '\r' || c == '\n';
}

// The first item of the file without the blanks around it, read a chunk at a time; nothing when it is too long.
std::optional<QByteArray> firstItem(QFile &file)
{
    QByteArray item;
    qsizetype pendingBlanks = 0; // blanks after the item so far: inside it only if more follows
    QByteArray chunk;
    while (!(chunk = file.read(kChunkBytes)).isEmpty()) {
        for (const char c : std::as_const(chunk)) {
            if (endsItem(c)) {
                return item;
            }
            if (isBlank(c)) {
                pendingBlanks += item.isEmpty() ? 0 : 1;
                continue;
            }
            if (item.size() + pendingBlanks + 1 > kMaxItemBytes) {
                return std::nullopt;
            }
            item.append(QByteArray(pendingBlanks, ' '));
            item.append(c);
            pendingBlanks = 0;
        }
    }
    return item;
}

} // namespace

std::int16_t readFormatChoice(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const std::optional<QByteArray> bytes = firstItem(file);
    if (!bytes || bytes->isEmpty()) {
        return 0;
    }
    const QString item = QString::fromLatin1(*bytes);
    const LeadingNumber number = leadingNumber(item);
    if (!number.ok || number.consumed != item.size()) {
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
