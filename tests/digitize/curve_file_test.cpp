#include "digitize/curve_file.h"

#include "state/text_value.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>

#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

void writeBytes(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
}

// One line as the rewrite should leave it, the blank count spelled out by the caller.
QByteArray line(const QByteArray &first, int blanks, const QByteArray &second)
{
    return first + QByteArray(blanks, ' ') + second + "\r\n";
}

std::vector<QByteArray> tokensOf(const QByteArray &bytes)
{
    std::vector<QByteArray> tokens;
    QByteArray current;
    for (const char c : bytes) {
        if (c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n') {
            if (!current.isEmpty()) {
                tokens.push_back(current);
            }
            current.clear();
        } else {
            current.append(c);
        }
    }
    if (!current.isEmpty()) {
        tokens.push_back(current);
    }
    return tokens;
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

std::string printable(const QByteArray &bytes)
{
    return bytes.left(60).toPercentEncoding(" .+-,&").toStdString();
}

class CurveFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString &name = u"egri_1.txt"_s) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

} // namespace

TEST(CurveFileNames, CarryTheCurveNumber)
{
    EXPECT_EQ(curveFileName(u"egri"_s, 0), u"egri_0.txt"_s);
    EXPECT_EQ(curveFileName(u"egri."_s, 2), u"egri._2.txt"_s);
    EXPECT_EQ(curveFileName(u"ölçüm"_s, 12), u"ölçüm_12.txt"_s);
    EXPECT_EQ(curveFileName(u"a b"_s, 32767), u"a b_32767.txt"_s);
    EXPECT_EQ(curveFileName(u""_s, 1), u"_1.txt"_s);
}

TEST(CurveFileLines, PointLinesAreNeitherPaddedNorAligned)
{
    EXPECT_EQ(pointLine(u"-3.20"_s, u"4.00"_s), QByteArray("-3.20  4.00\r\n"));
    EXPECT_EQ(pointLine(u""_s, u"5.00"_s), QByteArray("  5.00\r\n"));
    EXPECT_EQ(pointLine(u"1.000E+03"_s, u""_s), QByteArray("1.000E+03  \r\n"));
    EXPECT_EQ(pointLine(u"123456789012345678"_s, u"-0.0001"_s), QByteArray("123456789012345678  -0.0001\r\n"));
}

TEST(CurveFileLines, KeptLinesStartTheSecondValueAtTheNextPrintZone)
{
    EXPECT_EQ(keptLine("-3.20", "4.00"), QByteArray("-3.20         4.00\r\n"));
    struct Row {
        int firstLength;
        int secondPosition; // counted from 1
    };
    const Row rows[] = {{0, 15}, {1, 15}, {13, 15}, {14, 29}, {15, 29}, {27, 29}, {28, 43}, {100, 113}};
    for (const Row &row : rows) {
        SCOPED_TRACE("first value of " + QByteArray::number(row.firstLength).toStdString() + " characters");
        const QByteArray first(row.firstLength, '7');
        EXPECT_EQ(keptLine(first, "-1.5E+02"), line(first, row.secondPosition - 1 - row.firstLength, "-1.5E+02"));
    }
}

TEST_F(CurveFileTest, AppendingAddsOneLineAndKeepsWhatWasThere)
{
    ASSERT_TRUE(appendPointRecord(path(), u"1.00"_s, u"2.00"_s));
    ASSERT_TRUE(appendPointRecord(path(), u"-3.20"_s, u"4.00"_s));
    ASSERT_TRUE(appendPointRecord(path(), u""_s, u"5.00"_s));
    EXPECT_EQ(readBytes(path()), QByteArray("1.00  2.00\r\n-3.20  4.00\r\n  5.00\r\n"));

    // A file left by an earlier run is continued, not replaced.
    const QString earlier = path(u"egri_2.txt"_s);
    writeBytes(earlier, "9.00  8.00\r\n7.00  6.00\r\n");
    ASSERT_TRUE(appendPointRecord(earlier, u"5.0000"_s, u"4.0000"_s));
    EXPECT_EQ(readBytes(earlier), QByteArray("9.00  8.00\r\n7.00  6.00\r\n5.0000  4.0000\r\n"));
}

TEST_F(CurveFileTest, AppendingFailsWhereAFolderStands)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"egri_1.txt"_s));
    EXPECT_FALSE(appendPointRecord(path(), u"1.00"_s, u"2.00"_s));
    EXPECT_TRUE(QFileInfo(path()).isDir());
    EXPECT_EQ(entriesOf(m_dir.path()), QStringList{u"egri_1.txt"_s});
    EXPECT_TRUE(entriesOf(path()).isEmpty());
}

TEST_F(CurveFileTest, AppendingHandlesTurkishLettersAndBlanksInTheName)
{
    const QString name = u"eğri ölçüm_1.txt"_s;
    ASSERT_TRUE(appendPointRecord(path(name), u"1.00"_s, u"2.00"_s));
    ASSERT_TRUE(appendPointRecord(path(name), u"3.00"_s, u"4.00"_s));
    EXPECT_EQ(entriesOf(m_dir.path()), QStringList{name});
    EXPECT_EQ(readBytes(path(name)), QByteArray("1.00  2.00\r\n3.00  4.00\r\n"));
    EXPECT_EQ(rewriteWithoutLast(path(name)), RewriteResult::Rewritten);
    EXPECT_EQ(readBytes(path(name)), line("1.00", 10, "2.00"));
}

TEST_F(CurveFileTest, RewriteDropsOnePointAtATime)
{
    writeBytes(path(), "-3.20  4.00\r\n1.50  2.25\r\n7.00  8.00\r\n");
    const QByteArray first = line("-3.20", 9, "4.00");
    const QByteArray second = line("1.50", 10, "2.25");
    const QByteArray steps[] = {first + second, first, "", ""};
    for (const QByteArray &expected : steps) {
        SCOPED_TRACE("expecting " + printable(expected));
        ASSERT_EQ(rewriteWithoutLast(path()), RewriteResult::Rewritten);
        EXPECT_TRUE(QFileInfo(path()).isFile());
        EXPECT_EQ(readBytes(path()), expected);
    }
    EXPECT_EQ(readBytes(path()).indexOf("4.00"), -1);
}

// A written trace is taken back in one rewrite: however many lines it had, across pieces of the file or not.
TEST_F(CurveFileTest, RewriteDropsTheLastLinesAtOnce)
{
    constexpr int kLines = 40001;
    QByteArray points;
    std::vector<QByteArray> kept;
    for (int i = 0; i < kLines; ++i) {
        const QByteArray x = QByteArray::number(i), y = QByteArray::number(-i) + ".5";
        points += x + "  " + y + "\r\n";
        kept.push_back(keptLine(x, y));
    }
    for (const qsizetype dropped : {qsizetype(2), qsizetype(17000), qsizetype(kLines), qsizetype(kLines + 5)}) {
        SCOPED_TRACE(dropped);
        writeBytes(path(), points);
        ASSERT_EQ(rewriteWithoutLast(path(), dropped), RewriteResult::Rewritten);
        QByteArray expected;
        for (qsizetype i = 0; i + dropped < kLines; ++i) {
            expected += kept[std::size_t(i)];
        }
        EXPECT_EQ(readBytes(path()), expected);
    }
}

TEST_F(CurveFileTest, RewriteHasNoLineLimit)
{
    QByteArray bytes;
    for (int i = 1; i <= 40001; ++i) { // the copy is written in several pieces
        bytes += QByteArray::number(i) + "  " + QByteArray::number(-i) + ".5\r\n";
    }
    writeBytes(path(), bytes);
    ASSERT_EQ(rewriteWithoutLast(path()), RewriteResult::Rewritten);
    const QList<QByteArray> lines = readBytes(path()).split('\n');
    ASSERT_EQ(lines.size(), 40001); // 40000 lines and what follows the last line end
    EXPECT_EQ(lines.first(), line("1", 13, "-1.5").chopped(1));
    EXPECT_EQ(lines.at(99), line("100", 11, "-100.5").chopped(1));
    for (int i = 1; i <= 40000; ++i) {
        const QByteArray x = QByteArray::number(i);
        ASSERT_EQ(lines.at(i - 1), line(x, 14 - int(x.size()), "-" + x + ".5").chopped(1)) << i;
    }
    EXPECT_TRUE(lines.last().isEmpty());
}

TEST_F(CurveFileTest, RewriteReadsPairsWhereverTheFileIsCutIntoPieces)
{
    // The file is read in pieces of 256 KiB. Leading blanks move every line across the first cut by one byte at
    // a time, a whole line's worth, so that the cut falls inside each value and separator in turn.
    const QByteArray point = "12.5  -3.25E+02\r\n";
    const int lines = 262144 / int(point.size()) + 2;
    QByteArray expected;
    for (int i = 1; i < lines; ++i) {
        expected += line("12.5", 10, "-3.25E+02");
    }
    for (int blanks = 0; blanks <= point.size(); ++blanks) {
        SCOPED_TRACE(blanks);
        writeBytes(path(), QByteArray(blanks, ' ') + point.repeated(lines));
        ASSERT_EQ(rewriteWithoutLast(path()), RewriteResult::Rewritten);
        EXPECT_EQ(readBytes(path()), expected);
    }
}

TEST_F(CurveFileTest, RewriteReadsValuesWhateverSeparatesThem)
{
    const QByteArray twoKept = line("1", 13, "2") + line("3", 13, "4");
    struct Row {
        std::string name;
        QByteArray before;
        QByteArray after;
    };
    const std::vector<Row> rows{
        {"line feeds only", "1 2\n3 4\n5 6\n", twoKept},
        {"commas", "1,2\r\n3,4\r\n5,6\r\n", twoKept},
        {"tabs and no final line end", "1\t2\r\n3\t4\r\n5\t6", twoKept},
        {"trailing blank lines", "1 2\r\n3 4\r\n5 6\r\n\r\n  \r\n", twoKept},
        {"pairs across lines", "1\r\n2 3\r\n4\r\n5 6", twoKept},
        {"mixed", "  1 , 2  \r\n\r\n 3\t\t4 ,5,6\n", twoKept},
        {"carriage returns only", "1 2\r3 4\r5 6\r", twoKept},
        {"one pair without line end", "1 2", ""},
        {"blank lines only", "\r\n \r\n\t", ""},
        {"signs and exponents", "+1.5E+03 -2d-2\r\n.5 5.\r\n&HFF &o17\r\n0 0\r\n",
         line("+1.5E+03", 6, "-2d-2") + line(".5", 12, "5.") + line("&HFF", 10, "&o17")},
        {"not a number", "NaN  1.00\r\n2.00  nan\r\n", line("NaN", 11, "1.00")},
        {"beyond double range", "1E+999 2\r\n3 4\r\n", line("1E+999", 8, "2")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        writeBytes(path(), row.before);
        ASSERT_EQ(rewriteWithoutLast(path()), RewriteResult::Rewritten);
        EXPECT_EQ(readBytes(path()), row.after);
    }
}

TEST_F(CurveFileTest, RewriteLeavesFilesThatAreNotValuePairsAlone)
{
    struct Row {
        std::string name;
        QByteArray bytes;
    };
    const std::vector<Row> rows{
        {"odd number of values", "1.00  2.00\r\n3.00\r\n"},
        {"odd across lines", "1 2 3 4 5"},
        {"a word", "x  2.00\r\n3.00  4.00\r\n"},
        {"two decimal marks", "1.2.3  4\r\n5  6\r\n"},
        {"trailing letters", "12abc  3\r\n"},
        {"exponent without digits", "1e  2\r\n"},
        {"sign alone", "-  2\r\n"},
        {"semicolon", "1;5  2\r\n"},
        {"infinity", "Inf  2\r\n"},
        {"nul bytes", QByteArray("1  2\r\n3\0  4\r\n", 13)},
        {"only nul bytes", QByteArray(8, '\0')},
        {"form feed", "1  2\r\n3\f4  5\r\n"},
        {"non-ASCII", "1  2\r\n3  4\xc3\xa9\r\n"},
        {"octal digit 8", "&O18  2\r\n"},
        {"bad last value", "1 2\r\n3 4\r\n5 x\r\n"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        writeBytes(path(), row.bytes);
        EXPECT_EQ(rewriteWithoutLast(path()), RewriteResult::Unreadable);
        EXPECT_EQ(readBytes(path()), row.bytes);
    }
}

TEST_F(CurveFileTest, RewriteAcceptsExactlyTheNumbersAValueBoxReads)
{
    // Every token of up to three characters from an alphabet that covers the number forms, and some longer.
    const QByteArray alphabet = "7.eD+-&hO8FnA";
    std::vector<QByteArray> tokens{"-12.5E+03",
                                   "&hFF",
                                   "&O777",
                                   "1.e5",
                                   ".5d-1",
                                   "+.e1",
                                   "&H-1",
                                   "NaNa",
                                   "1e+",
                                   "0.000E+00",
                                   "12345678901234567890",
                                   "--1",
                                   "1-",
                                   "&",
                                   "&Hx"};
    for (const char a : alphabet) {
        tokens.push_back(QByteArray(1, a));
        for (const char b : alphabet) {
            tokens.push_back(QByteArray(1, a) + b);
            for (const char c : alphabet) {
                tokens.push_back(QByteArray(1, a) + b + c);
            }
        }
    }
    int accepted = 0;
    for (const QByteArray &token : tokens) {
        SCOPED_TRACE(token.toStdString());
        const QString text = QString::fromLatin1(token);
        const bool isValue =
            leadingNumber(text).consumed == text.size() || text.compare(u"nan"_s, Qt::CaseInsensitive) == 0;
        const QByteArray bytes = token + " 1\r\n2 3\r\n";
        writeBytes(path(), bytes);
        const RewriteResult result = rewriteWithoutLast(path());
        EXPECT_EQ(result, isValue ? RewriteResult::Rewritten : RewriteResult::Unreadable);
        EXPECT_EQ(readBytes(path()), isValue ? keptLine(token, "1") : bytes);
        accepted += isValue ? 1 : 0;
    }
    // The table must hold both kinds in numbers to mean anything.
    EXPECT_GT(accepted, 50);
    EXPECT_GT(int(tokens.size()) - accepted, 500);
}

TEST_F(CurveFileTest, RewriteKeepsTheValueTextsAsTheyWere)
{
    const QByteArray bytes = "1.000E+03  -2.500E-01\r\n12345678901234  5\r\nNaN  nan\r\n&HFF  -0.5\r\n"
                             "0.0000  +7\r\n7  8\r\n";
    writeBytes(path(), bytes);
    std::vector<QByteArray> expected = tokensOf(bytes);
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE("round " + QByteArray::number(round).toStdString());
        ASSERT_EQ(rewriteWithoutLast(path()), RewriteResult::Rewritten);
        expected.resize(expected.size() - 2);
        const QByteArray after = readBytes(path());
        EXPECT_EQ(tokensOf(after), expected);
        EXPECT_EQ(after.count("\r\n"), qsizetype(expected.size() / 2));
    }
    // The 14-character value pushes its partner into the third print zone.
    EXPECT_EQ(readBytes(path()),
              line("1.000E+03", 5, "-2.500E-01") + line("12345678901234", 14, "5") + line("NaN", 11, "nan"));
}

TEST_F(CurveFileTest, RewriteHandlesAHugeValue)
{
    // 100000 characters end 2 short of the zone boundary at 100002, 300000 (a line longer than a piece of the
    // copy) 6 short of 300006.
    for (const auto &[length, gap] : {std::pair{100000, 2}, std::pair{300000, 6}}) {
        const QByteArray digits(length, '3');
        writeBytes(path(), digits + " 7\r\n5 " + digits + "\r\n1  2\r\n");
        ASSERT_EQ(rewriteWithoutLast(path()), RewriteResult::Rewritten);
        EXPECT_EQ(readBytes(path()), line(digits, gap, "7") + line("5", 13, digits)) << length;
    }
}

TEST_F(CurveFileTest, RewriteFindsNoFileWhereThereIsNone)
{
    EXPECT_EQ(rewriteWithoutLast(path()), RewriteResult::Missing);
    EXPECT_FALSE(QFileInfo::exists(path()));

    ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"egri_2.txt"_s));
    EXPECT_EQ(rewriteWithoutLast(path(u"egri_2.txt"_s)), RewriteResult::Missing);
    EXPECT_TRUE(QFileInfo(path(u"egri_2.txt"_s)).isDir());
    EXPECT_EQ(entriesOf(m_dir.path()), QStringList{u"egri_2.txt"_s});
}

TEST_F(CurveFileTest, RewriteLeavesNoTemporaryFile)
{
    writeBytes(path(), "1  2\r\n3  4\r\n");
    ASSERT_EQ(rewriteWithoutLast(path()), RewriteResult::Rewritten);
    EXPECT_EQ(entriesOf(m_dir.path()), QStringList{u"egri_1.txt"_s});
    writeBytes(path(), "1  2\r\n3\r\n");
    ASSERT_EQ(rewriteWithoutLast(path()), RewriteResult::Unreadable);
    EXPECT_EQ(entriesOf(m_dir.path()), QStringList{u"egri_1.txt"_s});

    // A long file is found bad only after pieces of its copy have gone out.
    QByteArray longFile;
    for (int i = 0; i < 40000; ++i) {
        longFile += "1.25  -3.5E+02\r\n";
    }
    for (const QByteArray &end : {QByteArray("7  x\r\n"), QByteArray("7\r\n")}) {
        writeBytes(path(), longFile + end);
        ASSERT_EQ(rewriteWithoutLast(path()), RewriteResult::Unreadable);
        EXPECT_EQ(readBytes(path()), longFile + end);
        EXPECT_EQ(entriesOf(m_dir.path()), QStringList{u"egri_1.txt"_s});
    }
}

TEST_F(CurveFileTest, RewriteThatCannotReplaceKeepsTheOldFile)
{
    const QByteArray bytes = "1  2\r\n3  4\r\n";
    writeBytes(path(), bytes);
    const QFileDevice::Permissions writable = QFile::permissions(m_dir.path());
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool stillWritable = QFile(path(u"probe"_s)).open(QIODevice::WriteOnly);
    if (stillWritable) {
        QFile::remove(path(u"probe"_s));
        QFile::setPermissions(m_dir.path(), writable);
        GTEST_SKIP() << "folder permissions do not bind this user";
    }
    const RewriteResult result = rewriteWithoutLast(path());
    QFile::setPermissions(m_dir.path(), writable);
    EXPECT_EQ(result, RewriteResult::WriteFailed);
    EXPECT_EQ(readBytes(path()), bytes);
    EXPECT_EQ(entriesOf(m_dir.path()), QStringList{u"egri_1.txt"_s});
}
