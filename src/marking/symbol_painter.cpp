#include "marking/symbol_painter.h"

#include "ui/twips.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <limits>

namespace {

QPointF toPixels(SymbolPoint p)
{
    return {p.x / kTwipsPerPixel, p.y / kTwipsPerPixel};
}

// Bounds of everything the symbol draws, widened by the pen.
QRect touchedArea(const SymbolShapes &s, int penWidth)
{
    float left = std::numeric_limits<float>::max(), top = left, right = -left, bottom = -left;
    const auto add = [&](QPointF p) {
        left = std::min(left, float(p.x()));
        right = std::max(right, float(p.x()));
        top = std::min(top, float(p.y()));
        bottom = std::max(bottom, float(p.y()));
    };
    for (const SymbolSegment &seg : s.segments) {
        add(toPixels(seg.from));
        add(toPixels(seg.to));
    }
    for (const SymbolPoint &p : s.points)
        add(toPixels(p));
    if (s.hasCircle) {
        const float r = s.circleRadius / kTwipsPerPixel;
        const QPointF c = toPixels(s.circleCentre);
        add(c - QPointF(r, r));
        add(c + QPointF(r, r));
    }
    if (s.hasRectangle) {
        add(toPixels(s.rectangleCorner1));
        add(toPixels(s.rectangleCorner2));
    }
    if (left > right)
        return {};
    const int margin = penWidth + 2;
    return QRectF(QPointF(left, top), QPointF(right, bottom))
        .toAlignedRect()
        .adjusted(-margin, -margin, margin, margin);
}

} // namespace

QRect paintSymbol(QImage &layer, const SymbolShapes &symbol, const QColor &colour, int drawingWidthPx)
{
    const int width = std::max(1, symbol.dotWidthPx > 0 ? symbol.dotWidthPx : drawingWidthPx);
    QPainter painter(&layer);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(colour, width);
    pen.setCapStyle(width > 1 ? Qt::RoundCap : Qt::SquareCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);

    for (const SymbolSegment &seg : symbol.segments)
        painter.drawLine(toPixels(seg.from), toPixels(seg.to));
    if (symbol.hasCircle) {
        const float r = symbol.circleRadius / kTwipsPerPixel;
        painter.drawEllipse(toPixels(symbol.circleCentre), r, r);
    }
    if (symbol.hasRectangle)
        painter.drawRect(QRectF(toPixels(symbol.rectangleCorner1), toPixels(symbol.rectangleCorner2)).normalized());
    for (const SymbolPoint &p : symbol.points)
        painter.drawPoint(toPixels(p));
    return touchedArea(symbol, width).intersected(layer.rect());
}
