#pragma once

#include <QStringList>

class QFont;
class QPainter;
class QRect;

// Lines printed onto a window's surface, one below the other from the top-left corner, kept so that
// every repaint shows them again.
class PrintedText {
public:
    void print(const QString &line) { m_lines.append(line); }
    [[nodiscard]] const QStringList &lines() const { return m_lines; }
    void paint(QPainter &painter, const QFont &font, const QRect &dirty) const;

private:
    QStringList m_lines;
};
