#include "digitize/curve_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kPrintZone = 14;

bool isSeparator(char c)
{
    return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

std::size_t skipDigits(std::string_view t, std::size_t i)
{
    while (i < t.size() && isDigit(t[i])) {
        ++i;
    }
    return i;
}

// True when the whole token is one number as a value box reads it (leadingNumber would take every character),
// checked on the bytes so that a long file needs no conversions. Tokens never hold blanks, so the blanks
// leadingNumber steps over do not arise.
bool isWholeNumber(std::string_view t)
{
    if (t.empty()) {
        return false;
    }
    if (t[0] == '&') {
        if (t.size() < 2) {
            return false;
        }
        const char kind = upper(t[1]);
        const auto rest = t.substr(2);
        if (kind == 'H') {
            return std::all_of(rest.begin(), rest.end(), isHexDigit);
        }
        if (kind == 'O') {
            return std::all_of(rest.begin(), rest.end(), isOctalDigit);
        }
        return false;
    }
    std::size_t i = t[0] == '+' || t[0] == '-' ? 1 : 0;
    const std::size_t intStart = i;
    i = skipDigits(t, i);
    bool anyDigit = i > intStart;
    if (i < t.size() && t[i] == '.') {
        const std::size_t fractionStart = ++i;
        i = skipDigits(t, i);
        anyDigit = anyDigit || i > fractionStart;
    }
    if (!anyDigit) {
        return false;
    }
    if (i == t.size()) {
        return true;
    }
    // An exponent without digits is not part of the number, so its letter would be left over.
    const char e = upper(t[i]);
    if (e != 'E' && e != 'D') {
        return false;
    }
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        ++i;
    }
    const std::size_t exponentStart = i;
    i = skipDigits(t, i);
    return i > exponentStart && i == t.size();
}

bool isNaNText(std::string_view t)
{
    return t.size() == 3 && upper(t[0]) == 'N' && upper(t[1]) == 'A' && upper(t[2]) == 'N';
}

bool isValue(std::string_view t)
{
    return isWholeNumber(t) || isNaNText(t);
}

// The values of a file one after the other, whatever separates them.
class TokenReader {
public:
    explicit TokenReader(const QByteArray &data)
        : m_pos(data.constData())
        , m_end(data.constData() + data.size())
    {}

    // The next value's text, or an empty view at the end.
    std::string_view next()
    {
        while (m_pos != m_end && isSeparator(*m_pos)) {
            ++m_pos;
        }
        const char *start = m_pos;
        while (m_pos != m_end && !isSeparator(*m_pos)) {
            ++m_pos;
        }
        return {start, std::size_t(m_pos - start)};
    }

private:
    const char *m_pos;
    const char *m_end;
};

qsizetype secondColumn(qsizetype firstLength)
{
    return kPrintZone * (firstLength / kPrintZone + 1);
}

qsizetype keptLineLength(qsizetype firstLength, qsizetype secondLength)
{
    return secondColumn(firstLength) + secondLength + 2;
}

// Writes a kept line at `out`, which has room for keptLineLength(), and returns the end of what it wrote.
char *writeKeptLine(char *out, QByteArrayView first, QByteArrayView second)
{
    out = std::copy(first.begin(), first.end(), out);
    out = std::fill_n(out, secondColumn(first.size()) - first.size(), ' ');
    out = std::copy(second.begin(), second.end(), out);
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

QByteArrayView view(std::string_view t)
{
    return {t.data(), qsizetype(t.size())};
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// A rewrite killed between QSaveFile's link and rename leaves its copy beside the file as "<name>." and six
// random letters. Nothing ever reads it again: remove it before the next copy is made.
void removeStaleCopies(const QFileInfo &info)
{
    QDir folder = info.absoluteDir();
    const QString prefix = info.fileName() + u'.';
    const QStringList files = folder.entryList(QDir::Files | QDir::Hidden, QDir::NoSort);
    for (const QString &name : files) {
        if (name.size() == prefix.size() + 6 && name.startsWith(prefix) &&
            std::all_of(name.begin() + prefix.size(), name.end(), isAsciiLetter)) {
            folder.remove(name);
        }
    }
}

} // namespace

QString curveFileName(const QString &stem, std::int16_t curveNumber)
{
    return stem + u'_' + QString::number(curveNumber) + u".txt"_s;
}

QByteArray pointLine(const QString &xText, const QString &yText)
{
    QByteArray line = xText.toLatin1();
    line.append("  ");
    line.append(yText.toLatin1());
    line.append("\r\n");
    return line;
}

bool appendPointRecord(const QString &fileName, const QString &xText, const QString &yText)
{
    QFile file(fileName);
    const bool existed = file.exists();
    // Unbuffered: a buffered QFile that could not flush refuses to resize, and would write the rest of the
    // line on close, so a full disk left half a line.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        return false;
    }
    const qint64 sizeBefore = file.size();
    const QByteArray line = pointLine(xText, yText);
    const bool written = file.write(line) == line.size();
    if (!written) {
        // Leave no half line behind: the next point would otherwise continue it.
        file.resize(sizeBefore);
    }
    file.close();
    if (!written && !existed) {
        file.remove();
    }
    return written;
}

QByteArray keptLine(QByteArrayView first, QByteArrayView second)
{
    QByteArray line(keptLineLength(first.size(), second.size()), Qt::Uninitialized);
    writeKeptLine(line.data(), first, second);
    return line;
}

RewriteResult rewriteWithoutLast(const QString &fileName)
{
    // A folder at the name is no curve file either.
    const QFileInfo info(fileName);
    if (!info.isFile()) {
        return RewriteResult::Missing;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        return RewriteResult::Unreadable;
    }
    const QByteArray data = file.readAll();
    const bool readFailed = file.error() != QFileDevice::NoError;
    file.close();
    if (readFailed) {
        return RewriteResult::Unreadable;
    }
    if (data.isEmpty()) {
        return RewriteResult::Rewritten;
    }

    // First pass: check every value, so that nothing is written for a file that is not all points.
    qsizetype pairs = 0;
    {
        TokenReader reader(data);
        for (std::string_view x = reader.next(); !x.empty(); x = reader.next()) {
            const std::string_view y = reader.next();
            if (y.empty() || !isValue(x) || !isValue(y)) {
                return RewriteResult::Unreadable;
            }
            ++pairs;
        }
    }

    removeStaleCopies(info);
    QSaveFile save(fileName);
    if (!save.open(QIODevice::WriteOnly)) {
        return RewriteResult::WriteFailed;
    }
    // The copy goes out a piece at a time: a second buffer the size of a long file would cost fresh memory on
    // every rewrite, and it would no longer be in the cache when it was written.
    constexpr qsizetype kPieceBytes = 256 * 1024;
    QByteArray piece(kPieceBytes, Qt::Uninitialized);
    qsizetype used = 0;
    const auto writePiece = [&] {
        const bool written = save.write(piece.constData(), used) == used;
        used = 0;
        return written;
    };
    TokenReader reader(data);
    for (qsizetype i = 0; i + 1 < pairs; ++i) {
        const std::string_view x = reader.next();
        const std::string_view y = reader.next();
        const qsizetype length = keptLineLength(qsizetype(x.size()), qsizetype(y.size()));
        if (used + length > piece.size()) {
            if (!writePiece()) {
                return RewriteResult::WriteFailed; // the unfinished copy goes with save
            }
            if (length > piece.size()) {
                piece.resize(length);
            }
        }
        writeKeptLine(piece.data() + used, view(x), view(y));
        used += length;
    }
    // commit() does not see a buffered write that fails only when it flushes (a full disk): it would put the
    // unfinished copy in the file's place and report success.
    if (!writePiece() || !save.flush()) {
        return RewriteResult::WriteFailed; // the unfinished copy goes with save
    }
    return save.commit() ? RewriteResult::Rewritten : RewriteResult::WriteFailed;
}
