#include "support/fake_desktop.h"
#include "support/test_charts.h"
#include "support/widget_helpers.h"
#include "ui/chart_picture.h"
#include "ui/form1.h"
#include "ui/form5.h"
#include "ui/form6.h"
#include "ui/picture_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

void pressOn(QWidget *widget, QPointF at, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

class Form1Choices : public ::testing::Test {
protected:
    void startCurve(Form1 &form, QSize pictureSize = {600, 400})
    {
        TestChart chart = linearChart(pictureSize);
        desktop.pictureAnswers.push_back(saveChart(chart.image, folder.path(), u"c.png"_s));
        click(form, u"Command3"_s);
        typeInto(form, u"Text3"_s, u"100"_s);
        pressOnChart(form, {1, 1});
        click(form, u"Command8"_s);
    }

    QTemporaryDir folder;
    QTemporaryDir startFolder;
    CurrentFolder current{startFolder.path()};
    FakeDesktop desktop;
    Form6 store;
};

} // namespace

TEST_F(Form1Choices, PalettePressesChooseAndShowTheirState)
{
    Form1 form(desktop);
    auto *shapes = control<PictureBox>(form, u"Picture2"_s);
    pressOn(shapes, {10, 60});
    EXPECT_EQ(form.state().symbolShape, 3);
    EXPECT_EQ(shapes->picture(), store.picture(u"Picture24"_s));
    pressOn(shapes, {10, 22}); // on a bound: nothing
    pressOn(shapes, {25, 60});
    EXPECT_EQ(form.state().symbolShape, 3);

    auto *widths = control<PictureBox>(form, u"Picture3"_s);
    pressOn(widths, {20, 35});
    EXPECT_EQ(control<ChartPicture>(form, u"Picture1"_s)->drawingWidth(), 3);
    EXPECT_EQ(widths->picture(), store.picture(u"Picture6"_s));
    pressOn(widths, {20, 16});
    EXPECT_EQ(control<ChartPicture>(form, u"Picture1"_s)->drawingWidth(), 3);

    auto *colours = control<PictureBox>(form, u"Picture4"_s);
    pressOn(colours, {88, 25}, Qt::RightButton);
    EXPECT_EQ((std::array{form.state().symbolRed, form.state().symbolGreen, form.state().symbolBlue}),
              (std::array<std::int16_t, 3>{128, 64, 0}));
    EXPECT_EQ(colours->picture(), store.picture(u"Picture14"_s));
    pressOn(colours, {10, 10}); // beside the fields: blue
    EXPECT_EQ(form.state().symbolRed, 0);
    EXPECT_EQ(form.state().symbolBlue, 255);
    EXPECT_EQ(colours->picture(), store.picture(u"Picture9"_s));

    control<QScrollBar>(form, u"VScroll1"_s)->setValue(10);
    EXPECT_EQ(form.state().symbolSize, 10);
    EXPECT_EQ(control<QLabel>(form, u"Label20"_s)->text(), u"10"_s);
}

TEST_F(Form1Choices, DotSetsTheDrawingWidthBackToOne)
{
    Form1 form(desktop);
    startCurve(form);
    pressOn(control<PictureBox>(form, u"Picture3"_s), {20, 35}); // 3 pixels
    pressOn(control<PictureBox>(form, u"Picture2"_s), {10, 10}); // dot
    pressOnChart(form, {100, 100});
    pressOn(control<PictureBox>(form, u"Picture2"_s), {10, 85}); // circle
    pressOnChart(form, {300, 100});
    auto *chart = control<ChartPicture>(form, u"Picture1"_s);
    EXPECT_EQ(chart->drawingWidth(), 1);
    // Radius 80 twips (size 2): the ring crosses the row of its centre a little over five pixels out.
    int ring = 0;
    for (int x = 300 - 12; x < 300 - 2; ++x)
        ring += qAlpha(chart->drawings().pixel(x, 100)) != 0;
    EXPECT_EQ(ring, 1);
}

TEST_F(Form1Choices, SavedFormatIsSelectedAtTheNextStart)
{
    {
        Form1 form(desktop);
        click(form, u"Option6"_s);
        click(form, u"Command13"_s);
        click(form, u"Option7"_s); // chosen but not saved
    }
    EXPECT_EQ(fileBytes(QDir(startFolder.path()).filePath(u"xformats.txt"_s)), " 3 \r\n");
    EXPECT_FALSE(QFileInfo::exists(QDir(startFolder.path()).filePath(u"yformats.txt"_s)));
    Form1 again(desktop);
    EXPECT_TRUE(control<QAbstractButton>(again, u"Option6"_s)->isChecked());
    EXPECT_TRUE(control<QAbstractButton>(again, u"Option8"_s)->isChecked());
    EXPECT_TRUE(desktop.warnings.isEmpty());

    ASSERT_TRUE(QDir(startFolder.path()).mkdir(u"yformats.txt"_s)); // the name taken by a folder
    click(again, u"Command14"_s);
    ASSERT_EQ(desktop.warnings.size(), 1);
    EXPECT_TRUE(desktop.warnings.front().contains(u"yformats.txt"_s));
}

TEST_F(Form1Choices, FormatsPanelToggleGivesTheStartStateBack)
{
    Form1 form(desktop);
    click(form, u"Command16"_s);
    EXPECT_TRUE(control(form, u"Frame3"_s)->isHidden());
    EXPECT_TRUE(control(form, u"Frame4"_s)->isHidden());
    EXPECT_EQ(control<QAbstractButton>(form, u"Command16"_s)->text(), u"Formatları göster"_s);
    EXPECT_EQ(control(form, u"Command16"_s)->palette().color(QPalette::Button), QColor(0, 255, 0));
    EXPECT_EQ(form.state().formatsPanelHidden, 1);
    click(form, u"Command16"_s);
    EXPECT_FALSE(control(form, u"Frame3"_s)->isHidden());
    EXPECT_FALSE(control(form, u"Frame4"_s)->isHidden());
    EXPECT_EQ(control<QAbstractButton>(form, u"Command16"_s)->text(), u"Formatları gizle"_s);
    EXPECT_EQ(control(form, u"Command16"_s)->palette().color(QPalette::Button), QColor(0, 255, 255));
    EXPECT_EQ(form.state().formatsPanelHidden, 0);
}

TEST_F(Form1Choices, ClearingSymbolsKeepsANaturalChartAndTakesAScaledOne)
{
    for (const QSize size : {QSize(600, 400), QSize(1600, 1200)}) {
        SCOPED_TRACE(size.width());
        Form1 form(desktop);
        startCurve(form, size);
        pressOnChart(form, {100, 60});
        auto *chart = control<ChartPicture>(form, u"Picture1"_s);
        ASSERT_NE(qAlpha(chart->drawings().pixel(100, 60)), 0);
        click(form, u"Command15"_s);
        const QImage &layer = chart->drawings();
        int left = 0; // pixels of the symbol, or of a scaled chart, still on the layer
        for (int y = 0; y < layer.height(); ++y)
            for (int x = 0; x < layer.width(); ++x)
                left += qAlpha(layer.pixel(x, y)) != 0;
        EXPECT_EQ(left, 0);
        EXPECT_EQ(chart->naturalPicture().isNull(), size.width() > 1000);
        EXPECT_EQ(form.state().pointNumber, 1);
    }
}

TEST_F(Form1Choices, ExitClosesEveryWindow)
{
    Form1 form(desktop);
    form.show();
    startCurve(form);
    pressOnChart(form, {100, 60});
    click(form, u"Command11"_s);
    ASSERT_TRUE(form.form5()->isVisible());
    click(form, u"Command2"_s);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.form5()->isVisible());
    EXPECT_FALSE(form.findChild<QWidget *>(u"Form2"_s) && form.findChild<QWidget *>(u"Form2"_s)->isVisible());
}

TEST_F(Form1Choices, OnlyTheBareBackgroundMovesTheWindow)
{
    Form1 form(desktop);
    pressOn(&form, {700, 500});
    EXPECT_EQ(desktop.windowMoves, 1);
    auto *label = control(form, u"Label3"_s); // a label lets the press through to the window
    pressOn(&form, label->geometry().center());
    pressOn(&form, control(form, u"Frame2"_s)->geometry().center());
    EXPECT_EQ(desktop.windowMoves, 1);
}

// The window manager ends its move at a left release only; any other button moves the window by hand, and only
// while it is held.
TEST_F(Form1Choices, WindowFollowsThePointerOnlyWhileThePressingButtonIsHeld)
{
    desktop.windowMovesStart = false;
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton, Qt::LeftButton}) {
        SCOPED_TRACE(int(button));
        Form1 form(desktop);
        form.move(100, 80);
        const int movesBefore = desktop.windowMoves;
        const QPoint origin = form.mapToGlobal(QPoint(700, 500));
        const auto send = [&](QEvent::Type type, QPoint offset, Qt::MouseButton which, Qt::MouseButtons held) {
            const QPoint global = origin + offset;
            QMouseEvent event(type, form.mapFromGlobal(global), global, which, held, Qt::NoModifier);
            QApplication::sendEvent(&form, &event);
        };
        send(QEvent::MouseButtonPress, {}, button, button);
        send(QEvent::MouseMove, {30, 20}, Qt::NoButton, button);
        send(QEvent::MouseMove, {50, -10}, Qt::NoButton, button);
        EXPECT_EQ(form.pos(), QPoint(150, 70));
        send(QEvent::MouseButtonRelease, {50, -10}, button, Qt::NoButton);
        send(QEvent::MouseMove, {200, 200}, Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(form.pos(), QPoint(150, 70));
        EXPECT_EQ(desktop.windowMoves - movesBefore, button == Qt::LeftButton ? 1 : 0);
    }
}
