#include "support/fake_desktop.h"
#include "support/test_charts.h"
#include "support/widget_helpers.h"
#include "ui/bad_input_support.h"
#include "ui/chart_picture.h"
#include "ui/form1.h"
#include "ui/form5.h"
#include "ui/form7.h"
#include "ui/tracing_button_place.h"
#include "ui/twips_widgets.h"
#include "ui/values_list.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QString kNoPicture = u"İz sürmek için önce bir grafik yükleyiniz."_s;
const QString kNoColour = u"Önce bir renk seçiniz."_s;
const QString kNoCurve = u"Noktaları yazmak için önce İlk / Başka Çizgi ile bir çizgi başlatınız."_s;
const QString kNothingFound = u"Bu renkte bir eğri bulunamadı."_s;

// The linear chart's curve runs from pixel (50, 350) to (550, 50), two pixels wide; its chart values are
// x = (px - 50) / 5 and y = (350 - py) / 10.
double pixelsOffTheCurve(double x, double y)
{
    const double px = 50 + 5 * x + 0.5;
    const double py = 350 - 10 * y + 0.5;
    // Distance to the line through (50.5, 350.5) and (550.5, 50.5).
    return std::fabs(0.6 * (px - 50.5) + (py - 350.5)) / std::sqrt(1 + 0.36);
}

struct Recorded {
    double x = 0, y = 0;
};

std::vector<Recorded> recordedPoints(const QString &path)
{
    std::vector<Recorded> points;
    for (const QByteArray &line : fileBytes(path).split('\n')) {
        const QList<QByteArray> values = line.simplified().split(' ');
        if (values.size() == 2)
            points.push_back({values[0].toDouble(), values[1].toDouble()});
    }
    return points;
}

class Form1Tracing : public ::testing::Test {
protected:
    Form7 *openTool(Form1 &form)
    {
        click(form, u"Command19"_s);
        return form.findChild<Form7 *>(u"Form7"_s);
    }
    QString curveFile() const { return QDir(folder.path()).filePath(u"graf_1.txt"_s); }

    QTemporaryDir folder;
    CurrentFolder current{folder.path()};
    FakeDesktop desktop;
};

} // namespace

TEST(Form1TracingButton, StandsBesideTheMagnifierButtonAndOverlapsNothing)
{
    const struct {
        QSize screen;
        TwipsPoint place;
    } rows[] = {
        {{800, 600}, {120, 7665}}, // too narrow beside the file-name bar: in the button column
        {{1024, 600}, {1024 * 15 - 4225, 120}},
        {{1366, 700}, {11895, 120}},
        {{1024, 768}, {11895, 120}},
        {{1280, 1024}, {11895, 120}},
        {{1920, 1080}, {11895, 120}},
        {{3840, 2160}, {11895, 120}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(::testing::Message() << row.screen.width() << " x " << row.screen.height());
        QTemporaryDir folder;
        CurrentFolder current(folder.path());
        FakeDesktop desktop(row.screen);
        Form1 form(desktop);
        auto *button = control<QPushButton>(form, u"Command19"_s);
        EXPECT_EQ(twipsRect(button), (TwipsRect{row.place.left, row.place.top, 855, 1035}));
        EXPECT_EQ(button->text(), u"Otomatik\nİzle"_s);
        EXPECT_EQ(button->shortcut(), QKeySequence(Qt::ALT | Qt::Key_O));
        // Every other control of the window, the hidden ones that a loaded chart shows included.
        for (QWidget *other : form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (other == button || other->isWindow() || other->objectName() == u"Picture6"_s)
                continue;
            EXPECT_FALSE(other->geometry().intersects(button->geometry())) << other->objectName().toStdString();
        }
        EXPECT_LE(button->geometry().right(), qRound(row.screen.width() - 1.0));
    }
}

TEST_F(Form1Tracing, PickTraceAndWriteRecordTheCurveAsPresses)
{
    Form1 form(desktop);
    calibrateLinearChart(form, desktop, folder.path(), u"graf.bmp"_s);
    click(form, u"Command8"_s);
    Form7 *tool = openTool(form);
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(openTool(form), tool); // one only
    EXPECT_EQ(tool->windowTitle(), u"Otomatik İzleme"_s);
    auto *chart = control<ChartPicture>(form, u"Picture1"_s);

    // The pick records nothing, changes no state field and draws nothing.
    const DigitizingState before = form.state();
    const QImage drawingsBefore = chart->drawings();
    click(*tool, u"Command20"_s);
    EXPECT_EQ(chart->cursor().shape(), Qt::PointingHandCursor);
    pressOnChart(form, {300, 203}); // the pale side of the stroke, two pixels off
    EXPECT_EQ(form.state().lastClickX, before.lastClickX);
    EXPECT_EQ(form.state().pointNumber, 0);
    EXPECT_EQ(chart->drawings(), drawingsBefore);
    EXPECT_FALSE(QFileInfo::exists(curveFile()));
    EXPECT_EQ(control<QLabel>(*tool, u"Picture30"_s)->palette().color(QPalette::Window), QColor(0, 0, 128));

    click(*tool, u"Command21"_s);
    const std::size_t found = chart->preview().size();
    EXPECT_GE(found, 50u); // 580 pixels of curve, a point every 10
    EXPECT_EQ(control<QLabel>(*tool, u"Label30"_s)->text(), u"%1 nokta bulundu."_s.arg(found));
    EXPECT_FALSE(QFileInfo::exists(curveFile())); // a preview records nothing
    control<QSpinBox>(*tool, u"Text11"_s)->setValue(20);
    const std::size_t coarser = chart->preview().size();
    EXPECT_NEAR(double(coarser), found / 2.0, 3); // traced again at once

    click(*tool, u"Command22"_s);
    EXPECT_TRUE(chart->preview().empty());
    const std::vector<Recorded> points = recordedPoints(curveFile());
    ASSERT_EQ(points.size(), coarser);
    EXPECT_EQ(form.state().pointNumber, qint16(coarser));
    EXPECT_EQ(form.form5()->list()->count(), int(coarser));
    for (std::size_t i = 0; i < points.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_LT(pixelsOffTheCurve(points[i].x, points[i].y), 1.0); // on the curve, never on the axes
        if (i > 0) {
            EXPECT_GT(points[i].x, points[i - 1].x); // by increasing x
        }
    }
    EXPECT_LT(points.front().x, 2); // from end
    EXPECT_GT(points.back().x, 98); // to end

    // Taken back once, in one rewrite; the list, the counter and the symbols stay.
    ASSERT_TRUE(control<QPushButton>(*tool, u"Command24"_s)->isEnabled());
    click(*tool, u"Command24"_s);
    EXPECT_EQ(fileBytes(curveFile()), QByteArray());
    EXPECT_EQ(form.state().pointNumber, qint16(coarser));
    EXPECT_FALSE(control<QPushButton>(*tool, u"Command24"_s)->isEnabled());
    EXPECT_TRUE(desktop.warnings.isEmpty()) << desktop.warnings.join(u'|').toStdString();
}

TEST_F(Form1Tracing, TakingBackEndsWithTheNextPointCurveOrPicture)
{
    Form1 form(desktop);
    calibrateLinearChart(form, desktop, folder.path(), u"graf.bmp"_s);
    click(form, u"Command8"_s);
    Form7 *tool = openTool(form);
    click(*tool, u"Command20"_s);
    pressOnChart(form, {300, 200});
    auto *undo = control<QPushButton>(*tool, u"Command24"_s);
    const auto writeTrace = [&] {
        click(*tool, u"Command21"_s);
        click(*tool, u"Command22"_s);
        return undo->isEnabled();
    };
    ASSERT_TRUE(writeTrace());
    pressOnChart(form, {100, 100}); // a press after it: its lines are no longer the last
    EXPECT_FALSE(undo->isEnabled());
    ASSERT_TRUE(writeTrace());
    click(form, u"Command1"_s); // "Son Noktayı Sil"
    EXPECT_FALSE(undo->isEnabled());
    ASSERT_TRUE(writeTrace());
    click(form, u"Command8"_s);
    EXPECT_FALSE(undo->isEnabled());
    ASSERT_TRUE(writeTrace());
    desktop.pictureAnswers.push_back(QDir(folder.path()).filePath(u"graf.bmp"_s));
    click(form, u"Command3"_s);
    EXPECT_FALSE(undo->isEnabled());
    click(*tool, u"Command21"_s); // the colour went with the old picture
    EXPECT_EQ(desktop.warnings, QStringList{kNoColour});
}

TEST_F(Form1Tracing, WarningsPendingPickAndSnapping)
{
    Form1 form(desktop);
    Form7 *tool = openTool(form);
    click(*tool, u"Command20"_s);
    click(*tool, u"Command21"_s);
    EXPECT_EQ(desktop.warnings, (QStringList{kNoPicture, kNoPicture}));

    desktop.warnings.clear();
    calibrateLinearChart(form, desktop, folder.path(), u"graf.bmp"_s);
    click(*tool, u"Command21"_s);
    click(*tool, u"Command20"_s);
    pressOnChart(form, {400, 300}); // bare paper: the pick waits
    QTest::keyClick(&form, Qt::Key_Escape);
    pressOnChart(form, {400, 300}); // an ordinary press again
    EXPECT_EQ(form.state().lastClickX, 400 * 15);
    click(*tool, u"Command20"_s);
    pressOnChart(form, {300, 201});
    control<QRadioButton>(*tool, u"Option11"_s)->setChecked(true);
    click(*tool, u"Command21"_s); // a line has no markers: nothing changes
    EXPECT_TRUE(control<ChartPicture>(form, u"Picture1"_s)->preview().empty());
    control<QRadioButton>(*tool, u"Option10"_s)->setChecked(true);
    click(*tool, u"Command21"_s);
    click(*tool, u"Command22"_s); // before a curve start
    EXPECT_EQ(desktop.warnings, (QStringList{kNoColour, kNothingFound, kNoCurve}));
    EXPECT_FALSE(control<ChartPicture>(form, u"Picture1"_s)->preview().empty());

    // Presses near the stroke land on its centre line, once the box is ticked.
    click(form, u"Command8"_s);
    pressOnChart(form, {200, 263});
    control<QCheckBox>(*tool, u"Check3"_s)->setChecked(true);
    pressOnChart(form, {400, 143});
    pressOnChart(form, {400, 20}); // nothing within reach: recorded where it was
    const std::vector<Recorded> points = recordedPoints(curveFile());
    ASSERT_EQ(points.size(), 3u);
    EXPECT_GT(pixelsOffTheCurve(points[0].x, points[0].y), 2);
    EXPECT_LT(pixelsOffTheCurve(points[1].x, points[1].y), 0.3);
    EXPECT_EQ(points[2].y, 33);
}

// A chart shown reduced is traced on its full-resolution picture: the points carry its precision.
TEST_F(Form1Tracing, ReducedChartIsTracedAtFullResolution)
{
    QImage picture(1600, 1200, QImage::Format_RGB32); // shown at 701 x 525 on 1024 x 768
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(200, 20, 20), 5));
    painter.drawLine(QPointF(100, 1100), QPointF(1500, 100));
    painter.end();
    desktop.pictureAnswers.push_back(saveChart(picture, folder.path(), u"büyük.png"_s));
    Form1 form(desktop);
    click(form, u"Command3"_s);
    Form7 *tool = openTool(form);
    click(*tool, u"Command20"_s);
    const QPointF scale(1600.0 / 701, 1200.0 / 525);
    pressOnChart(form, QPoint(int(800 / scale.x()), int(600 / scale.y()))); // the middle of the line
    click(*tool, u"Command21"_s);
    const std::vector<QPointF> shown = control<ChartPicture>(form, u"Picture1"_s)->preview();
    ASSERT_GE(shown.size(), 60u); // 1720 pixels of line, a step of 10 shown pixels
    for (const QPointF &p : shown) {
        const QPointF full(p.x() * scale.x(), p.y() * scale.y());
        // Distance from the line through (100, 1100) and (1500, 100), in full-resolution pixels.
        const double off =
            std::fabs(1000 * full.x() + 1400 * full.y() - (1000 * 100 + 1400 * 1100)) / std::hypot(1000.0, 1400.0);
        EXPECT_LT(off, 0.5) << full.x() << ", " << full.y(); // half a pixel of the shown picture is 1.1
    }
}
