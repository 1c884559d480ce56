#include "support/fake_desktop.h"
#include "support/test_charts.h"
#include "support/widget_helpers.h"
#include "ui/form1.h"
#include "ui/form5.h"
#include "ui/magnifier.h"
#include "ui/values_list.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace {

class Form1Magnifier : public ::testing::Test {
protected:
    void load(Form1 &form, QSize size)
    {
        desktop.pictureAnswers.push_back(saveChart(linearChart(size).image, folder.path(), u"m.png"_s));
        click(form, u"Command3"_s);
    }
    Magnifier *magnifier(const Form1 &form) { return form.findChild<Magnifier *>(u"Magnifier"_s); }
    static void wheel(Magnifier *m, int notches)
    {
        QWheelEvent event(QPointF(10, 10), m->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, 120 * notches), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m, &event);
    }

    QTemporaryDir folder;
    QTemporaryDir startFolder;
    CurrentFolder current{startFolder.path()};
    FakeDesktop desktop;
};

} // namespace

TEST_F(Form1Magnifier, DesktopMagnifierIsTriedFirstInItsOrder)
{
    Form1 form(desktop);
    click(form, u"Command18"_s);
    EXPECT_EQ(desktop.startedPrograms, QStringList{u"C:\\windows\\system32\\magnify.exe"_s});
    EXPECT_EQ(magnifier(form), nullptr);

    desktop.programsStart = false;
    desktop.startedPrograms.clear();
    click(form, u"Command18"_s);
    EXPECT_EQ(desktop.startedPrograms,
              (QStringList{u"C:\\windows\\system32\\magnify.exe"_s, u"C:\\winnt\\system32\\magnify.exe"_s}));
    ASSERT_NE(magnifier(form), nullptr);
    EXPECT_TRUE(magnifier(form)->isVisible());
    click(form, u"Command18"_s); // a second press closes it
    EXPECT_FALSE(magnifier(form)->isVisible());
}

TEST_F(Form1Magnifier, PressInsideRecordsTheFractionalPlaceItShows)
{
    desktop.programsStart = false;
    Form1 form(desktop);
    load(form, {600, 400});
    typeInto(form, u"Text3"_s, u"100"_s);
    pressOnChart(form, {1, 1});
    click(form, u"Command8"_s);
    click(form, u"Command18"_s);
    Magnifier *m = magnifier(form);
    ASSERT_NE(m, nullptr);

    moveOverChart(form, {100, 100});
    EXPECT_EQ(m->centre(), QPointF(100, 100));
    EXPECT_EQ(m->zoom(), 4);
    const QPointF at = QPointF(m->width() / 2.0, m->height() / 2.0) + QPointF(1, 2); // a quarter and a half pixel
    QMouseEvent press(QEvent::MouseButtonPress, at, m->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m, &press);
    EXPECT_EQ(form.state().lastClickX, 1503.75f);
    EXPECT_EQ(form.state().lastClickY, 1507.5f);
    EXPECT_EQ(form.form5()->list()->count(), 1); // recorded like a press on the chart

    QTest::keyClick(m, Qt::Key_Right);
    EXPECT_EQ(m->centre(), QPointF(100.25, 100));
    EXPECT_EQ(control<QLabel>(form, u"Label4"_s)->text(), u"1503.75"_s);

    wheel(m, 1);
    EXPECT_EQ(m->zoom(), 8);
    wheel(m, 3);
    EXPECT_EQ(m->zoom(), Magnifier::kMaxZoom);
    wheel(m, -5);
    EXPECT_EQ(m->zoom(), Magnifier::kMinZoom);
}

TEST_F(Form1Magnifier, ScaledChartIsMagnifiedFromTheFullPicture)
{
    desktop.programsStart = false;
    Form1 form(desktop);
    load(form, {1600, 1200}); // shown at 700 x 525 on 1024 x 768
    click(form, u"Command18"_s);
    Magnifier *m = magnifier(form);
    ASSERT_NE(m, nullptr);
    moveOverChart(form, {70, 105});
    EXPECT_NEAR(m->centre().x(), 70 * 1600.0 / 701, 0.5);
    EXPECT_NEAR(m->centre().y(), 105 * 1600.0 / 701, 0.5);
    // A press at the centre lands where the pointer was on the chart.
    const QPointF middle(m->width() / 2.0, m->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, middle, m->mapToGlobal(middle), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(m, &press);
    EXPECT_NEAR(form.state().lastClickX, 70 * 15, 0.01);
    EXPECT_NEAR(form.state().lastClickY, 105 * 15, 0.01);
}

// In every display case the magnifier shows chart pixel P at the place of the full picture that P stands for,
// each axis with its own scale, and a press there records what a press on the chart at P records.
TEST_F(Form1Magnifier, PressInsideRecordsWhatAPressOnTheChartRecordsInEveryDisplayCase)
{
    desktop.programsStart = false;
    const struct {
        QSize picture;
        QSize shown; // the picture as drawn on a 1024 x 768 screen
        QPoint chartPixel;
    } rows[] = {
        {{1600, 1200}, {701, 525}, {650, 500}}, // reduced by the larger ratio
        {{1000, 400}, {781, 310}, {700, 290}},  // by the width
        {{700, 1000}, {370, 518}, {350, 500}},  // by the height, 150 twips less at the bottom
        {{500, 400}, {500, 400}, {450, 350}},   // natural size
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(::testing::Message() << row.picture.width() << " x " << row.picture.height());
        Form1 form(desktop);
        load(form, row.picture);
        pressOnChart(form, row.chartPixel);
        const QPointF onChart(form.state().lastClickX, form.state().lastClickY);
        ASSERT_EQ(onChart, QPointF(row.chartPixel * 15));

        click(form, u"Command18"_s);
        Magnifier *m = magnifier(form);
        ASSERT_NE(m, nullptr);
        const QPointF source(row.chartPixel.x() * double(row.picture.width()) / row.shown.width(),
                             row.chartPixel.y() * double(row.picture.height()) / row.shown.height());
        moveOverChart(form, row.chartPixel);
        EXPECT_NEAR(m->centre().x(), source.x(), 1e-3);
        EXPECT_NEAR(m->centre().y(), source.y(), 1e-3);

        const QPointF middle(m->width() / 2.0, m->height() / 2.0);
        QMouseEvent press(QEvent::MouseButtonPress, middle, m->mapToGlobal(middle), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(m, &press);
        EXPECT_NEAR(form.state().lastClickX, onChart.x(), 0.05);
        EXPECT_NEAR(form.state().lastClickY, onChart.y(), 0.05);
        click(form, u"Command18"_s);
    }
}
