#include "support/fake_desktop.h"
#include "support/test_charts.h"
#include "support/widget_helpers.h"
#include "ui/bad_input_support.h"
#include "ui/form1.h"
#include "ui/form5.h"
#include "ui/values_list.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

const QString kNoValues = u"Lütfen! Eksenlerin ilk ve son değerlerini ilgili kutulara giriniz."_s;
const QString kNoClick =
    u"Lütfen! Eksenlerin ilk ve son değerlerinin okunduğu yerlere tıklayıp, ATAmalarını yapınız."_s;
const QString kNoPicture = u"Lütfen önce bir grafik yükleyiniz."_s;
const QString kNothingToDelete = u"Henüz değer girilmedi."_s;

class Form1Curves : public ::testing::Test {
protected:
    void loadChart(Form1 &form, const QString &name = u"graf.bmp"_s)
    {
        desktop.pictureAnswers.push_back(saveChart(linearChart().image, folder.path(), name));
        click(form, u"Command3"_s);
    }
    void prepareCurve(Form1 &form) { calibrateLinearChart(form, desktop, folder.path(), u"graf.bmp"_s); }
    QString inFolder(const QString &name) const { return QDir(folder.path()).filePath(name); }
    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(inFolder(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir folder;
    QTemporaryDir startFolder;
    CurrentFolder current{startFolder.path()};
    FakeDesktop desktop;
};

} // namespace

TEST_F(Form1Curves, CurveStartRefusesWithoutValuesClickOrPicture)
{
    Form1 form(desktop);
    click(form, u"Command8"_s);
    typeInto(form, u"Text1"_s, u"abc"_s); // not a number: still zero
    click(form, u"Command8"_s);
    typeInto(form, u"Text4"_s, u"5"_s); // one value is enough
    click(form, u"Command8"_s);
    pressOnChart(form, {20, 30});
    click(form, u"Command8"_s);
    EXPECT_EQ(desktop.warnings, (QStringList{kNoValues, kNoValues, kNoClick, kNoPicture}));
    EXPECT_EQ(form.state().curveNumber, 0);
    EXPECT_TRUE(control(form, u"Text1"_s)->isEnabled());
}

// Only a press at the very corner counts as no press: one on the top or the left edge is a press.
TEST_F(Form1Curves, PressOnTheTopOrLeftEdgeIsAClick)
{
    for (const QPoint edge : {QPoint(0, 150), QPoint(250, 0)}) {
        SCOPED_TRACE(::testing::Message() << edge.x() << ", " << edge.y());
        Form1 form(desktop);
        loadChart(form);
        typeInto(form, u"Text3"_s, u"100"_s);
        pressOnChart(form, edge);
        ASSERT_EQ(form.state().lastClickX, edge.x() * 15);
        ASSERT_EQ(form.state().lastClickY, edge.y() * 15);
        click(form, u"Command8"_s);
        EXPECT_EQ(form.state().curveNumber, 1);
    }
    EXPECT_TRUE(desktop.warnings.isEmpty()) << desktop.warnings.join(u'|').toStdString();
}

TEST_F(Form1Curves, DecimalCommaStopsTheStartAndNamesTheText)
{
    Form1 form(desktop);
    prepareCurve(form);
    const QString comma = u"Ondalık sayılarda virgül yerine nokta kullanınız: "_s;
    typeInto(form, u"Text3"_s, u" 2,5 "_s);
    click(form, u"Command8"_s);
    for (const char16_t *box : {u"Text1", u"Text2", u"Text3", u"Text4"})
        typeInto(form, QString::fromUtf16(box), u"0,5"_s); // each reads 0, but the comma is what to mend
    click(form, u"Command8"_s);
    EXPECT_EQ(desktop.warnings, (QStringList{comma + u"2,5"_s, comma + u"0,5"_s}));
    EXPECT_EQ(form.state().curveNumber, 0);
    EXPECT_TRUE(control(form, u"Text3"_s)->isEnabled());

    typeInto(form, u"Text1"_s, u"0"_s);
    typeInto(form, u"Text2"_s, u"0"_s);
    typeInto(form, u"Text3"_s, u"2.5,3"_s); // a comma after a number with a point reads as designed
    typeInto(form, u"Text4"_s, u"&H1,5"_s);
    click(form, u"Command8"_s);
    EXPECT_EQ(desktop.warnings.size(), 2);
    EXPECT_EQ(form.state().curveNumber, 1);
}

TEST_F(Form1Curves, EachStartNumbersNamesAndColoursTheNextCurve)
{
    Form1 form(desktop);
    prepareCurve(form);
    for (int i = 0; i < 4; ++i)
        click(form, u"Command8"_s);
    EXPECT_EQ(form.state().curveNumber, 4);
    EXPECT_EQ(control<QLabel>(form, u"Label16"_s)->text(), u"4"_s);
    EXPECT_EQ(control<QLineEdit>(form, u"Text8"_s)->text(), u"graf_4.txt"_s);
    ValuesList *list = form.form5()->list();
    EXPECT_EQ(list->palette().color(QPalette::Text), QColor(128, 0, 0));
    EXPECT_FALSE(form.form5()->isVisible()); // a start does not show the values

    for (int i = 0; i < 5; ++i)
        click(form, u"Command8"_s);
    EXPECT_EQ(form.state().curveNumber, 9);
    EXPECT_EQ(list->palette().color(QPalette::Text), QColor(128, 128, 128));
    EXPECT_TRUE(desktop.warnings.isEmpty());
}

TEST_F(Form1Curves, StartLocksCalibrationClearsTheListAndRestartsNumbering)
{
    Form1 form(desktop);
    prepareCurve(form);
    click(form, u"Command8"_s);
    pressOnChart(form, {100, 100});
    pressOnChart(form, {120, 100});
    for (const char16_t *name : {u"Command4", u"Command5", u"Command6", u"Command7", u"Text1", u"Text2", u"Text3",
                                 u"Text4", u"Label6", u"Label7", u"Label8", u"Label9", u"Check1", u"Check2"})
        EXPECT_FALSE(control(form, QString::fromUtf16(name))->isEnabled()) << QString::fromUtf16(name).toStdString();
    EXPECT_TRUE(control(form, u"Command1"_s)->isEnabled());
    EXPECT_TRUE(control(form, u"Label2"_s)->isEnabled());

    click(form, u"Command8"_s);
    EXPECT_EQ(form.form5()->list()->count(), 0);
    pressOnChart(form, {140, 100});
    EXPECT_TRUE(form.form5()->list()->line(0).startsWith(u"  1        "_s));
}

TEST_F(Form1Curves, CurveCounterStopsAt32767)
{
    Form1 form(desktop);
    prepareCurve(form);
    for (int i = 0; i < 32767; ++i)
        click(form, u"Command8"_s);
    ASSERT_EQ(form.state().curveNumber, 32767);
    ASSERT_TRUE(desktop.warnings.isEmpty());
    click(form, u"Command8"_s);
    EXPECT_EQ(form.state().curveNumber, 32767);
    EXPECT_EQ(desktop.warnings.size(), 1);
    EXPECT_EQ(form.state().curveFileName, u"graf_32767.txt"_s);
}

TEST_F(Form1Curves, DeletingTheLastPointRewritesOnlyTheFile)
{
    Form1 form(desktop);
    prepareCurve(form);
    click(form, u"Command1"_s); // nothing recorded: graf_0.txt does not exist
    click(form, u"Command8"_s);
    click(form, u"Command1"_s); // graf_1.txt does not exist yet
    EXPECT_EQ(desktop.warnings, (QStringList{kNothingToDelete, kNothingToDelete}));

    writeFile(u"graf_1.txt"_s, "1.00  2.00\r\n3.00  4.00\r\n"); // left from an earlier run
    click(form, u"Command1"_s);
    EXPECT_EQ(fileBytes(inFolder(u"graf_1.txt"_s)), "1.00          2.00\r\n");
    pressOnChart(form, {300, 200});
    EXPECT_EQ(fileBytes(inFolder(u"graf_1.txt"_s)), "1.00          2.00\r\n50.0000  15.0000\r\n");
    EXPECT_EQ(form.state().pointNumber, 1);

    writeFile(u"graf_1.txt"_s, "1.00  2.00\r\n3.00\r\n"); // an odd number of values
    click(form, u"Command1"_s);
    EXPECT_EQ(desktop.warnings.size(), 3);
    EXPECT_EQ(fileBytes(inFolder(u"graf_1.txt"_s)), "1.00  2.00\r\n3.00\r\n");
    EXPECT_EQ(form.form5()->list()->count(), 1);
}

TEST_F(Form1Curves, PointIsListedEvenWhenItsFileCannotBeWritten)
{
    Form1 form(desktop);
    prepareCurve(form);
    click(form, u"Command8"_s);
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"graf_1.txt"_s)); // a folder where the file should be
    pressOnChart(form, {300, 200});
    EXPECT_EQ(form.state().pointNumber, 1);
    EXPECT_EQ(form.form5()->list()->count(), 1);
    EXPECT_TRUE(QFileInfo(inFolder(u"graf_1.txt"_s)).isDir());
    EXPECT_TRUE(desktop.warnings.isEmpty());
}

TEST_F(Form1Curves, PointCounterStopsAt32767AndPointsGoOnBeingRecorded)
{
    Form1 form(desktop);
    prepareCurve(form);
    click(form, u"Command8"_s);
    for (int i = 0; i < 32768; ++i)
        pressOnChart(form, {300, 200});
    EXPECT_EQ(form.state().pointNumber, 32767);
    ValuesList *list = form.form5()->list();
    ASSERT_EQ(list->count(), 32768);
    EXPECT_TRUE(list->line(32766).startsWith(u"  32767        "_s));
    EXPECT_TRUE(list->line(32767).startsWith(u"  32767        "_s));
    EXPECT_EQ(fileBytes(inFolder(u"graf_1.txt"_s)).count("\r\n"), 32768);
}
