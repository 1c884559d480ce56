#include "ui/printed_text.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRect>

void PrintedText::paint(QPainter &painter, const QFont &font, const QRect &dirty) const
{
    if (m_lines.isEmpty())
        return;
    painter.save();
    painter.setFont(font);
    const QFontMetrics metrics(font);
    int baseline = metrics.ascent();
    for (const QString &line : m_lines) {
        // The controls above the text repaint often; laying out a line they do not touch is wasted.
        if (baseline + metrics.descent() >= dirty.top() && baseline - metrics.ascent() <= dirty.bottom())
            painter.drawText(0, baseline, line);
        baseline += metrics.height();
    }
    painter.restore();
}
