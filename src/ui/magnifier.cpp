#include "ui/magnifier.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

using namespace Qt::StringLiterals;

Magnifier::Magnifier(QWidget *parent)
    : QWidget(parent, Qt::Tool) // kept above the main window, not above every other program
{
    setObjectName(u"Magnifier"_s);
    setWindowTitle(u"Büyüteç"_s);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(256, 256);
}

void Magnifier::setSource(const QImage &picture)
{
    m_source = picture;
    update();
}

void Magnifier::setCentre(QPointF sourcePixels)
{
    if (m_centre == sourcePixels)
        return;
    m_centre = sourcePixels;
    update();
}

QPointF Magnifier::sourceAt(QPointF windowPos) const
{
    const QPointF middle(width() / 2.0, height() / 2.0);
    return m_centre + (windowPos - middle) / m_zoom;
}

void Magnifier::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    // Pixels stay blocks: the point is to see exactly where each one lies.
    painter.translate(width() / 2.0, height() / 2.0);
    painter.scale(m_zoom, m_zoom);
    painter.translate(-m_centre);
    const QRectF visible =
        QRectF(m_centre - QPointF(width(), height()) / (2.0 * m_zoom), QSizeF(width(), height()) / m_zoom)
            .adjusted(-1, -1, 1, 1);
    const QRect needed = visible.toAlignedRect().intersected(m_source.rect());
    painter.drawImage(needed.topLeft(), m_source, needed);
    painter.resetTransform();

    const int cx = width() / 2;
    const int cy = height() / 2;
    painter.setPen(QPen(QColor(255, 0, 0), 1));
    painter.drawLine(cx - 12, cy, cx - 3, cy);
    painter.drawLine(cx + 3, cy, cx + 12, cy);
    painter.drawLine(cx, cy - 12, cx, cy - 3);
    painter.drawLine(cx, cy + 3, cx, cy + 12);
}

void Magnifier::mousePressEvent(QMouseEvent *event)
{
    emit pressedAt(sourceAt(event->position()));
}

void Magnifier::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y() / 120;
    int zoom = m_zoom;
    for (int i = 0; i < std::abs(steps); ++i)
        zoom = steps > 0 ? zoom * 2 : zoom / 2;
    m_zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    update();
}

void Magnifier::keyPressEvent(QKeyEvent *event)
{
    const qreal step = 1.0 / m_zoom; // one magnified pixel
    QPointF delta;
    switch (event->key()) {
    case Qt::Key_Left:
        delta = {-step, 0};
        break;
    case Qt::Key_Right:
        delta = {step, 0};
        break;
    case Qt::Key_Up:
        delta = {0, -step};
        break;
    case Qt::Key_Down:
        delta = {0, step};
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    setCentre(m_centre + delta);
    emit movedTo(m_centre);
}
