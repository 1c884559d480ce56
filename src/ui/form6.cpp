#include "ui/form6.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPen>
#include <QPointF>
#include <QPolygon>
#include <QPolygonF>
#include <QRect>
#include <QRectF>

using namespace Qt::StringLiterals;

namespace {

// The pixels a press may fall on: the open rectangle's bounds themselves are left out.
QRect interiorOf(const OpenRect &rect)
{
    return QRect(rect.left + 1, rect.top + 1, rect.width() - 1, rect.height() - 1);
}

QPointF centreOf(const QRect &rect)
{
    return QPointF(rect.left() + rect.width() / 2.0, rect.top() + rect.height() / 2.0);
}

QImage blankPicture(int width, int height, QRgb background)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

QImage blankIcon(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A frame of the given thickness whose outer edge is the given rectangle (inclusive pixels).
void frame(QPainter &painter, const QRect &outer, int thickness, QRgb colour)
{
    const QColor c = QColor::fromRgb(colour);
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), thickness), c);
    painter.fillRect(QRect(outer.left(), outer.bottom() - thickness + 1, outer.width(), thickness), c);
    painter.fillRect(QRect(outer.left(), outer.top(), thickness, outer.height()), c);
    painter.fillRect(QRect(outer.right() - thickness + 1, outer.top(), thickness, outer.height()), c);
}

// The outline drawn on an open rectangle's bounds, around its interior.
QRect boundsOf(const OpenRect &rect)
{
    return QRect(QPoint(rect.left, rect.top), QPoint(rect.right, rect.bottom));
}

// Symbols are filled paths with antialiasing off, so every pixel is either the symbol's or the field's.
void drawShapeSymbol(QPainter &painter, std::int16_t shape, const QRect &field, QRgb colour)
{
    constexpr double half = 6;   // the symbols span 12 pixels
    constexpr double stroke = 2; // outline width of the open symbols
    const QPointF c = centreOf(field);
    const QRectF box(c.x() - half, c.y() - half, 2 * half, 2 * half);
    const QColor ink = QColor::fromRgb(colour);

    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    switch (shape) {
    case 1:
        path.addEllipse(c, 3, 3);
        break;
    case 2:
        path.setFillRule(Qt::WindingFill);
        path.addRect(QRectF(box.left(), c.y() - stroke / 2, box.width(), stroke));
        path.addRect(QRectF(c.x() - stroke / 2, box.top(), stroke, box.height()));
        break;
    case 3: {
        QPainterPathStroker stroker;
        stroker.setWidth(stroke + 0.4);
        stroker.setCapStyle(Qt::FlatCap);
        QPainterPath down;
        down.moveTo(box.topLeft());
        down.lineTo(box.bottomRight());
        QPainterPath up;
        up.moveTo(box.bottomLeft());
        up.lineTo(box.topRight());
        QPainterPath clip;
        clip.addRect(box); // keeps the stroke ends square with the box, like the upright cross
        path = stroker.createStroke(down).united(stroker.createStroke(up)).intersected(clip);
        break;
    }
    case 4:
        path.addEllipse(box);
        path.addEllipse(box.adjusted(stroke, stroke, -stroke, -stroke));
        break;
    case 5:
        path.addRect(box);
        path.addRect(box.adjusted(stroke, stroke, -stroke, -stroke));
        break;
    case 6: {
        const auto diamond = [&c](double r) {
            return QPolygonF({QPointF(c.x(), c.y() - r), QPointF(c.x() + r, c.y()), QPointF(c.x(), c.y() + r),
                              QPointF(c.x() - r, c.y()), QPointF(c.x(), c.y() - r)});
        };
        // One pixel larger than the others: a diamond's corners cut so much area that it would look smaller.
        path.addPolygon(diamond(half + 1));
        path.addPolygon(diamond(half + 1 - stroke * 1.42)); // 2 px measured across the slanted sides
        break;
    }
    default:
        return;
    }
    painter.fillPath(path, ink);
}

QImage shapePalette(std::int16_t chosen)
{
    QImage image = blankPicture(kShapePaletteSize.width, kShapePaletteSize.height, Form6::kBackground);
    QPainter painter(&image);
    for (const ShapeField &field : kShapeFields) {
        const QRect inside = interiorOf(field.rect);
        QRgb ink = Form6::kItem;
        if (field.shape == chosen) {
            painter.fillRect(inside, QColor::fromRgb(Form6::kHighlight));
            ink = Form6::kHighlightedItem;
        }
        drawShapeSymbol(painter, field.shape, inside, ink);
    }
    return image;
}

QImage thicknessPalette(std::int16_t chosen)
{
    constexpr int margin = 4; // between the line ends and the field's sides
    QImage image = blankPicture(kThicknessPaletteSize.width, kThicknessPaletteSize.height, Form6::kBackground);
    QPainter painter(&image);
    for (const ThicknessField &field : kThicknessFields) {
        const QRect inside = interiorOf(field.rect);
        QRgb ink = Form6::kItem;
        if (field.width == chosen) {
            painter.fillRect(inside, QColor::fromRgb(Form6::kHighlight));
            ink = Form6::kHighlightedItem;
        }
        const int top = int(centreOf(inside).y() - field.width / 2.0);
        painter.fillRect(QRect(inside.left() + margin, top, inside.width() - 2 * margin, field.width),
                         QColor::fromRgb(ink));
    }
    return image;
}

QImage colourPalette(const ColourField &chosen, int width)
{
    QImage image = blankPicture(width, kColourPaletteSize.height, Form6::kBackground);
    QPainter painter(&image);
    for (const ColourField &field : kColourFields) {
        painter.fillRect(interiorOf(field.rect), QColor(field.rgb.red, field.rgb.green, field.rgb.blue));
        frame(painter, boundsOf(field.rect), 1, Form6::kSwatchOutline);
    }
    const int gap = Form6::kChosenColourFrameWidth;
    frame(painter, boundsOf(chosen.rect).adjusted(-gap, -gap, gap, gap), gap, Form6::kChosenColourFrame);

    painter.fillRect(interiorOf(Form6::kColourPreview), QColor(chosen.rgb.red, chosen.rgb.green, chosen.rgb.blue));
    frame(painter, boundsOf(Form6::kColourPreview), 1, Form6::kSwatchOutline);
    return image;
}

// Pointer option pictures: the pointer's hot spot sits at the picture's middle.
constexpr int kPointerCentreX = 16;
constexpr int kPointerCentreY = 20;

QImage fullCrossHairPicture()
{
    constexpr int gap = 3;
    const QSize size = Form6::kPointerPictureSize;
    QImage image = blankPicture(size.width(), size.height(), Form6::kBackground);
    QPainter painter(&image);
    const QColor ink = QColor::fromRgb(Form6::kItem);
    painter.fillRect(QRect(kPointerCentreX, 0, 1, kPointerCentreY - gap), ink);
    painter.fillRect(QRect(kPointerCentreX, kPointerCentreY + gap + 1, 1, size.height()), ink);
    painter.fillRect(QRect(0, kPointerCentreY, kPointerCentreX - gap, 1), ink);
    painter.fillRect(QRect(kPointerCentreX + gap + 1, kPointerCentreY, size.width(), 1), ink);
    return image;
}

QImage smallCrossPicture()
{
    constexpr int arm = 5;
    const QSize size = Form6::kPointerPictureSize;
    QImage image = blankPicture(size.width(), size.height(), Form6::kBackground);
    QPainter painter(&image);
    const QColor ink = QColor::fromRgb(Form6::kItem);
    painter.fillRect(QRect(kPointerCentreX, kPointerCentreY - arm, 1, 2 * arm + 1), ink);
    painter.fillRect(QRect(kPointerCentreX - arm, kPointerCentreY, 2 * arm + 1, 1), ink);
    return image;
}

QImage arrowPicture()
{
    const QSize size = Form6::kPointerPictureSize;
    QImage image = blankPicture(size.width(), size.height(), Form6::kBackground);
    QPainter painter(&image);
    // The classic arrow, tip at the top left, drawn about the picture's middle; pixel-exact, no smoothing.
    const QPoint tip(11, 9);
    QPolygon arrow;
    for (const QPoint &p : {QPoint(0, 0), QPoint(0, 17), QPoint(4, 13), QPoint(7, 20), QPoint(9, 19), QPoint(6, 12),
                            QPoint(12, 12), QPoint(0, 0)})
        arrow << tip + p;
    painter.setPen(QPen(QColor::fromRgb(Form6::kItem), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::white);
    painter.drawPolygon(arrow);
    return image;
}

QImage magnifyingGlassPicture()
{
    const QSize size = Form6::kMagnifierPictureSize;
    QImage image = blankPicture(size.width(), size.height(), Form6::kBackground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF lens(16, 13);
    constexpr double radius = 9;
    painter.setPen(QPen(QColor(96, 56, 24), 5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(23, 20), QPointF(33, 30));
    painter.setPen(QPen(QColor(40, 40, 40), 2));
    painter.setBrush(QColor(214, 234, 252));
    painter.drawEllipse(lens, radius, radius);
    // A glint, so the glass reads as glass.
    painter.setPen(QPen(Qt::white, 1.5, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(lens.x() - 6, lens.y() - 6, 12, 12), 100 * 16, 60 * 16);
    return image;
}

QImage chartIcon()
{
    QImage image = blankIcon(Form6::kIconSize);
    QPainter painter(&image);
    painter.fillRect(QRect(2, 1, 14, 13), Qt::white);
    painter.fillRect(QRect(2, 1, 1, 14), Qt::black);  // y axis
    painter.fillRect(QRect(1, 13, 15, 1), Qt::black); // x axis
    const QPolygonF curve({QPointF(4, 11), QPointF(7, 8), QPointF(10, 7), QPointF(13, 3)});
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 255), 1));
    painter.drawPolyline(curve);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const QPointF &p : curve)
        painter.fillRect(QRectF(p.x() - 1, p.y() - 1, 2, 2), QColor(255, 0, 0));
    return image;
}

QImage tableIcon()
{
    QImage image = blankIcon(Form6::kIconSize);
    QPainter painter(&image);
    const QRect sheet(1, 2, 14, 12);
    painter.fillRect(sheet, Qt::white);
    painter.fillRect(QRect(sheet.left(), sheet.top(), sheet.width(), 3), QColor(0, 0, 128)); // header row
    const QColor rule(128, 128, 128);
    for (int y : {8, 11})
        painter.fillRect(QRect(sheet.left(), y, sheet.width(), 1), rule);
    painter.fillRect(QRect(7, sheet.top(), 1, sheet.height()), rule);
    frame(painter, sheet, 1, qRgb(64, 64, 64));
    return image;
}

QImage crossIcon()
{
    QImage image = blankIcon(Form6::kIconSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(48, 48, 48), 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(4.5, 4.5), QPointF(11.5, 11.5));
    painter.drawLine(QPointF(11.5, 4.5), QPointF(4.5, 11.5));
    return image;
}

} // namespace

Form6::Form6()
    : m_pointers{fullCrossHairPicture(), smallCrossPicture(), arrowPicture()}
    , m_magnifier(magnifyingGlassPicture())
    , m_mainIcon(chartIcon())
    , m_auxiliaryIcon(tableIcon())
    , m_closeIcon(crossIcon())
{}

QImage Form6::picture(const QString &name) const
{
    // Drawn when first asked for: the window shows three of them at start, the others as choices change.
    if (const auto drawn = m_pictures.constFind(name); drawn != m_pictures.cend())
        return *drawn;
    QImage picture = drawPalettePicture(name);
    if (!picture.isNull())
        m_pictures.insert(name, picture);
    return picture;
}

QImage Form6::drawPalettePicture(const QString &name)
{
    for (const ShapeField &field : kShapeFields) {
        if (field.pictureName == name)
            return shapePalette(field.shape);
    }
    for (const ThicknessField &field : kThicknessFields) {
        if (field.pictureName == name)
            return thicknessPalette(field.width);
    }
    for (const ColourField &field : kColourFields) {
        if (field.pictureName == name)
            return colourPalette(field, name == u"Picture11"_s ? kWideColourPictureWidth : kColourPaletteSize.width);
    }
    return {};
}

QImage Form6::pointerPicture(int option) const
{
    if (option < 1 || option > int(m_pointers.size()))
        return {};
    return m_pointers[std::size_t(option - 1)];
}
