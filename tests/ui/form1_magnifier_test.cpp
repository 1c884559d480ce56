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
