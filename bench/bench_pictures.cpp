#include "bench_pictures.h"

#include "bench_app.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

using namespace Qt::StringLiterals;

QString benchPicture(QSize size, const char *format)
{
    const QString path =
        QDir(benchFolder())
            .filePath(u"chart_%1x%2.%3"_s.arg(size.width()).arg(size.height()).arg(QLatin1StringView(format)));
    if (QFileInfo::exists(path))
        return path;
    QImage image(size, QImage::Format_RGB888);
    image.fill(Qt::white);
    QRandomGenerator noise(size.width());
    // Scanner grain makes the picture decode as slowly as a real scan.
    for (int y = 0; y < image.height(); ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < image.width() * 3; x += 3) {
            const uchar grey = uchar(235 + noise.bounded(20));
            line[x] = line[x + 1] = line[x + 2] = grey;
        }
    }
    QPainter painter(&image);
    const int step = std::max(10, size.width() / 40);
    painter.setPen(QPen(QColor(150, 150, 150), std::max(1, size.width() / 2000)));
    for (int x = 0; x < size.width(); x += step)
        painter.drawLine(x, 0, x, size.height());
    for (int y = 0; y < size.height(); y += step)
        painter.drawLine(0, y, size.width(), y);
    painter.setPen(QPen(Qt::black, std::max(2, size.width() / 800)));
    for (int c = 1; c <= 3; ++c) {
        QPainterPath curve;
        curve.moveTo(0, size.height());
        curve.cubicTo(size.width() * 0.3, size.height() * (1.0 - 0.3 * c), size.width() * 0.6, size.height() * 0.2,
                      size.width(), size.height() * 0.1 * c);
        painter.drawPath(curve);
    }
    painter.end();
    QImageWriter writer(path, format);
    writer.setQuality(90);
    writer.write(image);
    return path;
}
