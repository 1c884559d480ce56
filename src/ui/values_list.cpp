#include "ui/values_list.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int kTextMargin = 2; // pixels left of each line, as list boxes draw it

} // namespace

ValuesList::ValuesList(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Base);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(1); // one line a step
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
}

void ValuesList::addLine(const QString &text)
{
    m_lines.append(text);
    m_widest = std::max(m_widest, fontMetrics().horizontalAdvance(text) + 2 * kTextMargin);
    updateScrollRanges();
    setCurrentRow(count() - 1);
}

void ValuesList::clear()
{
    m_lines.clear();
    m_current = -1;
    m_widest = 0;
    updateScrollRanges();
    viewport()->update();
}

void ValuesList::setCurrentRow(int row)
{
    if (row < -1 || row >= count())
        return;
    const int old = m_current;
    m_current = row;
    repaintRow(old);
    repaintRow(row);
    if (row >= 0)
        scrollToRow(row);
}

int ValuesList::lineHeight() const
{
    return std::max(1, fontMetrics().height());
}

int ValuesList::linesInView() const
{
    return std::max(1, viewport()->height() / lineHeight());
}

void ValuesList::updateScrollRanges()
{
    verticalScrollBar()->setRange(0, std::max(0, count() - linesInView()));
    verticalScrollBar()->setPageStep(linesInView());
    horizontalScrollBar()->setRange(0, std::max(0, m_widest - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void ValuesList::scrollToRow(int row)
{
    QScrollBar *bar = verticalScrollBar();
    if (row < bar->value())
        bar->setValue(row);
    else if (row >= bar->value() + linesInView())
        bar->setValue(row - linesInView() + 1);
}

void ValuesList::repaintRow(int row)
{
    const int inView = row - verticalScrollBar()->value();
    if (row < 0 || inView < 0 || inView > linesInView())
        return;
    viewport()->update(0, inView * lineHeight(), viewport()->width(), lineHeight());
}

void ValuesList::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const int height = lineHeight();
    const int top = verticalScrollBar()->value();
    const int firstInView = top + event->rect().top() / height;
    const int lastInView = std::min(count() - 1, top + event->rect().bottom() / height);
    const int left = kTextMargin - horizontalScrollBar()->value();
    for (int row = firstInView; row <= lastInView; ++row) {
        const QRect band(0, (row - top) * height, viewport()->width(), height);
        const bool selected = row == m_current;
        if (selected)
            painter.fillRect(band, palette().brush(QPalette::Highlight));
        painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter.drawText(band.adjusted(left, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         m_lines.at(row));
    }
}

void ValuesList::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRanges();
}

void ValuesList::mousePressEvent(QMouseEvent *event)
{
    const int row = verticalScrollBar()->value() + int(event->position().y()) / lineHeight();
    if (row < count())
        setCurrentRow(row);
}

void ValuesList::keyPressEvent(QKeyEvent *event)
{
    const int last = count() - 1;
    int row = m_current;
    switch (event->key()) {
    case Qt::Key_Up:
        row = std::max(0, row - 1);
        break;
    case Qt::Key_Down:
        row = std::min(last, row + 1);
        break;
    case Qt::Key_PageUp:
        row = std::max(0, row - linesInView());
        break;
    case Qt::Key_PageDown:
        row = std::min(last, row + linesInView());
        break;
    case Qt::Key_Home:
        row = 0;
        break;
    case Qt::Key_End:
        row = last;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (last >= 0)
        setCurrentRow(row);
}

void ValuesList::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_widest = 0;
        for (const QString &text : std::as_const(m_lines))
            m_widest = std::max(m_widest, fontMetrics().horizontalAdvance(text) + 2 * kTextMargin);
        updateScrollRanges();
    } else if (event->type() == QEvent::PaletteChange) {
        viewport()->update();
    }
}
