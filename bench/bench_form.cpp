#include "bench_form.h"

#include "bench_app.h"
#include "ui/chart_picture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>

using namespace Qt::StringLiterals;

BenchForm::BenchForm(QSize screen)
    : desktop(screen)
    , form(std::make_unique<Form1>(desktop))
{
    form->setGeometry(QRect(QPoint(0, 0), screen));
    form->show();
    flushPaints();
    m_chart = form->findChild<ChartPicture *>(u"Picture1"_s);
}

void BenchForm::send(QEvent::Type type, QPoint picturePixel)
{
    const QPointF at = picturePixel + QPointF(ChartPicture::kBorderPx, ChartPicture::kBorderPx);
    const bool move = type == QEvent::MouseMove;
    QMouseEvent event(type, at, m_chart->mapToGlobal(at), move ? Qt::NoButton : Qt::LeftButton,
                      move ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_chart, &event);
}

void BenchForm::clickButton(const char *name)
{
    form->findChild<QAbstractButton *>(QString::fromLatin1(name))->click();
}

void BenchForm::load(const QString &picturePath)
{
    desktop.pictureAnswers.push_back(picturePath);
    clickButton("Command3");
}

void BenchForm::startCurve()
{
    const auto type = [this](const char *box, const QString &text) {
        form->findChild<QLineEdit *>(QString::fromLatin1(box))->setText(text);
    };
    type("Text1", u"0"_s);
    type("Text3", u"100"_s);
    type("Text2", u"0"_s);
    type("Text4", u"100"_s);
    pressAt({10, 300});
    clickButton("Command4");
    clickButton("Command5");
    pressAt({300, 10});
    clickButton("Command6");
    clickButton("Command7");
    clickButton("Command8");
}

void BenchForm::moveTo(QPoint picturePixel)
{
    send(QEvent::MouseMove, picturePixel);
}

void BenchForm::pressAt(QPoint picturePixel)
{
    send(QEvent::MouseButtonPress, picturePixel);
    send(QEvent::MouseButtonRelease, picturePixel);
}
