#include "support/fake_desktop.h"
#include "support/test_charts.h"
#include "support/widget_helpers.h"
#include "ui/bad_input_support.h"
#include "ui/form1.h"
#include "ui/help/form3.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

int windowsNamed(const QString &name)
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += w->objectName() == name;
    return count;
}

class Form1Windows : public ::testing::Test {
protected:
    QTemporaryDir folder;
    CurrentFolder current{folder.path()};
    FakeDesktop desktop;
};

} // namespace

TEST_F(Form1Windows, AuxiliaryWindowsAreCreatedOnFirstShowAndOnlyOnce)
{
    Form1 form(desktop);
    for (const char16_t *name : {u"Form2", u"Form3", u"Form5", u"ContactWindow"})
        EXPECT_EQ(windowsNamed(QString::fromUtf16(name)), 0);

    const std::pair<const char16_t *, const char16_t *> openers[] = {
        {u"Command11", u"Form2"}, {u"Command9", u"Form3"}, {u"Command10", u"ContactWindow"}};
    for (const auto &[button, window] : openers) {
        click(form, QString::fromUtf16(button));
        click(form, QString::fromUtf16(button));
        EXPECT_EQ(windowsNamed(QString::fromUtf16(window)), 1) << QString::fromUtf16(window).toStdString();
    }
    auto *form2 = form.findChild<QWidget *>(u"Form2"_s);
    ASSERT_NE(form2, nullptr);
    EXPECT_TRUE(form2->isVisible());
    auto *label1 = control<QLabel>(*form2, u"Label1"_s);
    EXPECT_EQ(label1->property("caption").toString(),
              u"Farklı bir eksen tanımlamak için \rbaşlangıç ve bitiş değerlerini atamalısınız. "_s);
    EXPECT_GE(label1->sizeHint().height(), 2 * label1->fontMetrics().height()); // shown as two lines
    EXPECT_EQ(control<QLabel>(*form2, u"Label2"_s)->text(), u"Değiştirilmeyen değerler aynen atanır."_s);
    click(*form2, u"Command2"_s); // "Geri dön"
    EXPECT_FALSE(form2->isVisible());

    auto *contact = form.findChild<QWidget *>(u"ContactWindow"_s);
    ASSERT_NE(contact, nullptr);
    click(*contact, u"Command1"_s); // "Bu Pencereyi &Kapat"
    EXPECT_FALSE(contact->isVisible());
    EXPECT_TRUE(form.isVisible());
}

// The small windows are the main window's own: the window manager keeps them above it, so a press on the
// maximized chart never buries the values list. Form3 has no icon; the others share one of their own.
TEST_F(Form1Windows, SmallWindowsBelongToTheMainWindow)
{
    Form1 form(desktop);
    form.show();
    calibrateLinearChart(form, desktop, folder.path(), u"graf.bmp"_s);
    click(form, u"Command8"_s);
    pressOnChart(form, {300, 200});
    click(form, u"Command11"_s);
    click(form, u"Command9"_s);
    click(form, u"Command10"_s);
    desktop.programsStart = false; // no desktop magnifier: the program's own opens
    click(form, u"Command18"_s);
    click(form, u"Command19"_s);

    const qint64 mainIcon = form.windowIcon().cacheKey();
    for (const char16_t *name : {u"Form5", u"Form2", u"Form3", u"ContactWindow", u"Magnifier", u"Form7"}) {
        SCOPED_TRACE(QString::fromUtf16(name).toStdString());
        auto *window = form.findChild<QWidget *>(QString::fromUtf16(name));
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(window->isVisible());
        EXPECT_TRUE(window->windowType() == Qt::Tool || window->windowType() == Qt::Dialog);
        ASSERT_NE(window->windowHandle(), nullptr);
        EXPECT_EQ(window->windowHandle()->transientParent(), form.windowHandle());
        if (QString::fromUtf16(name) == u"Form3"_s) {
            EXPECT_TRUE(window->windowIcon().isNull());
        } else if (QString::fromUtf16(name) != u"Magnifier"_s) {
            EXPECT_NE(window->windowIcon().cacheKey(), mainIcon);
        }
    }
    EXPECT_FALSE(form.findChild<QWidget *>(u"Form5"_s)->isActiveWindow());
}

TEST_F(Form1Windows, DifferentAxisUnlocksTheCalibrationAgain)
{
    Form1 form(desktop);
    desktop.pictureAnswers.push_back(saveChart(linearChart().image, folder.path(), u"c.jpg"_s));
    click(form, u"Command3"_s);
    typeInto(form, u"Text1"_s, u"3"_s);
    pressOnChart(form, {10, 10});
    click(form, u"Command4"_s);
    click(form, u"Command8"_s);
    ASSERT_FALSE(control(form, u"Text1"_s)->isEnabled());
    click(form, u"Command11"_s);
    for (const char16_t *name : {u"Command4", u"Command5", u"Command6", u"Command7", u"Text1", u"Text2", u"Text3",
                                 u"Text4", u"Label6", u"Label7", u"Label8", u"Label9", u"Check1", u"Check2"})
        EXPECT_TRUE(control(form, QString::fromUtf16(name))->isEnabled()) << QString::fromUtf16(name).toStdString();
    EXPECT_EQ(control<QLineEdit>(form, u"Text1"_s)->text(), u"3"_s); // contents kept
    EXPECT_EQ(control<QLabel>(form, u"Label6"_s)->text(), u"150"_s);
    EXPECT_EQ(form.state().curveNumber, 1);
    EXPECT_TRUE(desktop.warnings.isEmpty());
}

TEST_F(Form1Windows, ManualIsOpenedFromBesideTheProgramOrReportedMissing)
{
    Form1 form(desktop);
    click(form, u"Command9"_s);
    auto *form3 = form.findChild<Form3 *>(u"Form3"_s);
    ASSERT_NE(form3, nullptr);
    click(*form3, u"Command1"_s);
    click(*form3, u"Command1"_s);
    const QString missing = u"zorvane-Tessarix.pdf dosyası bulunamadı."_s;
    EXPECT_EQ(form3->printedLines(), (QStringList{missing, missing})); // one line lower each time
    EXPECT_TRUE(desktop.openedDocuments.isEmpty());

    // Beside the program, while the current folder (the picture's) lacks it.
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(u"zorvane-Tessarix.pdf"_s);
    QFile manual(beside);
    ASSERT_TRUE(manual.open(QIODevice::WriteOnly));
    manual.close();
    click(*form3, u"Command1"_s);
    QFile::remove(beside);
    EXPECT_EQ(desktop.openedDocuments, QStringList{QFileInfo(beside).absoluteFilePath()});
    EXPECT_EQ(form3->printedLines().size(), 2);

    desktop.documentsOpen = false; // no viewer for PDF files
    QFile inCurrent(u"zorvane-Tessarix.pdf"_s);
    ASSERT_TRUE(inCurrent.open(QIODevice::WriteOnly));
    inCurrent.close();
    click(*form3, u"Command1"_s);
    EXPECT_EQ(form3->printedLines().size(), 3);
}
