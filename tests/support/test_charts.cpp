#include "support/test_charts.h"

#include <QDir>
#include <QFile>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

QImage blankChart(QSize size, const TestChart &ticks)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(Qt::black);
    p.drawLine(ticks.xTick0.x() - 20, ticks.yTick0.y(), ticks.xTick1.x() + 20, ticks.yTick0.y());
    p.drawLine(ticks.xTick0.x(), ticks.yTick0.y() + 20, ticks.xTick0.x(), ticks.yTick1.y() - 20);
    for (QPoint t : {ticks.xTick0, ticks.xTick1})
        p.drawLine(t.x(), ticks.yTick0.y(), t.x(), ticks.yTick0.y() + 6);
    for (QPoint t : {ticks.yTick0, ticks.yTick1})
        p.drawLine(ticks.xTick0.x() - 6, t.y(), ticks.xTick0.x(), t.y());
    return image;
}

} // namespace

TestChart linearChart(QSize size)
{
    TestChart chart;
    chart.xTick0 = {50, 350};
    chart.xTick1 = {550, 350};
    chart.yTick0 = {50, 350};
    chart.yTick1 = {50, 50};
    chart.xValue0 = u"0"_s;
    chart.xValue1 = u"100"_s;
    chart.yValue0 = u"0"_s;
    chart.yValue1 = u"30"_s;
    chart.image = blankChart(size, chart);
    QPainter p(&chart.image);
    p.setPen(QPen(Qt::darkBlue, 2));
    p.drawLine(50, 350, 550, 50); // y = 0.3 x
    return chart;
}

TestChart logChart(QSize size)
{
    TestChart chart;
    chart.xTick0 = {100, 350};
    chart.xTick1 = {400, 350};
    chart.yTick0 = {100, 350};
    chart.yTick1 = {100, 50};
    chart.xValue0 = u"1"_s;
    chart.xValue1 = u"1000"_s;
    chart.yValue0 = u"1"_s;
    chart.yValue1 = u"1000"_s;
    chart.image = blankChart(size, chart);
    QPainter p(&chart.image);
    p.setPen(QPen(Qt::darkRed, 2));
    p.drawLine(100, 350, 400, 50); // y = x: 100 pixels a decade on both axes
    return chart;
}

QString saveChart(const QImage &image, const QString &folder, const QString &fileName)
{
    const QString path = QDir(folder).filePath(fileName);
    if (!image.save(path, nullptr, 95))
        return {};
    return path;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}
