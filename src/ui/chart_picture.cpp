#include "ui/chart_picture.h"

#include "ui/twips.h"
#include "ui/twips_widgets.h"
#include "workspace/repaint_strips.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kPreviewMarkRadius = 3;
constexpr int kPreviewCell = 32;

// The pixels of an arm, which is horizontal or vertical: along its length those whose centres lie on it, across
// it the row or column that holds it. Filling them is what a one-pixel line does, without the line rasterizer's
// cost of clipping an arm that runs far outside the chart.
QRect armPixels(const ChartLine &line)
{
    const QPointF a = line.from / kTwipsPerPixel;
    const QPointF b = line.to / kTwipsPerPixel;
    const auto first = [](qreal p, qreal q) { return int(std::ceil(std::min(p, q) - 0.5)); };
    const auto last = [](qreal p, qreal q) { return int(std::floor(std::max(p, q) - 0.5)); };
    if (a.y() == b.y()) {
        const int row = int(std::floor(a.y()));
        return QRect(QPoint(first(a.x(), b.x()), row), QPoint(last(a.x(), b.x()), row));
    }
    const int column = int(std::floor(a.x()));
    return QRect(QPoint(column, first(a.y(), b.y())), QPoint(column, last(a.y(), b.y())));
}

} // namespace

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
    m_opaque = picture.hasAlphaChannel() ? QRect() : picture.rect();
    resize(picture.width() + 2 * kBorderPx, picture.height() + 2 * kBorderPx);
    takePixelSize(this);
    update();
}

void ChartPicture::clearNaturalPicture()
{
    m_natural = QImage();
    m_opaque = QRect();
    update();
}

void ChartPicture::showDrawings(const QRect &areaPixels)
{
    m_drawn |= areaPixels;
    update(areaPixels.translated(kBorderPx, kBorderPx));
}

void ChartPicture::eraseDrawings()
{
    if (layerIsOpaque())
        m_drawings.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied); // the same pixels, no allocation
    // Outside what was drawn the layer is clear already; a new picture usually comes with nothing drawn.
    if (const QRect drawn = m_drawn & m_drawings.rect(); drawn == m_drawings.rect()) {
        m_drawings.fill(Qt::transparent);
    } else if (!drawn.isEmpty()) {
        QPainter painter(&m_drawings);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(drawn, Qt::transparent);
    }
    m_drawn = QRect();
    if (m_natural.isNull())
        m_opaque = QRect();
    update();
}

void ChartPicture::setLine(int index, const ChartLine &line)
{
    std::array<ChartLine, 4> lines = m_lines;
    lines.at(index) = line;
    setLines(lines);
}

void ChartPicture::setLines(const std::array<ChartLine, 4> &lines)
{
    std::vector<QRect> strips;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ChartLine &old = m_lines[i];
        const ChartLine &now = lines[i];
        if (old.visible == now.visible && old.from == now.from && old.to == now.to)
            continue;
        if (old.visible)
            strips.push_back(lineRect(old));
        if (now.visible)
            strips.push_back(lineRect(now));
    }
    m_lines = lines;
    // Each joined strip is repainted on its own and at once: queued together, the strips would reach the
    // painter as their bounding rectangle, most of the chart.
    for (const QRect &strip : joinCloseRects(std::move(strips)))
        repaintNow(strip);
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
    // Inside the drawing area, so that a moving arm leaves the border alone.
    return (armPixels(line) & QRect(QPoint(), areaSize())).translated(kBorderPx, kBorderPx);
}

QImage &ChartPicture::drawings()
{
    fitDrawingsToArea(); // a hidden widget gets its resize event only when shown
    return m_drawings;
}

void ChartPicture::drawScaledPicture(const QImage &picture)
{
    if (m_natural.isNull() && !picture.hasAlphaChannel())
        makeLayerOpaque();
    QPainter painter(&drawings());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, picture);
    painter.end();
    m_drawn |= picture.rect();
    update();
}

// An opaque chart under the drawings: the layer takes the window's colour where it held nothing and then
// stands alone, so that repainting it is a copy rather than a blend of every pixel.
void ChartPicture::makeLayerOpaque()
{
    fitDrawingsToArea();
    if (layerIsOpaque())
        return;
    if (m_drawn.isEmpty()) { // as after every erase: the layer's own pixels will do
        m_drawings.reinterpretAsFormat(QImage::Format_RGB32);
        m_drawings.fill(palette().color(QPalette::Window));
    } else {
        QImage opaque = newLayer(m_drawings.size(), true);
        QPainter painter(&opaque);
        painter.drawImage(0, 0, m_drawings);
        painter.end();
        m_drawings = std::move(opaque);
    }
    m_drawn = m_opaque = m_drawings.rect();
}

QImage ChartPicture::newLayer(QSize size, bool opaque) const
{
    QImage layer(size, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    layer.fill(opaque ? palette().color(QPalette::Window) : QColor(Qt::transparent));
    return layer;
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
    QImage grown = newLayer(area.expandedTo(m_drawings.size()), layerIsOpaque());
    if (!m_drawings.isNull()) {
        QPainter p(&grown);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, m_drawings);
    }
    m_drawings = std::move(grown);
    if (layerIsOpaque())
        m_drawn = m_opaque = m_drawings.rect();
}

void ChartPicture::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.save();
    painter.translate(kBorderPx, kBorderPx);
    // A moving cross-hair dirties four thin strips; their bounding rectangle would be the whole chart.
    const QRect area(QPoint(), areaSize());
    const QRegion areaRegion = event->region().translated(-kBorderPx, -kBorderPx) & area;
    const QColor crossHair = palette().color(QPalette::Highlight);
    for (const QRect &dirty : areaRegion) {
        // A thin upright strip is a thousand short rows, each with its own cost: draw no layer it does not need.
        if (!m_opaque.contains(dirty))
            painter.fillRect(dirty, palette().color(QPalette::Window));
        if (!m_natural.isNull())
            painter.drawImage(dirty.topLeft(), m_natural, dirty);
        if (const QRect drawn = dirty & m_drawn; !drawn.isEmpty())
            painter.drawImage(drawn.topLeft(), m_drawings, drawn);
    }
    if (!m_preview.empty())
        paintPreview(painter, areaRegion);
    for (const QRect &dirty : areaRegion) {
        for (const ChartLine &line : m_lines) {
            if (const QRect arm = armPixels(line) & dirty; line.visible && !arm.isEmpty())
                painter.fillRect(arm, crossHair);
        }
    }
    painter.restore();
    if (area.translated(kBorderPx, kBorderPx).contains(event->region().boundingRect()))
        return; // the border is untouched
    paintBorder(painter);
}

// A sunken border, two pixels wide.
void ChartPicture::paintBorder(QPainter &painter) const
{
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
    // The border is no part of the chart: a press there is no click on it.
    const QPointF inArea = event->position() - QPointF(kBorderPx, kBorderPx);
    const QSize area = areaSize();
    if (inArea.x() >= 0 && inArea.y() >= 0 && inArea.x() < area.width() && inArea.y() < area.height())
        emit pressed(toTwips(event->position()), event->button());
}

void ChartPicture::setPreview(const std::vector<QPointF> &areaPixels, const QColor &colour)
{
    // Only the cells that held or now hold a mark are repainted: a curve crosses a few of them, not the chart.
    QRegion dirty = m_previewCells;
    m_preview = areaPixels;
    m_previewColour = colour;
    std::vector<std::pair<int, int>> cells; // (row, column)
    for (const QPointF &p : m_preview) {
        const QRect mark = previewMark(p);
        for (int row = mark.top() / kPreviewCell; row <= mark.bottom() / kPreviewCell; ++row) {
            for (int column = mark.left() / kPreviewCell; column <= mark.right() / kPreviewCell; ++column)
                cells.emplace_back(row, column);
        }
    }
    std::sort(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    std::vector<QRect> rects;
    rects.reserve(cells.size());
    for (const auto &[row, column] : cells)
        rects.emplace_back(column * kPreviewCell, row * kPreviewCell, kPreviewCell, kPreviewCell);
    m_previewCells = QRegion();
    m_previewCells.setRects(rects.data(), int(rects.size())); // banded already: sorted by row, then column
    dirty += m_previewCells;
    update(dirty.translated(kBorderPx, kBorderPx));
}

QRect ChartPicture::previewMark(QPointF areaPixel)
{
    const QPoint at(int(std::floor(std::max(0.0, areaPixel.x()))), int(std::floor(std::max(0.0, areaPixel.y()))));
    return {at - QPoint(kPreviewMarkRadius, kPreviewMarkRadius),
            QSize(2 * kPreviewMarkRadius + 1, 2 * kPreviewMarkRadius + 1)};
}

// A light square under a square of the colour: visible on dark and light charts, and quick to draw.
void ChartPicture::paintPreview(QPainter &painter, const QRegion &dirty) const
{
    const QRect bounds = dirty.boundingRect();
    painter.save();
    painter.setClipRegion(dirty);
    for (const QPointF &p : m_preview) {
        const QRect halo = previewMark(p);
        if (!bounds.intersects(halo))
            continue;
        painter.fillRect(halo, Qt::white);
        painter.fillRect(halo.adjusted(1, 1, -1, -1), m_previewColour);
    }
    painter.restore();
}

