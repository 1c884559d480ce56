#include "ui/page_preview.h"

#include "workspace/pdf_page_geometry.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr double kMargin = 6;
constexpr int kSmallestDrag = 4; // pixels; less is a click

} // namespace

PagePreview::PagePreview(QWidget *parent)
    : QWidget(parent)
{
    setCursor(Qt::CrossCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(240, 300);
}

void PagePreview::setPage(QSizeF pagePoints)
{
    m_pagePoints = pagePoints;
    m_picture = QImage();
    m_dragStart.reset();
    clearRegion();
    update();
}

void PagePreview::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void PagePreview::clearRegion()
{
    if (m_region.isEmpty())
        return;
    m_region = QRectF();
    update();
    emit regionChanged();
}

QRectF PagePreview::shownRect() const
{
    const QRectF room = QRectF(rect()).adjusted(kMargin, kMargin, -kMargin, -kMargin);
    if (m_pagePoints.isEmpty() || room.isEmpty())
        return {};
    const QSizeF size = m_pagePoints.scaled(room.size(), Qt::KeepAspectRatio);
    return QRectF(room.center() - QPointF(size.width(), size.height()) / 2, size);
}

QRectF PagePreview::regionOnView() const
{
    if (m_dragStart)
        return QRectF(*m_dragStart, m_dragEnd).normalized();
    const QRectF shown = shownRect();
    if (m_region.isEmpty() || shown.isEmpty())
        return {};
    const double sx = shown.width() / m_pagePoints.width();
    const double sy = shown.height() / m_pagePoints.height();
    return {shown.left() + m_region.left() * sx, shown.top() + m_region.top() * sy, m_region.width() * sx,
            m_region.height() * sy};
}

void PagePreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().dark());
    const QRectF shown = shownRect();
    if (shown.isEmpty())
        return;
    if (m_picture.isNull())
        painter.fillRect(shown, Qt::white);
    else
        painter.drawImage(shown, m_picture); // scaled only until the page is drawn at a new size
    const QRectF region = regionOnView();
    if (region.isEmpty())
        return;
    // What is left out is dimmed; the region keeps its own look inside a dashed frame.
    QPainterPath outside;
    outside.addRect(shown);
    outside.addRect(region);
    painter.fillPath(outside, QColor(0, 0, 0, 90));
    painter.setPen(QPen(QColor(200, 0, 0), 1, Qt::DashLine));
    painter.drawRect(region.adjusted(0, 0, -1, -1));
}

void PagePreview::resizeEvent(QResizeEvent *)
{
    if (isVisible())
        emit shownSizeChanged();
}

void PagePreview::showEvent(QShowEvent *)
{
    emit shownSizeChanged(); // the size is laid out by now
}

void PagePreview::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || shownRect().isEmpty())
        return;
    m_dragStart = event->position();
    m_dragEnd = event->position();
    update();
}

void PagePreview::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragStart)
        return;
    m_dragEnd = event->position();
    update();
}

void PagePreview::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragStart)
        return;
    const QPointF start = *m_dragStart;
    m_dragStart.reset();
    const QPointF drag = event->position() - start;
    const QRectF region = regionFromView(start, event->position(), shownRect(), m_pagePoints);
    if (std::abs(drag.x()) < kSmallestDrag || std::abs(drag.y()) < kSmallestDrag || region.isEmpty()) {
        update();
        clearRegion();
        return;
    }
    m_region = region;
    update();
    emit regionChanged();
}
