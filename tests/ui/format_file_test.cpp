#include "ui/format_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(FormatFileTest, ReadsTheFirstItemAsAWholeNumber)
{
    const std::pair<QByteArray, std::int16_t> rows[] = {
        {" 3 \r\n"_ba, 3},
        {"3"_ba, 3},
        {"7"_ba, 7},
        {"0"_ba, 0},
        {"2.5"_ba, 2},
        {"3.5"_ba, 4},
        {"-2.5"_ba, -2},
        {"1e1"_ba, 10},
        {"2,9"_ba, 2},
        {"&H3"_ba, 3},
        {"\t4\t ,9\r\n"_ba, 4},
        {"5\n6"_ba, 5},
        {"-32768"_ba, -32768},
        {"32767"_ba, 32767},
        {"-32768.5"_ba, -32768},
        {"32767.5"_ba, 0},
        {"40000"_ba, 0},
        {"1e999"_ba, 0},
        {"abc"_ba, 0},
        {"3 x"_ba, 0},
        {"3\xA0"_ba, 0},
        {"\xA0"_ba
         "3"_ba,
         0},
        {"-"_ba, 0},
        {"\r\n3"_ba, 0},
        {" ,3"_ba, 0},
        {""_ba, 0},
        {QByteArray("3\0\0", 3), 0},
        {QByteArray("\0"
                    "3",
                    2),
         0},
    };
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"xformats.txt"_s);
    for (const auto &[bytes, expected] : rows) {
        SCOPED_TRACE(bytes.toPercentEncoding().toStdString());
        writeBytes(path, bytes);
        EXPECT_EQ(readFormatChoice(path), expected);
    }
}

TEST(FormatFileTest, MissingFoldersAndHugeFilesGiveZero)
{
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(readFormatChoice(dir.filePath(u"missing.txt"_s)), 0);
    EXPECT_EQ(readFormatChoice(dir.path()), 0);

    const QString path = dir.filePath(u"yformats.txt"_s);
    writeBytes(path, QByteArray(10 * 1024 * 1024, '1'));
    EXPECT_EQ(readFormatChoice(path), 0);
    writeBytes(path, "3,"_ba + QByteArray(10 * 1024 * 1024, '1'));
    EXPECT_EQ(readFormatChoice(path), 3);
    // Blanks around the item count for nothing, however many there are.
    const QByteArray blanks(5 * 1024 * 1024, ' ');
    for (const QByteArray &bytes :
         {"3"_ba + blanks + "\r\n"_ba, blanks + "3\r\n"_ba, "\t"_ba + blanks + "3"_ba + blanks}) {
        writeBytes(path, bytes);
        EXPECT_EQ(readFormatChoice(path), 3);
    }
    writeBytes(path, "3"_ba + blanks + "4"_ba);
    EXPECT_EQ(readFormatChoice(path), 0);
}

TEST(FormatFileTest, BytesAreBlankNumberBlankCrLf)
{
    EXPECT_EQ(formatFileBytes(2), QByteArray("\x20\x32\x20\x0d\x0a"));
    EXPECT_EQ(formatFileBytes(0), " 0 \r\n"_ba);
    EXPECT_EQ(formatFileBytes(-5), "-5 \r\n"_ba);
    EXPECT_EQ(formatFileBytes(32767), " 32767 \r\n"_ba);
    EXPECT_EQ(formatFileBytes(-32768), "-32768 \r\n"_ba);
}

TEST(FormatFileTest, WritesAndReadsBack)
{
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"xformats.txt"_s);
    writeBytes(path, "a longer old content, replaced entirely\r\n"_ba);
    for (const std::int16_t choice : {1, 2, 3, -32768}) {
        SCOPED_TRACE(choice);
        ASSERT_TRUE(writeFormatFile(path, choice));
        EXPECT_EQ(readBytes(path), formatFileBytes(choice));
        EXPECT_EQ(readFormatChoice(path), choice);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{u"xformats.txt"_s});
}

TEST(FormatFileTest, UnwritablePathsFailAndKeepWhatWasThere)
{
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath(u"yformats.txt"_s);
    ASSERT_TRUE(QDir().mkdir(folder));
    writeBytes(folder + u"/inside.txt"_s, "kept"_ba);

    EXPECT_FALSE(writeFormatFile(folder, 2));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(readBytes(folder + u"/inside.txt"_s), "kept"_ba);
    EXPECT_FALSE(writeFormatFile(dir.filePath(u"no/such/folder/xformats.txt"_s), 2));
}
