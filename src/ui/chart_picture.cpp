#include "ui/chart_picture.h"

#include "ui/twips.h"
#include "ui/twips_widgets.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

ChartPicture::ChartPicture(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize ChartPicture::areaSize() const
{
    return {std::max(0, width() - 2 * kBorderPx), std::max(0, height() - 2 * kBorderPx)};
}

void ChartPicture::setNaturalPicture(const QImage &picture)
{
    m_natural = picture;
    resize(picture.width() + 2 * kBorderPx, picture.height() + 2 * kBorderPx);
    takePixelSize(this);
    update();
}

void ChartPicture::clearNaturalPicture()
{
    m_natural = QImage();
    update();
}

void ChartPicture::showDrawings(const QRect &areaPixels)
{
    update(areaPixels.translated(kBorderPx, kBorderPx));
}

void ChartPicture::eraseDrawings()
{
    m_drawings.fill(Qt::transparent);
    update();
}

void ChartPicture::setLine(int index, const ChartLine &line)
{
    ChartLine &old = m_lines.at(index);
    if (old.visible == line.visible && old.from == line.from && old.to == line.to)
        return;
    // Each strip is repainted on its own and at once: queued together, the strips would reach the painter as
    // one many-rectangle region, which Qt's raster engine clips span by span, ten times slower.
    const QRect before = old.visible ? lineRect(old) : QRect();
    old = line;
    const QRect after = line.visible ? lineRect(line) : QRect();
    if (before.intersects(after)) {
        repaintNow(before | after);
    } else {
        repaintNow(before);
        repaintNow(after);
    }
}

void ChartPicture::repaintNow(const QRect &rect)
{
    if (rect.isEmpty())
        return;
    if (isVisible())
        repaint(rect);
    else
        update(rect);
}

QRect ChartPicture::lineRect(const ChartLine &line) const
{
    const QPointF a = line.from / kTwipsPerPixel;
    const QPointF b = line.to / kTwipsPerPixel;
    const QRectF r = QRectF(a, b).normalized().adjusted(-1, -1, 2, 2);
    return r.toAlignedRect().translated(kBorderPx, kBorderPx).intersected(rect());
}

QImage &ChartPicture::drawings()
{
    fitDrawingsToArea(); // a hidden widget gets its resize event only when shown
    return m_drawings;
}

void ChartPicture::drawScaledPicture(const QImage &picture)
{
    QPainter painter(&drawings());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, picture);
    painter.end();
    update();
}

void ChartPicture::resizeEvent(QResizeEvent *)
{
    fitDrawingsToArea();
}

void ChartPicture::fitDrawingsToArea()
{
    const QSize area = areaSize();
    if (m_drawings.width() >= area.width() && m_drawings.height() >= area.height())
        return;
    // The layer only grows, so drawings survive a smaller picture followed by a larger one.
    QImage grown(area.expandedTo(m_drawings.size()), QImage::Format_ARGB32_Premultiplied);
    grown.fill(Qt::transparent);
    if (!m_drawings.isNull()) {
        QPainter p(&grown);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, m_drawings);
    }
    m_drawings = std::move(grown);
}

void ChartPicture::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.save();
    painter.translate(kBorderPx, kBorderPx);
    // A moving cross-hair dirties four thin strips; their bounding rectangle would be the whole chart.
    const QRegion areaRegion = event->region().translated(-kBorderPx, -kBorderPx) & QRect(QPoint(), areaSize());
    for (const QRect &area : areaRegion) {
        painter.fillRect(area, palette().color(QPalette::Window));
        if (!m_natural.isNull())
            painter.drawImage(area.topLeft(), m_natural, area);
        if (!m_drawings.isNull())
            painter.drawImage(area.topLeft(), m_drawings, area);
    }
    painter.setClipRegion(areaRegion);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1));
    for (const ChartLine &line : m_lines) {
        if (line.visible)
            painter.drawLine(line.from / kTwipsPerPixel, line.to / kTwipsPerPixel);
    }
    painter.restore();

    // A sunken border, two pixels wide.
    const QRect outer = rect().adjusted(0, 0, -1, -1);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(outer.topLeft(), outer.topRight());
    painter.drawLine(outer.topLeft(), outer.bottomLeft());
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawLine(outer.topLeft() + QPoint(1, 1), outer.topRight() + QPoint(-1, 1));
    painter.drawLine(outer.topLeft() + QPoint(1, 1), outer.bottomLeft() + QPoint(1, -1));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(outer.bottomLeft(), outer.bottomRight());
    painter.drawLine(outer.topRight(), outer.bottomRight());
    painter.setPen(palette().color(QPalette::Midlight));
    painter.drawLine(outer.bottomLeft() + QPoint(1, -1), outer.bottomRight() + QPoint(-1, -1));
    painter.drawLine(outer.topRight() + QPoint(-1, 1), outer.bottomRight() + QPoint(-1, -1));
}

QPointF ChartPicture::toTwips(QPointF widgetPos) const
{
    return (widgetPos - QPointF(kBorderPx, kBorderPx)) * kTwipsPerPixel;
}

void ChartPicture::mouseMoveEvent(QMouseEvent *event)
{
    emit moved(toTwips(event->position()));
}

void ChartPicture::mousePressEvent(QMouseEvent *event)
{
    emit pressed(toTwips(event->position()), event->button());
}
