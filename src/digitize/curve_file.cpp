#include "digitize/curve_file.h"

#include "digitize/replacement_file.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <optional>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kPrintZone = 14;

// A table, because every byte of a long file goes through it.
constexpr std::array<bool, 256> kSeparators = [] {
    std::array<bool, 256> table{};
    for (const unsigned char c : {' ', '\t', ',', '\r', '\n'}) {
        table[c] = true;
    }
    return table;
}();

bool isSeparator(char c)
{
    return kSeparators[static_cast<unsigned char>(c)];
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

constexpr qsizetype kPieceBytes = 256 * 1024;

// The value pairs of a file one after the other, whatever separates them. The file is read a piece at a time,
// so that a long file needs no buffer of its size and every byte is still in the cache when it is checked and
// copied. A pair cut by the end of a piece is moved to the front before the next piece is read after it.
class PairReader {
public:
    enum class Outcome { Pair, End, OddValue, ReadFailed };
    struct Read {
        Outcome outcome = Outcome::End;
        std::string_view x; // valid until the next read
        std::string_view y;
    };

    explicit PairReader(QFile &file)
        : m_file(file)
        , m_buffer(kPieceBytes, Qt::Uninitialized)
    {}

    Read next()
    {
        m_pairStart = -1;
        const std::optional<Bounds> x = nextValue();
        if (!x) {
            return {m_readFailed ? Outcome::ReadFailed : Outcome::End, {}, {}};
        }
        const std::optional<Bounds> y = nextValue();
        if (!y) {
            return {m_readFailed ? Outcome::ReadFailed : Outcome::OddValue, {}, {}};
        }
        const char *base = m_buffer.constData() + m_pairStart;
        return {Outcome::Pair,
                {base + x->start, std::size_t(x->end - x->start)},
                {base + y->start, std::size_t(y->end - y->start)}};
    }

    bool readAnything() const { return m_readAnything; }

private:
    // Offsets from the start of the pair, which reading the next piece does not move.
    struct Bounds {
        qsizetype start = 0;
        qsizetype end = 0;
    };

    std::optional<Bounds> nextValue()
    {
        while (true) {
            m_pos = skipWhile(m_pos, true);
            if (m_pos < m_filled) {
                break;
            }
            if (m_atEnd || !readMore()) {
                return std::nullopt;
            }
        }
        if (m_pairStart < 0) {
            m_pairStart = m_pos;
        }
        const qsizetype start = m_pos - m_pairStart;
        while (true) {
            m_pos = skipWhile(m_pos, false);
            if (m_pos < m_filled || m_atEnd) {
                break;
            }
            if (!readMore()) {
                return std::nullopt;
            }
        }
        return Bounds{start, m_pos - m_pairStart};
    }

    qsizetype skipWhile(qsizetype pos, bool separators) const
    {
        const char *data = m_buffer.constData();
        while (pos < m_filled && isSeparator(data[pos]) == separators) {
            ++pos;
        }
        return pos;
    }

    // Keeps the pair begun so far, reads the next piece after it, and says whether the read went well.
    bool readMore()
    {
        const qsizetype keep = m_pairStart < 0 ? m_pos : m_pairStart;
        char *data = m_buffer.data();
        std::memmove(data, data + keep, std::size_t(m_filled - keep));
        m_filled -= keep;
        m_pos -= keep;
        if (m_pairStart >= 0) {
            m_pairStart = 0;
        }
        if (m_filled > m_buffer.size() - kPieceBytes / 2) {
            m_buffer.resize(m_buffer.size() * 2); // a value longer than a piece
            data = m_buffer.data();
        }
        const qint64 got = m_file.read(data + m_filled, m_buffer.size() - m_filled);
        if (got < 0) {
            m_readFailed = true;
            return false;
        }
        m_atEnd = got == 0;
        m_readAnything = m_readAnything || got > 0;
        m_filled += qsizetype(got);
        return true;
    }

    QFile &m_file;
    QByteArray m_buffer;
    qsizetype m_filled = 0;
    qsizetype m_pos = 0;
    qsizetype m_pairStart = -1; // where the pair being read begins, or -1 between pairs
    bool m_atEnd = false;
    bool m_readFailed = false;
    bool m_readAnything = false;
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

// The copy a rewrite makes, written a piece at a time into a replacement that takes the old file's place only
// at the end. The last `dropped` lines added are always held back, and dropped at the end. The replacement is
// opened with the first piece; once writing fails, lines are no longer kept, so the caller can go on checking
// the rest.
class CopyWithoutLast {
public:
    CopyWithoutLast(const QFileInfo &info, qsizetype dropped)
        : m_save(info.filePath())
        , m_piece(kPieceBytes, Qt::Uninitialized)
        , m_dropped(dropped)
    {}

    void add(std::string_view x, std::string_view y)
    {
        if (m_failed) {
            return;
        }
        const qsizetype length = keptLineLength(qsizetype(x.size()), qsizetype(y.size()));
        if (m_used + length > m_piece.size()) {
            if (!writeHeld()) {
                return;
            }
            if (m_used + length > m_piece.size()) {
                m_piece.resize(m_used + length);
            }
        }
        m_held.push_back(m_used);
        if (qsizetype(m_held.size()) > m_dropped) {
            m_held.pop_front(); // that line is kept
        }
        m_used = writeKeptLine(m_piece.data() + m_used, view(x), view(y)) - m_piece.constData();
    }

    RewriteResult finish()
    {
        if (m_failed || !writeOut(keptEnd())) {
            return RewriteResult::WriteFailed; // the unfinished copy goes with m_save
        }
        return m_save.commit() ? RewriteResult::Rewritten : RewriteResult::WriteFailed;
    }

private:
    // Where the lines held back begin: everything before is kept.
    qsizetype keptEnd() const { return m_held.empty() ? m_used : m_held.front(); }

    // Writes every line but those held back and moves them to the front of the piece.
    bool writeHeld()
    {
        const qsizetype end = keptEnd();
        if (!writeOut(end)) {
            return false;
        }
        char *data = m_piece.data();
        std::memmove(data, data + end, std::size_t(m_used - end));
        m_used -= end;
        for (qsizetype &start : m_held) {
            start -= end;
        }
        return true;
    }

    bool writeOut(qsizetype end)
    {
        if (!m_save.isOpen()) {
            m_failed = !m_save.open();
        }
        m_failed = m_failed || !m_save.write(m_piece.constData(), end);
        return !m_failed;
    }

    ReplacementFile m_save;
    QByteArray m_piece;
    qsizetype m_used = 0;
    qsizetype m_dropped = 1;
    std::deque<qsizetype> m_held; // where each line held back begins
    bool m_failed = false;
};

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

RewriteResult rewriteWithoutLast(const QString &fileName, qsizetype count)
{
    // A folder at the name is no curve file either.
    const QFileInfo info(fileName);
    if (!info.isFile()) {
        return RewriteResult::Missing;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        return RewriteResult::Unreadable;
    }
    // One pass: each pair is checked and copied while it is in the cache. A file found not to be all points
    // keeps its place, byte for byte, and its unfinished copy goes with `copy`.
    PairReader reader(file);
    CopyWithoutLast copy(info, std::max<qsizetype>(count, 1));
    PairReader::Read pair = reader.next();
    for (; pair.outcome == PairReader::Outcome::Pair; pair = reader.next()) {
        if (!isValue(pair.x) || !isValue(pair.y)) {
            return RewriteResult::Unreadable;
        }
        copy.add(pair.x, pair.y);
    }
    if (pair.outcome != PairReader::Outcome::End) {
        return RewriteResult::Unreadable;
    }
    if (!reader.readAnything()) {
        return RewriteResult::Rewritten; // an empty file stays as it is
    }
    return copy.finish();
}
