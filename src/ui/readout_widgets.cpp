#include "ui/readout_widgets.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

void PlainGlyphs::useFont(const QFont &font)
{
    m_font = font;
    m_raw = QRawFont::fromFont(font);
    const QFontMetricsF metrics(font);
    m_ascent = metrics.ascent();
    m_height = metrics.height();
    const QFontMetrics pixels(font);
    m_ascentPixels = pixels.ascent();
    m_heightPixels = pixels.height();
    m_latin1.fill({});
}

std::optional<PlainGlyphs::Line> PlainGlyphs::layOut(const QFont &font, const QString &text)
{
    if (!m_raw.isValid() || font != m_font)
        useFont(font);
    if (!m_raw.isValid())
        return std::nullopt;
    QList<quint32> glyphs;
    QList<QPointF> positions;
    glyphs.reserve(text.size());
    positions.reserve(text.size());
    qreal x = 0;
    for (const QChar c : text) {
        if (c.unicode() >= m_latin1.size())
            return std::nullopt; // the caller's own painting handles the rest of Unicode
        Glyph &glyph = m_latin1[c.unicode()];
        if (glyph.index == 0) {
            const QList<quint32> index = m_raw.glyphIndexesForString(QString(c));
            if (index.size() != 1 || index.front() == 0)
                return std::nullopt; // a glyph the font lacks
            glyph.index = index.front();
            glyph.advance = m_raw.advancesForGlyphIndexes(index).front().x();
        }
        glyphs.append(glyph.index);
        positions.append({x, 0});
        x += glyph.advance;
    }
    Line line;
    line.run.setRawFont(m_raw);
    line.run.setGlyphIndexes(glyphs);
    line.run.setPositions(positions);
    line.width = x;
    return line;
}

namespace {

// Numbers need no shaping, and the line edit lays its text out again on every change: without shaping
// that layout costs a fraction, and the glyphs stand where the quick painting puts them.
void keepUnshaped(QWidget *widget)
{
    QFont font = widget->font();
    if (font.styleStrategy() & QFont::PreferNoShaping)
        return;
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
    widget->setFont(font);
}

// The largest part of `area` that an edge at a time can be cut down to where the image is one colour, as
// inside a frame whose corners and shadows reach into it; empty if that part is not all one colour.
std::optional<PlainBackground> plainPart(const QImage &image, const QRect &area)
{
    if (area.isEmpty() || !image.rect().contains(area))
        return std::nullopt;
    const QRgb colour = image.pixel(area.center());
    const auto plain = [&](const QRect &strip) {
        for (int y = strip.top(); y <= strip.bottom(); ++y) {
            for (int x = strip.left(); x <= strip.right(); ++x) {
                if (image.pixel(x, y) != colour)
                    return false;
            }
        }
        return true;
    };
    QRect part = area;
    while (!part.isEmpty()) {
        if (!plain({part.left(), part.top(), part.width(), 1}))
            part.setTop(part.top() + 1);
        else if (!plain({part.left(), part.bottom(), part.width(), 1}))
            part.setBottom(part.bottom() - 1);
        else if (!plain({part.left(), part.top(), 1, part.height()}))
            part.setLeft(part.left() + 1);
        else if (!plain({part.right(), part.top(), 1, part.height()}))
            part.setRight(part.right() - 1);
        else
            break;
    }
    if (part.isEmpty() || !plain(part))
        return std::nullopt;
    return PlainBackground{QColor::fromRgba(colour), part};
}

void fillWithWindow(QWidget *widget, const QRegion &region)
{
    QPainter painter(widget);
    painter.setClipRegion(region);
    painter.fillRect(widget->rect(), widget->palette().window());
}

} // namespace

ReadoutLabel::ReadoutLabel(QWidget *parent)
    : ReadoutLabel(QString(), parent)
{}

ReadoutLabel::ReadoutLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    keepUnshaped(this);
}

void ReadoutLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        keepUnshaped(this);
}

void ReadoutLabel::paintEvent(QPaintEvent *event)
{
    const bool plain = textFormat() == Qt::PlainText || !Qt::mightBeRichText(text());
    const std::optional<PlainGlyphs::Line> line =
        plain && !wordWrap() && pixmap().isNull() ? m_glyphs.layOut(font(), text()) : std::nullopt;
    const QRect r = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const bool indented = indent() > 0 || (indent() < 0 && frameWidth() > 0);
    if (!line || line->width > r.width() || indented) {
        fillWithWindow(this, event->region());
        QLabel::paintEvent(event);
        return;
    }
    // Where the label's own layout puts the line: aligned in the contents, the baseline one ascent down.
    const Qt::Alignment a = QStyle::visualAlignment(layoutDirection(), alignment());
    qreal x = r.left();
    if (a & Qt::AlignHCenter)
        x = r.left() + (r.width() - line->width) / 2;
    else if (a & Qt::AlignRight)
        x = r.left() + r.width() - line->width;
    qreal top = r.top();
    if (a & Qt::AlignVCenter)
        top = r.top() + (r.height() - m_glyphs.height()) / 2;
    else if (a & Qt::AlignBottom)
        top = r.top() + r.height() - m_glyphs.height();
    QPainter painter(this);
    const QBrush &window = palette().window();
    painter.fillRect(event->rect(), window);
    const QColor pen = palette().color(foregroundRole()); // in the colour group of the window's state
    const QPointF origin(x, top + m_glyphs.ascent());
    if (window.style() != Qt::SolidPattern ||
        !m_tiles.paint(painter, origin, line->run, pen, {window.color(), rect()}, rect())) {
        painter.setPen(pen);
        painter.drawGlyphRun(origin, line->run);
    }
}

ReadoutBox::ReadoutBox(QWidget *parent)
    : QLineEdit(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    keepUnshaped(this);
}

void ReadoutBox::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        keepUnshaped(this);
}

bool ReadoutBox::paintsQuickly() const
{
    // Editing, a selection or a placeholder need the line edit's own painting.
    return isReadOnly() && !hasFocus() && !hasSelectedText() && echoMode() == QLineEdit::Normal && !text().isEmpty();
}

const QPixmap &ReadoutBox::emptyPanel(const QRect &textArea)
{
    const qint64 paletteKey = palette().cacheKey();
    if (m_panel.size() != size() * devicePixelRatio() || m_panelPalette != paletteKey ||
        m_panelEnabled != isEnabled() || m_panelTextArea != textArea) {
        m_panel = QPixmap(size() * devicePixelRatio());
        m_panel.setDevicePixelRatio(devicePixelRatio());
        m_panel.fill(palette().window().color()); // the rounded corners show the window
        QPainter painter(&m_panel);
        QStyleOptionFrame panel;
        initStyleOption(&panel);
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
        painter.end();
        m_panelPalette = paletteKey;
        m_panelEnabled = isEnabled();
        m_panelTextArea = textArea;
        m_panelUnderText = devicePixelRatio() == 1 ? plainPart(m_panel.toImage(), textArea) : std::nullopt;
    }
    return m_panel;
}

void ReadoutBox::paintEvent(QPaintEvent *event)
{
    if (!paintsQuickly()) {
        fillWithWindow(this, event->region());
        QLineEdit::paintEvent(event);
        return;
    }
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    const QRect r = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this).marginsRemoved(textMargins());
    // The line edit's own placing of a line that fits: two pixels in from the sides, one from the top or bottom.
    constexpr int kHorizontalMargin = 2;
    constexpr int kVerticalMargin = 1;
    const QRect lineRect = r.adjusted(kHorizontalMargin, 0, -kHorizontalMargin, 0);
    const std::optional<PlainGlyphs::Line> line = m_glyphs.layOut(font(), text());
    const int widthUsed = line ? qRound(line->width) + 1 : 0;
    if (!line || widthUsed > lineRect.width()) {
        fillWithWindow(this, event->region());
        QLineEdit::paintEvent(event); // the text scrolls
        return;
    }
    const Qt::Alignment a = QStyle::visualAlignment(layoutDirection(), alignment());
    int scroll = 0;
    if (a & Qt::AlignRight)
        scroll = widthUsed - lineRect.width() + 1;
    else if (a & Qt::AlignHCenter)
        scroll = (widthUsed - lineRect.width()) / 2;
    const int x = lineRect.left() - scroll;
    int top = r.top() + (r.height() - m_glyphs.heightPixels() + 1) / 2;
    if (a & Qt::AlignTop)
        top = r.top() + kVerticalMargin;
    else if (a & Qt::AlignBottom)
        top = r.top() + r.height() - m_glyphs.heightPixels() - kVerticalMargin;
    QPainter painter(this);
    painter.drawPixmap(0, 0, emptyPanel(r));
    painter.setClipRect(r);
    const QColor pen = panel.palette.color(QPalette::Text);
    const QPointF origin(x, top + m_glyphs.ascentPixels());
    if (!m_panelUnderText || !m_tiles.paint(painter, origin, line->run, pen, *m_panelUnderText, r)) {
        painter.setPen(pen);
        painter.drawGlyphRun(origin, line->run);
    }
}
