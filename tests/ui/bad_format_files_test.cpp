#include "support/fake_desktop.h"
#include "support/test_charts.h"
#include "support/widget_helpers.h"
#include "ui/bad_input_support.h"
#include "ui/form1.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

class BadFormatFiles : public ::testing::Test {
protected:
    QString inStart(const QString &name) const { return QDir(startFolder.path()).filePath(name); }
    bool checked(const Form1 &form, const QString &name) const
    {
        return control<QAbstractButton>(form, name)->isChecked();
    }

    QTemporaryDir startFolder; // the format files live here
    QTemporaryDir pictures;
    CurrentFolder current{startFolder.path()};
};

} // namespace

TEST_F(BadFormatFiles, StartPicksASaneChoiceAndLeavesTheFilesUntilTheUserSaves)
{
    QByteArray junk(10 * 1024 * 1024, '\0');
    for (qsizetype i = 0; i < junk.size(); ++i)
        junk[i] = char("çöp\xFF\x7F#%"[i % 9]); // no comma or line end anywhere
    ASSERT_FALSE(junk.contains('\n') || junk.contains('\r') || junk.contains(','));

    struct Row {
        const char *what;
        QByteArray content;
        std::int16_t choice; // 0: none read, the panel's default (the middle option) stays
    };
    const Row rows[] = {
        {"10 MB of junk", junk, 0},
        {"10 MB of junk after a choice", "1\r\n" + junk, 1},
        {"a choice followed by 10 MB of blanks without a line end", "3" + QByteArray(10 * 1024 * 1024, ' '), 3},
        {"NUL bytes", QByteArray(16, '\0'), 0},
        {"a choice with a NUL byte", QByteArray("3\0\r\n", 4), 0},
        {"a NUL byte before a choice",
         QByteArray("\0"
                    "3\r\n",
                    4),
         0},
        {"3 without a line end", "3", 3},
        {"&H3", "&H3", 3},
        {"&H3 with a line end", "&H3\r\n", 3},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        CurrentFolder atStart(startFolder.path()); // the last row's picture load moved away from it
        ASSERT_TRUE(writeBytes(inStart(u"xformats.txt"_s), row.content));
        ASSERT_TRUE(writeBytes(inStart(u"yformats.txt"_s), row.content));
        const FolderSnapshot before = snapshotOf(startFolder.path());
        FakeDesktop desktop;
        Form1 form(desktop);
        EXPECT_EQ(form.state().xFormatChoice, row.choice);
        EXPECT_EQ(form.state().yFormatChoice, row.choice);
        const bool third = row.choice == 3;
        const bool first = row.choice == 1;
        EXPECT_EQ(checked(form, u"Option4"_s), first);
        EXPECT_EQ(checked(form, u"Option5"_s), !first && !third);
        EXPECT_EQ(checked(form, u"Option6"_s), third);
        EXPECT_EQ(checked(form, u"Option9"_s), third);

        // Digitizing reads the options, so the chosen format shows in the file.
        calibrateLinearChart(form, desktop, pictures.path(), u"graf.bmp"_s);
        click(form, u"Command8"_s);
        pressOnChart(form, {300, 200});
        const QByteArray recorded = third   ? "5.000E+01  1.500E+01\r\n"
                                    : first ? "50.00  15.00\r\n"
                                            : "50.0000  15.0000\r\n";
        EXPECT_EQ(fileBytes(QDir(pictures.path()).filePath(u"graf_1.txt"_s)), recorded);
        EXPECT_TRUE(desktop.warnings.isEmpty());
        EXPECT_EQ(changedPaths(before, snapshotOf(startFolder.path())), std::vector<std::string>{});

        // Saving the x format replaces only its own file.
        click(form, u"Command13"_s);
        const QByteArray saved = third ? " 3 \r\n" : first ? " 1 \r\n" : " 2 \r\n";
        EXPECT_EQ(fileBytes(inStart(u"xformats.txt"_s)), saved);
        EXPECT_EQ(changedPaths(before, snapshotOf(startFolder.path())), std::vector<std::string>{"xformats.txt"});
        EXPECT_TRUE(desktop.warnings.isEmpty());
        QFile::remove(QDir(pictures.path()).filePath(u"graf_1.txt"_s));
    }
}

TEST_F(BadFormatFiles, SaveOnAFullDiskWarnsAndKeepsTheSavedChoice)
{
    SmallDisk disk;
    if (disk.path().isEmpty())
        GTEST_SKIP() << "neither mount nor unshare -rm could mount a small tmpfs here";
    const QString formats = QDir(disk.path()).filePath(u"xformats.txt"_s);
    ASSERT_TRUE(writeBytes(formats, " 3 \r\n"));
    ASSERT_GT(fillUp(QDir(disk.path()).filePath(u"filler"_s)), 0);

    CurrentFolder onDisk(disk.path());
    // The start folder is kept as an absolute path; a disk seen only through /proc does not lie under it.
    if (!QFile::exists(QDir(QDir::currentPath()).filePath(u"xformats.txt"_s)))
        GTEST_SKIP() << "the small tmpfs is reachable only through /proc here, not by the folder's own path";
    FakeDesktop desktop;
    Form1 form(desktop);
    ASSERT_TRUE(checked(form, u"Option6"_s));
    click(form, u"Option4"_s);
    click(form, u"Command13"_s);
    const QString shownPath = QDir::toNativeSeparators(QDir(QDir::currentPath()).filePath(u"xformats.txt"_s));
    EXPECT_EQ(desktop.warnings, QStringList{u"Sayı biçimi \"%1\" dosyasına kaydedilemedi."_s.arg(shownPath)});
    EXPECT_EQ(fileBytes(formats), " 3 \r\n");
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files).size(), 2) << "a copy was left behind";

    ASSERT_TRUE(QFile::remove(QDir(disk.path()).filePath(u"filler"_s)));
    click(form, u"Command13"_s);
    EXPECT_EQ(fileBytes(formats), " 1 \r\n");
    EXPECT_EQ(desktop.warnings.size(), 1);
}
