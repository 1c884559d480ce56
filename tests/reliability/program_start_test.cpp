// Paths reach other programs as one argument, never through a shell: quotes, semicolons, "$(...)", backticks
// and blanks in a folder or file name are only characters.
#include "support/fake_desktop.h"
#include "support/test_charts.h"
#include "support/widget_helpers.h"
#include "ui/form1.h"
#include "ui/help/form3.h"
#include "ui/qt_desktop.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Each would run `touch PWNED` if a shell saw it.
const QStringList kHostileNames = {u"run; touch PWNED"_s, u"run $(touch PWNED)"_s, u"run `touch PWNED`"_s,
                                   u"run 'a' \"b\" && touch PWNED |"_s, u"run\" ; touch PWNED; \""_s};

bool writeFile(const QString &path, const QByteArray &bytes, bool executable = false)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    return !executable || file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ReadGroup | QFile::ExeGroup);
}

// Polls for a file a detached program writes; bounded so that a program that never runs fails the test.
bool appears(const QString &path)
{
    QDeadlineTimer deadline(10000);
    while (!QFileInfo::exists(path) && !deadline.hasExpired())
        QTest::qWait(10);
    return QFileInfo::exists(path);
}

bool hasPwned(const QString &folder)
{
    return QFileInfo::exists(QDir(folder).filePath(u"PWNED"_s));
}

} // namespace

TEST(ProgramStart, HostilePicturePathReachesFilesAndViewerUnchanged)
{
    QTemporaryDir root;
    QTemporaryDir startFolder;
    CurrentFolder current(startFolder.path());
    const QString folderName = u"it's \"a\"; $(touch PWNED) `touch PWNED` & b"_s;
    ASSERT_TRUE(QDir(root.path()).mkdir(folderName));
    const QString folder = QDir(root.path()).filePath(folderName);
    const QString pictureName = u"graf 'x'; $(touch PWNED).bmp"_s;
    FakeDesktop desktop;
    desktop.pictureAnswers.push_back(saveChart(linearChart().image, folder, pictureName));
    Form1 form(desktop);
    click(form, u"Command3"_s);
    ASSERT_TRUE(desktop.warnings.isEmpty());
    EXPECT_EQ(control<QLineEdit>(form, u"Text9"_s)->text(), pictureName);

    // Curve files land beside the picture, under the picture's own name.
    const TestChart chart = linearChart();
    typeInto(form, u"Text1"_s, chart.xValue0);
    typeInto(form, u"Text3"_s, chart.xValue1);
    typeInto(form, u"Text2"_s, chart.yValue0);
    typeInto(form, u"Text4"_s, chart.yValue1);
    for (const auto &[tick, button] : {std::pair{chart.xTick0, u"Command4"_s},
                                       {chart.yTick0, u"Command5"_s},
                                       {chart.xTick1, u"Command6"_s},
                                       {chart.yTick1, u"Command7"_s}}) {
        pressOnChart(form, tick);
        click(form, button);
    }
    click(form, u"Command8"_s);
    pressOnChart(form, {300, 200});
    EXPECT_EQ(fileBytes(QDir(folder).filePath(u"graf 'x'; $(touch PWNED)_1.txt"_s)).count("\r\n"), 1);

    // The manual is found in the picture's folder and handed over as that one path.
    const QString manual = QDir(folder).filePath(u"zorvane-Tessarix.pdf"_s);
    ASSERT_TRUE(writeFile(manual, "%PDF-1.4\n"));
    click(form, u"Command9"_s);
    auto *form3 = form.findChild<Form3 *>(u"Form3"_s);
    ASSERT_NE(form3, nullptr);
    click(*form3, u"Command1"_s);
    EXPECT_EQ(desktop.openedDocuments, QStringList{QFileInfo(manual).absoluteFilePath()});
    EXPECT_TRUE(form3->printedLines().isEmpty());

    // The magnifier's paths are its own, whatever folder the picture moved the program to.
    desktop.programsStart = false;
    click(form, u"Command18"_s);
    EXPECT_EQ(desktop.startedPrograms,
              (QStringList{u"C:\\windows\\system32\\magnify.exe"_s, u"C:\\winnt\\system32\\magnify.exe"_s}));
    EXPECT_FALSE(hasPwned(folder) || hasPwned(root.path()) || hasPwned(startFolder.path()));
}

TEST(ProgramStart, RealStartRunsExactlyTheNamedScriptAndRefusesNonPrograms)
{
    QTemporaryDir folder;
    QTemporaryDir startFolder;
    ASSERT_FALSE(folder.path().contains(u'\'')); // the scripts quote their marker paths with it
    CurrentFolder current(startFolder.path());
    QtDesktop desktop;
    for (qsizetype i = 0; i < kHostileNames.size(); ++i) {
        const QString &name = kHostileNames[i];
        SCOPED_TRACE(name.toStdString());
        const QString marker = QDir(folder.path()).filePath(u"marker-"_s + QString::number(i));
        const QString script = QDir(folder.path()).filePath(name);
        ASSERT_TRUE(writeFile(script, "#!/bin/sh\n: > '" + QFile::encodeName(marker) + "'\n", true));
        ASSERT_TRUE(desktop.startProgram(script));
        EXPECT_TRUE(appears(marker));
    }
    QStringList expected = kHostileNames;
    for (qsizetype i = 0; i < kHostileNames.size(); ++i)
        expected.append(u"marker-"_s + QString::number(i));
    expected.sort();
    QStringList found = QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    found.sort();
    EXPECT_EQ(found, expected);
    EXPECT_TRUE(QDir(startFolder.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

    const QString text = QDir(folder.path()).filePath(u"notes; touch PWNED.txt"_s);
    ASSERT_TRUE(writeFile(text, "touch PWNED\n"));
    EXPECT_FALSE(desktop.startProgram(text));
    EXPECT_FALSE(desktop.startProgram(folder.path()));
    EXPECT_FALSE(desktop.startProgram(QDir(folder.path()).filePath(u"missing $(touch PWNED)"_s)));
    EXPECT_FALSE(hasPwned(folder.path()) || hasPwned(startFolder.path()));
}
