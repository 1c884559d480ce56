#include "ui/printed_text.h"

#include <QFontMetrics>
#include <QPainter>

void PrintedText::paint(QPainter &painter, const QFont &font) const
{
    if (m_lines.isEmpty())
        return;
    painter.save();
    painter.setFont(font);
    const QFontMetrics metrics(font);
    int baseline = metrics.ascent();
    for (const QString &line : m_lines) {
        painter.drawText(0, baseline, line);
        baseline += metrics.height();
    }
    painter.restore();
}
