#include "ui/frame_box.h"

#include <QPainter>

FrameBox::FrameBox(const QString &caption, QWidget *parent)
    : QWidget(parent)
    , m_caption(caption)
    , m_captionColour(palette().color(QPalette::WindowText))
{}

void FrameBox::setCaptionColour(const QColor &colour)
{
    m_captionColour = colour;
    update();
}

void FrameBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int lineY = metrics.height() / 2;
    const QRect outline(0, lineY, width() - 2, height() - lineY - 2);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(outline);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(outline.translated(1, 1));

    if (m_caption.isEmpty())
        return;
    const QRect captionRect(6, 0, metrics.horizontalAdvance(m_caption) + 4, metrics.height());
    painter.fillRect(captionRect, palette().color(QPalette::Window));
    painter.setPen(m_captionColour);
    painter.drawText(captionRect, Qt::AlignCenter, m_caption);
}
