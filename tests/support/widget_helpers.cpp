#include "support/widget_helpers.h"

#include "ui/chart_picture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QUrl>

bool dropFile(QWidget &window, const QString &path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    return enter.isAccepted();
}

void click(const QWidget &window, const QString &buttonName)
{
    auto *button = control<QAbstractButton>(window, buttonName);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled()) << buttonName.toStdString();
    button->click();
}

static void sendMouse(const QWidget &window, QEvent::Type type, QPoint picturePixel, Qt::MouseButton button)
{
    auto *chart = control<ChartPicture>(window, QStringLiteral("Picture1"));
    ASSERT_NE(chart, nullptr);
    const QPointF at = picturePixel + QPointF(ChartPicture::kBorderPx, ChartPicture::kBorderPx);
    const Qt::MouseButtons buttons = type == QEvent::MouseMove ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, at, chart->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(chart, &event);
}

void moveOverChart(const QWidget &window, QPoint picturePixel)
{
    sendMouse(window, QEvent::MouseMove, picturePixel, Qt::NoButton);
}

void pressOnChart(const QWidget &window, QPoint picturePixel, Qt::MouseButton button)
{
    sendMouse(window, QEvent::MouseButtonPress, picturePixel, button);
    sendMouse(window, QEvent::MouseButtonRelease, picturePixel, button);
}

void typeInto(const QWidget &window, const QString &boxName, const QString &text)
{
    auto *box = control<QLineEdit>(window, boxName);
    ASSERT_NE(box, nullptr);
    box->clear();
    QTest::keyClicks(box, text);
}

CurrentFolder::CurrentFolder(const QString &path)
    : m_previous(QDir::currentPath())
{
    QDir::setCurrent(path);
}

CurrentFolder::~CurrentFolder()
{
    QDir::setCurrent(m_previous);
}

std::ostream &operator<<(std::ostream &out, const TwipsRect &rect)
{
    return out << "(" << rect.left << ", " << rect.top << ", " << rect.width << " x " << rect.height << ")";
}

std::ostream &operator<<(std::ostream &out, const TwipsPoint &point)
{
    return out << "(" << point.left << ", " << point.top << ")";
}
