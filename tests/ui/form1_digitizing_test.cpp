#include "digitize/curve_file.h"
#include "state/text_value.h"
#include "support/fake_desktop.h"
#include "support/test_charts.h"
#include "support/widget_helpers.h"
#include "ui/chart_picture.h"
#include "ui/form1.h"
#include "ui/form5.h"
#include "ui/values_list.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

class Form1Digitizing : public ::testing::Test {
protected:
    // Loads the chart, types the reference values and assigns the four ticks, as a user would.
    void calibrate(Form1 &form, const TestChart &chart, const QString &fileName, bool logarithmic)
    {
        desktop.pictureAnswers.push_back(saveChart(chart.image, folder.path(), fileName));
        click(form, u"Command3"_s);
        ASSERT_TRUE(desktop.warnings.isEmpty()) << desktop.warnings.join(u'|').toStdString();
        typeInto(form, u"Text1"_s, chart.xValue0);
        typeInto(form, u"Text3"_s, chart.xValue1);
        typeInto(form, u"Text2"_s, chart.yValue0);
        typeInto(form, u"Text4"_s, chart.yValue1);
        control<QCheckBox>(form, u"Check1"_s)->setChecked(logarithmic);
        control<QCheckBox>(form, u"Check2"_s)->setChecked(logarithmic);
        const std::pair<QPoint, const char16_t *> assignments[] = {{chart.xTick0, u"Command4"},
                                                                   {chart.yTick0, u"Command5"},
                                                                   {chart.xTick1, u"Command6"},
                                                                   {chart.yTick1, u"Command7"}};
        for (const auto &[tick, button] : assignments) {
            pressOnChart(form, tick);
            click(form, QString::fromUtf16(button));
        }
    }

    QString inFolder(const QString &name) const { return QDir(folder.path()).filePath(name); }

    QTemporaryDir folder;
    QTemporaryDir startFolder;
    CurrentFolder current{startFolder.path()};
    FakeDesktop desktop;
};

// The values of a curve file, token by token.
std::vector<double> readValues(const QByteArray &bytes)
{
    std::vector<double> values;
    for (const QByteArray &token : bytes.simplified().split(' '))
        values.push_back(textValue(QString::fromLatin1(token)).value);
    return values;
}

} // namespace

TEST_F(Form1Digitizing, LinearChartFromPictureToCurveFiles)
{
    Form1 form(desktop);
    const TestChart chart = linearChart();
    calibrate(form, chart, u"eğri ölçüm.jpg"_s, false);

    click(form, u"Command8"_s);
    EXPECT_EQ(control<QLineEdit>(form, u"Text8"_s)->text(), u"eğri ölçüm_1.txt"_s);
    // y = 0.3 x on 0..100 over 500 pixels: 0.2 a pixel in x, 0.1 in y.
    const QPoint points[] = {{100, 320}, {300, 200}, {500, 80}};
    for (QPoint p : points)
        pressOnChart(form, p);
    EXPECT_EQ(fileBytes(inFolder(u"eğri ölçüm_1.txt"_s)),
              "10.0000  3.0000\r\n50.0000  15.0000\r\n90.0000  27.0000\r\n");

    click(form, u"Command8"_s);
    pressOnChart(form, {200, 260}, Qt::RightButton); // any button records
    pressOnChart(form, {400, 140});
    click(form, u"Command1"_s); // the last point of curve 2 goes
    EXPECT_EQ(fileBytes(inFolder(u"eğri ölçüm_2.txt"_s)), "30.0000       9.0000\r\n");
    EXPECT_EQ(fileBytes(inFolder(u"eğri ölçüm_1.txt"_s)).count('\n'), 3);

    // The list keeps the deleted point and numbers on.
    ValuesList *list = form.form5()->list();
    pressOnChart(form, {450, 110});
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->line(0), u"  1        30.0000        9.0000"_s);
    EXPECT_EQ(list->line(2), u"  3        80.0000        24.0000"_s);
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_TRUE(form.form5()->isVisible());
    EXPECT_TRUE(form.form5()->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(desktop.warnings.isEmpty());
}

TEST_F(Form1Digitizing, LogarithmicChartRecordsWithinOnePixel)
{
    Form1 form(desktop);
    const TestChart chart = logChart();
    calibrate(form, chart, u"log chart.bmp"_s, true);
    click(form, u"Option6"_s);
    click(form, u"Option9"_s);
    click(form, u"Command8"_s);
    const QPoint points[] = {{150, 300}, {200, 250}, {250, 200}, {375, 75}};
    for (QPoint p : points)
        pressOnChart(form, p);

    const QByteArray bytes = fileBytes(inFolder(u"log chart_1.txt"_s));
    EXPECT_TRUE(bytes.startsWith("3.162E+00  3.162E+00\r\n1.000E+01  1.000E+01\r\n3.162E+01  3.162E+01\r\n"))
        << bytes.toStdString();
    const std::vector<double> values = readValues(bytes);
    ASSERT_EQ(values.size(), 8u);
    for (size_t i = 0; i < 4; ++i) {
        // 100 pixels a decade: one pixel is a factor of 10^0.01.
        const double x = std::pow(10.0, (points[i].x() - 100) / 100.0);
        const double y = std::pow(10.0, (350 - points[i].y()) / 100.0);
        EXPECT_NEAR(std::log10(values[2 * i]), std::log10(x), 0.01) << i;
        EXPECT_NEAR(std::log10(values[2 * i + 1]), std::log10(y), 0.01) << i;
    }
}

TEST_F(Form1Digitizing, MouseMoveShowsPositionReadoutAndCrossHair)
{
    Form1 form(desktop);
    const TestChart chart = linearChart();
    calibrate(form, chart, u"chart.png"_s, false);
    click(form, u"Option4"_s); // readout "0.0", record "0.00"
    click(form, u"Option1"_s); // full cross-hair

    moveOverChart(form, {123, 200});
    EXPECT_EQ(control<QLabel>(form, u"Label4"_s)->text(), u"1845"_s);
    const float height = (400 + 2 * ChartPicture::kBorderPx) * 15.0f;
    EXPECT_EQ(control<QLabel>(form, u"Label5"_s)->text(), QString::number(height - 3000 - 75));
    EXPECT_EQ(control<QLineEdit>(form, u"Text6"_s)->text(), u"14.6"_s); // 14.6 exactly: (1845 - 750) / 75
    EXPECT_EQ(control<QLineEdit>(form, u"Text7"_s)->text(), u"15.0000"_s);

    const auto *picture = control<ChartPicture>(form, u"Picture1"_s);
    const ChartLine expected[] = {{true, {1845 - 20000, 3000}, {1845 - 120, 3000}},
                                  {true, {1845 + 130, 3000}, {1845 + 20000, 3000}},
                                  {true, {1845, 3000 - 20000}, {1845, 3000 - 120}},
                                  {true, {1845, 3000 + 20000}, {1845, 3000 + 120}}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(picture->line(i).visible) << i;
        EXPECT_EQ(picture->line(i).from, expected[i].from) << i;
        EXPECT_EQ(picture->line(i).to, expected[i].to) << i;
    }
    EXPECT_EQ(picture->cursor().shape(), Qt::CrossCursor);

    pressOnChart(form, {123, 200}); // a press shows the record pattern
    EXPECT_EQ(control<QLineEdit>(form, u"Text6"_s)->text(), u"14.60"_s);

    click(form, u"Option3"_s);
    moveOverChart(form, {10, 10});
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(picture->line(i).visible) << i;
    EXPECT_EQ(picture->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Form1Digitizing, FailedAxisReadsEmptyButRecordsNaN)
{
    Form1 form(desktop);
    const TestChart chart = linearChart();
    calibrate(form, chart, u"chart.jpg"_s, false);
    control<QCheckBox>(form, u"Check2"_s)->setChecked(true);
    typeInto(form, u"Text2"_s, u"0"_s); // a logarithm of 0: the y axis cannot convert

    moveOverChart(form, {300, 200});
    EXPECT_EQ(control<QLineEdit>(form, u"Text6"_s)->text(), u"50.0000"_s);
    EXPECT_EQ(control<QLineEdit>(form, u"Text7"_s)->text(), QString());

    click(form, u"Command8"_s);
    pressOnChart(form, {300, 200});
    EXPECT_EQ(fileBytes(inFolder(u"chart_1.txt"_s)), "50.0000  NaN\r\n");
    EXPECT_EQ(form.form5()->list()->line(0), u"  1        50.0000        NaN"_s);
    click(form, u"Command1"_s);
    EXPECT_EQ(fileBytes(inFolder(u"chart_1.txt"_s)), QByteArray());
    EXPECT_TRUE(desktop.warnings.isEmpty());
}

TEST_F(Form1Digitizing, AssignButtonsCopyTheLastClick)
{
    Form1 form(desktop);
    desktop.pictureAnswers.push_back(saveChart(linearChart().image, folder.path(), u"c.jpg"_s));
    click(form, u"Command3"_s);
    click(form, u"Command4"_s); // before any click: 0
    EXPECT_EQ(control<QLabel>(form, u"Label6"_s)->text(), u"0"_s);
    EXPECT_EQ(control<QLabel>(form, u"Label6"_s)->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    pressOnChart(form, {157, 80});
    click(form, u"Command5"_s);
    click(form, u"Command5"_s); // twice is once
    const float height = (400 + 2 * ChartPicture::kBorderPx) * 15.0f;
    EXPECT_EQ(control<QLabel>(form, u"Label7"_s)->text(), QString::number(height - 1200 - 75));
    EXPECT_EQ(control<QLabel>(form, u"Label7"_s)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(form.state().calibY0Pos, 1200);
    click(form, u"Command6"_s);
    EXPECT_EQ(control<QLabel>(form, u"Label8"_s)->text(), u"2355"_s);
    EXPECT_EQ(form.state().calibX1Pos, 2355);
    click(form, u"Command7"_s);
    EXPECT_EQ(control<QLabel>(form, u"Label9"_s)->text(), QString::number(height - 1200 - 75));
    EXPECT_EQ(control<QLabel>(form, u"Label9"_s)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(control<QLabel>(form, u"Label8"_s)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(form.state().calibY1Pos, 1200);
    EXPECT_EQ(form.state().lastClickX, 2355);
}

TEST_F(Form1Digitizing, SymbolsMarkCurvesOneToSixOnly)
{
    Form1 form(desktop);
    const TestChart chart = linearChart();
    calibrate(form, chart, u"chart.jpg"_s, false);
    auto *picture = control<ChartPicture>(form, u"Picture1"_s);
    const auto markedAt = [&](QPoint p) { return qAlpha(picture->drawings().pixel(p)) != 0; };

    click(form, u"Command8"_s);
    pressOnChart(form, {100, 100});
    EXPECT_TRUE(markedAt({100, 100})); // the centre point of the circle
    EXPECT_EQ(picture->drawings().pixelColor(100, 100), QColor(0, 0, 255));
    EXPECT_FALSE(markedAt({100, 120}));
    EXPECT_FALSE(markedAt(chart.xTick1)); // calibration presses, before the first curve, draw nothing

    for (int curve = 2; curve <= 6; ++curve)
        click(form, u"Command8"_s);
    EXPECT_EQ(form.state().curveNumber, 6);
    pressOnChart(form, {300, 100});
    EXPECT_TRUE(markedAt({300, 100})); // the last curve that gets a symbol
    click(form, u"Command8"_s);
    EXPECT_EQ(form.state().curveNumber, 7);
    pressOnChart(form, {200, 200});
    EXPECT_FALSE(markedAt({200, 200}));
    EXPECT_EQ(fileBytes(inFolder(u"chart_7.txt"_s)), "30.0000  15.0000\r\n");
}
