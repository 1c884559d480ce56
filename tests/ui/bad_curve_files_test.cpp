#include "support/fake_desktop.h"
#include "support/test_charts.h"
#include "support/widget_helpers.h"
#include "ui/bad_input_support.h"
#include "ui/form1.h"
#include "ui/form5.h"
#include "ui/values_list.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

const QString kNothingToDelete = u"Henüz değer girilmedi."_s;

// A line as the point deletion writes it back: the second value starts at the next 14-character zone.
QByteArray zoned(const QByteArray &first, const QByteArray &second)
{
    const qsizetype blanks = 14 - first.size() % 14;
    return first + QByteArray(blanks, ' ') + second + "\r\n";
}

class BadCurveFiles : public ::testing::Test {
protected:
    // A calibrated chart "graf.bmp" with curve 1 started: its points go to graf_1.txt.
    void startCurve(Form1 &form)
    {
        calibrateLinearChart(form, desktop, folder.path(), u"graf.bmp"_s);
        click(form, u"Command8"_s);
        ASSERT_TRUE(desktop.warnings.isEmpty());
    }
    QString curveFile() const { return QDir(folder.path()).filePath(u"graf_1.txt"_s); }
    static QByteArray line(QPoint p) { return expectedX(p.x()) + "  " + expectedY(p.y()) + "\r\n"; }

    QTemporaryDir folder;
    CurrentFolder current{folder.path()};
    FakeDesktop desktop;
};

} // namespace

TEST_F(BadCurveFiles, FolderAtTheCurveFileNameTouchesNothingAndThePointIsListed)
{
    Form1 form(desktop);
    startCurve(form);
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"graf_1.txt"_s));
    ASSERT_TRUE(writeBytes(curveFile() + u"/inside.txt"_s, "1  2\r\n"));
    const FolderSnapshot before = snapshotOf(folder.path());

    pressOnChart(form, {300, 200}); // the append
    EXPECT_EQ(form.form5()->list()->count(), 1);
    EXPECT_EQ(form.form5()->list()->line(0), u"  1        50.0000        15.0000"_s);
    EXPECT_TRUE(desktop.warnings.isEmpty());
    click(form, u"Command1"_s); // the deletion of the last point
    EXPECT_EQ(desktop.warnings, QStringList{kNothingToDelete});
    EXPECT_EQ(changedPaths(before, snapshotOf(folder.path())), std::vector<std::string>{});

    // With the name free again the next point makes the file.
    ASSERT_TRUE(QDir(curveFile()).removeRecursively());
    pressOnChart(form, {400, 140});
    EXPECT_EQ(fileBytes(curveFile()), line({400, 140}));
    EXPECT_EQ(form.state().pointNumber, 2);
}

TEST_F(BadCurveFiles, FileChangedBetweenTwoPointsIsExtendedNeverTruncated)
{
    struct Row {
        const char *change;
        bool remove;
        QByteArray replacement;
    };
    const Row rows[] = {
        {"deleted", true, {}},
        {"emptied", false, {}},
        {"other text", false, "ölçüm notu: başka bir şey\r\n"},
        {"other values without a line end", false, "7  8\r\n9  10"},
        {"binary", false, QByteArray("\0\x01\xFF\r\n\0", 6)},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.change);
        QFile::remove(curveFile());
        desktop.warnings.clear();
        Form1 form(desktop);
        startCurve(form);
        pressOnChart(form, {100, 320});
        ASSERT_EQ(fileBytes(curveFile()), line({100, 320}));
        if (row.remove) {
            ASSERT_TRUE(QFile::remove(curveFile()));
        } else {
            ASSERT_TRUE(writeBytes(curveFile(), row.replacement));
        }
        pressOnChart(form, {300, 200});
        EXPECT_EQ(fileBytes(curveFile()), row.replacement + line({300, 200}));
        EXPECT_EQ(form.form5()->list()->count(), 2);
        EXPECT_TRUE(desktop.warnings.isEmpty());
    }
}

TEST_F(BadCurveFiles, DeletingTheLastPointOfPreparedFiles)
{
    Form1 form(desktop);
    startCurve(form);
    const QByteArray longNumber = "1" + QByteArray(99'999, '0');
    const QByteArray kept = zoned("1.00", "2.00");
    struct Row {
        const char *what;
        QByteArray content;
        QByteArray expected; // unchanged content when the deletion refuses
        bool refused;
    };
    const Row rows[] = {
        {"LF line ends", "1.00  2.00\n3.00  4.00\n", kept, false},
        {"CR line ends", "1.00  2.00\r3.00  4.00\r", kept, false},
        {"trailing blank line", "1.00  2.00\r\n3.00  4.00\r\n\r\n", kept, false},
        {"no final line end", "1.00  2.00\r\n3.00  4.00", kept, false},
        {"commas", "1.00,2.00\r\n3.00,4.00\r\n", kept, false},
        {"tabs", "1.00\t2.00\r\n3.00\t4.00\r\n", kept, false},
        {"values that could not convert", "NaN  2.00\r\n3.00  NaN\r\n", zoned("NaN", "2.00"), false},
        {"one point", "1.00  2.00\r\n", "", false},
        {"empty", "", "", false},
        {"a 100000-digit number", longNumber + "  2.00\r\n3.00  4.00\r\n", zoned(longNumber, "2.00"), false},
        {"NUL bytes between lines", QByteArray("1.00  2.00\r\n\0\0\r\n3.00  4.00\r\n", 26), {}, true},
        {"NUL byte in a value", QByteArray("1.00\0  2.00\r\n3.00  4.00\r\n", 25), {}, true},
        {"odd number of values", "1.00  2.00\r\n3.00\r\n", {}, true},
        {"a 100000-character word", QByteArray(100'000, 'x') + "\r\n1.00  2.00\r\n", {}, true},
        {"text", "x  y\r\n1.00  2.00\r\n3.00  4.00\r\n", {}, true},
    };
    ASSERT_EQ(rows[10].content.count('\0'), 2);
    ASSERT_EQ(rows[11].content.count('\0'), 1);
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        desktop.warnings.clear();
        ASSERT_TRUE(writeBytes(curveFile(), row.content));
        const FolderSnapshot before = snapshotOf(folder.path());
        click(form, u"Command1"_s);
        if (row.refused) {
            EXPECT_EQ(desktop.warnings, QStringList{kNothingToDelete});
            EXPECT_EQ(changedPaths(before, snapshotOf(folder.path())), std::vector<std::string>{});
        } else {
            EXPECT_TRUE(desktop.warnings.isEmpty());
            EXPECT_EQ(fileBytes(curveFile()), row.expected);
            EXPECT_EQ(snapshotOf(folder.path()).size(), before.size()); // no copy left behind
        }
    }
    // The curve goes on in the same file.
    ASSERT_TRUE(writeBytes(curveFile(), "1.00  2.00\r\n"));
    pressOnChart(form, {300, 200});
    EXPECT_EQ(fileBytes(curveFile()), "1.00  2.00\r\n" + line({300, 200}));
}

TEST_F(BadCurveFiles, DeletingTheLastOfAMillionPointsRewritesEveryOtherLine)
{
    Form1 form(desktop);
    startCurve(form);
    constexpr int kLines = 1'000'000;
    QByteArray content;
    QByteArray expected;
    content.reserve(kLines * 24);
    expected.reserve(kLines * 24);
    for (int i = 0; i < kLines; ++i) {
        // Widths vary so that both the zone padding and a value longer than a zone occur.
        const QByteArray x = QByteArray::number(i) + "." + QByteArray::number(i % 7);
        const QByteArray y = i % 1000 == 0 ? "-" + QByteArray(15, char('0' + i % 10)) : QByteArray::number(-i);
        content += x + "  " + y + "\r\n";
        if (i + 1 < kLines)
            expected += zoned(x, y);
    }
    ASSERT_TRUE(writeBytes(curveFile(), content));
    click(form, u"Command1"_s);
    EXPECT_TRUE(desktop.warnings.isEmpty());
    const QByteArray after = fileBytes(curveFile());
    EXPECT_EQ(after.count("\r\n"), kLines - 1);
    EXPECT_TRUE(after == expected); // no printout of 20 MB on a failure
}

TEST_F(BadCurveFiles, FullDiskKeepsTheEarlierLinesAndThePointIsListed)
{
    Form1 form(desktop);
    startCurve(form);
    SmallDisk disk;
    if (disk.path().isEmpty())
        GTEST_SKIP() << "neither mount nor unshare -rm could mount a small tmpfs here";
    CurrentFolder onDisk(disk.path()); // the curve file's bare name now lands on the small disk
    const QString curve = QDir(disk.path()).filePath(u"graf_1.txt"_s);
    const QString filler = QDir(disk.path()).filePath(u"filler"_s);

    // The file ends on a page boundary, so the new line gets no byte, or 6 bytes short of one, so it gets a part.
    const QByteArray fullPage = QByteArray("1.0000  2.0000\r\n").repeated(256);
    const QByteArray shortPage = QByteArray("1.0000  2.0000\r\n").repeated(255) + "1.0  2.0\r\n";
    ASSERT_EQ(fullPage.size(), 4096);
    ASSERT_EQ(shortPage.size(), 4090);
    int listed = 0;
    for (const QByteArray &earlier : {fullPage, shortPage}) {
        SCOPED_TRACE(earlier.size());
        ASSERT_TRUE(writeBytes(curve, earlier));
        ASSERT_GT(fillUp(filler), 0);
        ASSERT_FALSE(writeBytes(QDir(disk.path()).filePath(u"probe"_s), "x")) << "the disk is not full";
        QFile::remove(QDir(disk.path()).filePath(u"probe"_s));

        pressOnChart(form, {300, 200});
        EXPECT_EQ(fileBytes(curve).size(), earlier.size());
        EXPECT_EQ(fileBytes(curve), earlier); // byte for byte, no half line
        EXPECT_EQ(form.form5()->list()->count(), ++listed);
        EXPECT_TRUE(desktop.warnings.isEmpty());
        // No room for the rewritten copy either: the one warning the deletion has, and the file as it was.
        click(form, u"Command1"_s);
        EXPECT_EQ(desktop.warnings, QStringList{kNothingToDelete});
        EXPECT_EQ(fileBytes(curve), earlier);
        EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files).size(), 2) << "a copy was left behind";
        desktop.warnings.clear();

        // With room again the next point is appended after the earlier lines.
        ASSERT_TRUE(QFile::remove(filler));
        pressOnChart(form, {400, 140});
        EXPECT_EQ(fileBytes(curve), earlier + line({400, 140}));
        EXPECT_EQ(form.form5()->list()->count(), ++listed);
    }
}
