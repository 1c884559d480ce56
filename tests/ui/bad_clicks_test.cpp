#include "support/fake_desktop.h"
#include "support/test_charts.h"
#include "support/widget_helpers.h"
#include "ui/bad_input_support.h"
#include "ui/chart_picture.h"
#include "ui/form1.h"
#include "ui/form5.h"
#include "ui/values_list.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// A curve file line: two fixed-point values of four decimals, two blanks between, CR LF.
const QRegularExpression kRecordLine(u"^-?\\d+\\.\\d{4}  -?\\d+\\.\\d{4}\\r\\n$"_s);

void sendToChart(const Form1 &form, QEvent::Type type, QPoint picturePixel, Qt::MouseButton button,
                 Qt::MouseButtons held)
{
    auto *chart = control<ChartPicture>(form, u"Picture1"_s);
    ASSERT_NE(chart, nullptr);
    const QPointF at = picturePixel + QPointF(ChartPicture::kBorderPx, ChartPicture::kBorderPx);
    QMouseEvent event(type, at, chart->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(chart, &event);
}

class BadClicks : public ::testing::Test {
protected:
    QString curveFile() const { return QDir(folder.path()).filePath(u"graf_1.txt"_s); }
    static QByteArray line(QPoint p) { return expectedX(p.x()) + "  " + expectedY(p.y()) + "\r\n"; }

    QTemporaryDir folder;
    CurrentFolder current{folder.path()};
    FakeDesktop desktop;
};

} // namespace

TEST_F(BadClicks, CornerPixelsRecordLinesOfTheFileFormatAndTheBorderNothing)
{
    Form1 form(desktop);
    calibrateLinearChart(form, desktop, folder.path(), u"graf.bmp"_s);
    click(form, u"Command8"_s);
    // The picture is 600 x 400 inside a two-pixel border, which is no part of the chart.
    const QPoint corners[] = {{0, 0}, {599, 0}, {0, 399}, {599, 399}};
    const QPoint border[] = {{-1, -1}, {-2, 200}, {300, -2}, {600, 200}, {300, 400}, {601, 401}, {-2, 401}};
    QByteArray expected;
    for (QPoint p : corners) {
        SCOPED_TRACE(::testing::Message() << p.x() << ", " << p.y());
        pressOnChart(form, p);
        expected += line(p);
        EXPECT_TRUE(kRecordLine.match(QString::fromLatin1(line(p))).hasMatch());
    }
    for (QPoint p : border)
        pressOnChart(form, p);
    EXPECT_EQ(fileBytes(curveFile()), expected);
    EXPECT_EQ(form.form5()->list()->count(), 4);
    EXPECT_EQ(form.form5()->list()->line(3), u"  4        109.8000        -4.9000"_s);
    EXPECT_EQ(form.state().lastClickX, 599 * 15);
    EXPECT_EQ(form.state().lastClickY, 399 * 15);
    EXPECT_TRUE(desktop.warnings.isEmpty());
}

TEST_F(BadClicks, DragThatLeavesThePictureRecordsOnlyThePress)
{
    Form1 form(desktop);
    calibrateLinearChart(form, desktop, folder.path(), u"graf.bmp"_s);
    click(form, u"Command8"_s);

    sendToChart(form, QEvent::MouseButtonPress, {300, 200}, Qt::LeftButton, Qt::LeftButton);
    for (QPoint p : {QPoint(300, -50), QPoint(700, 500), QPoint(-100, -100)})
        sendToChart(form, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(control<QLineEdit>(form, u"Text6"_s)->text(), QString::fromLatin1(expectedX(-100)));
    EXPECT_EQ(control<QLineEdit>(form, u"Text7"_s)->text(), QString::fromLatin1(expectedY(-100)));
    sendToChart(form, QEvent::MouseButtonRelease, {-100, -100}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(fileBytes(curveFile()), line({300, 200}));
    EXPECT_EQ(form.form5()->list()->count(), 1);

    // The next click records as usual.
    pressOnChart(form, {400, 140});
    EXPECT_EQ(fileBytes(curveFile()), line({300, 200}) + line({400, 140}));
    EXPECT_EQ(form.state().pointNumber, 2);
    EXPECT_TRUE(desktop.warnings.isEmpty());
}
