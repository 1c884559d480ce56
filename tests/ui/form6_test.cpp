#include "marking/palette_fields.h"
#include "ui/form6.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSize>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

std::string where(int x, int y)
{
    return "pixel (" + QString::number(x).toStdString() + ", " + QString::number(y).toStdString() + ")";
}

QRgb at(const QImage &image, int x, int y)
{
    return image.pixel(x, y) | 0xff000000u;
}

// The pixels a press on the field can land on.
QRect interiorOf(const OpenRect &rect)
{
    return QRect(QPoint(rect.left + 1, rect.top + 1), QPoint(rect.right - 1, rect.bottom - 1));
}

// The pixels of an area that differ from its fill: what is drawn on it.
std::vector<QPoint> drawnPixels(const QImage &image, const QRect &area, QRgb fill)
{
    std::vector<QPoint> pixels;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (at(image, x, y) != fill)
                pixels.push_back(QPoint(x, y));
    return pixels;
}

QRect extentOf(const std::vector<QPoint> &pixels)
{
    QRect extent;
    for (const QPoint &p : pixels)
        extent |= QRect(p, p);
    return extent;
}

bool centredIn(const QRect &extent, const QRect &field)
{
    const QPointF offset = QRectF(extent).center() - QRectF(field).center();
    return std::abs(offset.x()) <= 1 && std::abs(offset.y()) <= 1;
}

// In each state's picture the chosen field alone is highlighted with its item in the highlighted colour, the
// other items are plain on the background, and nothing is drawn outside the fields.
template <typename Fields> void expectOnlyChosenFieldHighlighted(const Fields &fields)
{
    const Form6 form;
    for (const auto &state : fields) {
        SCOPED_TRACE("state " + state.pictureName.toString().toStdString());
        const QImage image = form.picture(state.pictureName.toString());
        ASSERT_FALSE(image.isNull());
        for (const auto &field : fields) {
            SCOPED_TRACE("field of " + field.pictureName.toString().toStdString());
            const bool chosen = field.pictureName == state.pictureName;
            const QRgb fill = chosen ? Form6::kHighlight : Form6::kBackground;
            const QRect inside = interiorOf(field.rect);
            EXPECT_EQ(at(image, inside.left(), inside.top()), fill);
            const std::vector<QPoint> item = drawnPixels(image, inside, fill);
            EXPECT_FALSE(item.empty());
            for (const QPoint &p : item)
                ASSERT_EQ(at(image, p.x(), p.y()), chosen ? Form6::kHighlightedItem : Form6::kItem)
                    << where(p.x(), p.y());
        }
        for (const QPoint &p : drawnPixels(image, image.rect(), Form6::kBackground)) {
            const bool inAField = std::any_of(fields.begin(), fields.end(),
                                              [&p](const auto &f) { return interiorOf(f.rect).contains(p); });
            ASSERT_TRUE(inAField) << "drawn outside the fields at " << where(p.x(), p.y());
        }
    }
}

TEST(Form6Pictures, EveryNameGivesItsPicture)
{
    const Form6 form;
    const auto expectSize = [&form](QStringView name, QSize size) {
        const QImage image = form.picture(name.toString());
        EXPECT_FALSE(image.isNull()) << name.toString().toStdString();
        EXPECT_EQ(image.size(), size) << name.toString().toStdString();
    };
    for (const ShapeField &field : kShapeFields)
        expectSize(field.pictureName, QSize(kShapePaletteSize.width, kShapePaletteSize.height));
    for (const ThicknessField &field : kThicknessFields)
        expectSize(field.pictureName, QSize(kThicknessPaletteSize.width, kThicknessPaletteSize.height));
    for (const ColourField &field : kColourFields) {
        const int width = field.pictureName == u"Picture11" ? 100 : kColourPaletteSize.width;
        expectSize(field.pictureName, QSize(width, kColourPaletteSize.height));
    }
    for (const QString &name : {u""_s, u"Picture3"_s, u"Picture15"_s, u"Picture21"_s, u"Picture28"_s, u"picture7"_s})
        EXPECT_TRUE(form.picture(name).isNull()) << "name \"" << name.toStdString() << "\"";
}

TEST(Form6ShapePalette, EachStateHighlightsOnlyItsShape)
{
    expectOnlyChosenFieldHighlighted(kShapeFields);
}

TEST(Form6ShapePalette, EachFieldShowsItsShapeCentred)
{
    // What tells the six symbols apart: a dot is small; the crosses pass through the centre, the open shapes
    // leave it empty; the diagonal cross and the square reach the corners of their extent; two pixels in from a
    // corner along the diagonal lie on the diagonal cross and on the circle's ring, but in the square's hollow
    // and outside the diamond.
    struct Signature {
        bool small;
        bool centre;
        bool corners;
        bool nearCorner;
    };
    const std::vector<Signature> signatures{
        {true, true, false, true},   {false, true, false, false}, {false, true, true, true},
        {false, false, false, true}, {false, false, true, false}, {false, false, false, false},
    };
    ASSERT_EQ(signatures.size(), kShapeFields.size());

    const Form6 form;
    for (const ShapeField &state : kShapeFields) {
        const QImage image = form.picture(state.pictureName.toString());
        ASSERT_FALSE(image.isNull());
        for (const ShapeField &field : kShapeFields) {
            SCOPED_TRACE("state " + state.pictureName.toString().toStdString() + ", shape " +
                         QString::number(field.shape).toStdString());
            const Signature &signature = signatures[std::size_t(field.shape - 1)];
            const QRect inside = interiorOf(field.rect);
            const QRgb fill = field.shape == state.shape ? Form6::kHighlight : Form6::kBackground;
            const auto set = [&](int x, int y) { return at(image, x, y) != fill; };
            const QRect extent = extentOf(drawnPixels(image, inside, fill));
            ASSERT_FALSE(extent.isNull());
            EXPECT_TRUE(centredIn(extent, inside));
            EXPECT_TRUE(inside.adjusted(1, 1, -1, -1).contains(extent)); // clear of the field's edges

            const int cx = extent.left() + (extent.width() - 1) / 2;
            const int cy = extent.top() + (extent.height() - 1) / 2;
            const QRect e = extent;
            EXPECT_EQ(e.width() <= 8, signature.small) << "extent " << e.width();
            EXPECT_EQ(set(cx, cy) || set(cx + 1, cy) || set(cx, cy + 1) || set(cx + 1, cy + 1), signature.centre);
            EXPECT_EQ(set(e.left(), e.top()) && set(e.right(), e.top()) && set(e.left(), e.bottom()) &&
                          set(e.right(), e.bottom()),
                      signature.corners);
            EXPECT_EQ(set(e.left() + 2, e.top() + 2), signature.nearCorner);
        }
    }
}

TEST(Form6ThicknessPalette, EachStateHighlightsOnlyItsWidthAndLinesHaveTheirWidth)
{
    expectOnlyChosenFieldHighlighted(kThicknessFields);
    const Form6 form;
    for (const ThicknessField &state : kThicknessFields) {
        const QImage image = form.picture(state.pictureName.toString());
        for (const ThicknessField &field : kThicknessFields) {
            SCOPED_TRACE("state " + state.pictureName.toString().toStdString() + ", width " +
                         QString::number(field.width).toStdString());
            const QRect inside = interiorOf(field.rect);
            const QRgb fill = field.width == state.width ? Form6::kHighlight : Form6::kBackground;
            const std::vector<QPoint> line = drawnPixels(image, inside, fill);
            const QRect extent = extentOf(line);
            // A solid horizontal band across most of the field.
            EXPECT_EQ(extent.height(), field.width);
            EXPECT_EQ(qsizetype(line.size()), qsizetype(extent.width()) * extent.height());
            EXPECT_GE(extent.width(), inside.width() / 2);
            EXPECT_TRUE(centredIn(extent, inside));
        }
    }
}

TEST(Form6ColourPalette, EachStateShowsAllSwatchesAndFramesOnlyItsColour)
{
    const Form6 form;
    const int frame = Form6::kChosenColourFrameWidth;
    for (const ColourField &state : kColourFields) {
        SCOPED_TRACE("state " + state.pictureName.toString().toStdString());
        const QImage image = form.picture(state.pictureName.toString());
        ASSERT_FALSE(image.isNull());
        for (const ColourField &field : kColourFields) {
            SCOPED_TRACE("field of " + field.pictureName.toString().toStdString());
            const QRgb colour = qRgb(field.rgb.red, field.rgb.green, field.rgb.blue);
            const QRect inside = interiorOf(field.rect);
            EXPECT_TRUE(drawnPixels(image, inside, colour).empty());

            const QPoint c = inside.center();
            // A dark outline on the bounds, so that light colours stand out from the background...
            for (const QPoint &p : {QPoint(field.rect.left, c.y()), QPoint(field.rect.right, c.y()),
                                    QPoint(c.x(), field.rect.top), QPoint(c.x(), field.rect.bottom)})
                EXPECT_LT(qGray(at(image, p.x(), p.y())), 128) << where(p.x(), p.y());
            // ...and, around the chosen field only, the frame filling the band just outside it.
            const QRgb band = field.pictureName == state.pictureName ? Form6::kChosenColourFrame : Form6::kBackground;
            for (int d = 1; d <= frame; ++d) {
                for (const QPoint &p : {QPoint(field.rect.left - d, c.y()), QPoint(field.rect.right + d, c.y()),
                                        QPoint(c.x(), field.rect.top - d), QPoint(c.x(), field.rect.bottom + d),
                                        QPoint(field.rect.left - d, field.rect.top - d),
                                        QPoint(field.rect.right + d, field.rect.bottom + d)})
                    EXPECT_EQ(at(image, p.x(), p.y()), band) << where(p.x(), p.y());
            }
        }
        const QRgb chosen = qRgb(state.rgb.red, state.rgb.green, state.rgb.blue);
        EXPECT_TRUE(drawnPixels(image, interiorOf(Form6::kColourPreview), chosen).empty());
    }
}

TEST(Form6Pointers, EachOptionShowsItsPointerAndIconsDiffer)
{
    const Form6 form;
    EXPECT_TRUE(form.pointerPicture(0).isNull());
    EXPECT_TRUE(form.pointerPicture(4).isNull());
    const QImage full = form.pointerPicture(1);
    const QImage small = form.pointerPicture(2);
    const QImage arrow = form.pointerPicture(3);
    for (const QImage &image : {full, small, arrow})
        ASSERT_EQ(image.size(), QSize(34, 41));
    const int mx = full.width() / 2 - 1;
    const int my = full.height() / 2;
    // The full cross-hair reaches all four edges and leaves the middle open; the small cross is the reverse.
    for (const QPoint &edge :
         {QPoint(mx, 0), QPoint(mx, full.height() - 1), QPoint(0, my), QPoint(full.width() - 1, my)}) {
        EXPECT_EQ(at(full, edge.x(), edge.y()), Form6::kItem) << where(edge.x(), edge.y());
        EXPECT_EQ(at(small, edge.x(), edge.y()), Form6::kBackground) << where(edge.x(), edge.y());
    }
    EXPECT_EQ(at(full, mx, my), Form6::kBackground);
    EXPECT_EQ(at(small, mx, my), Form6::kItem);
    // The arrow's tip is the top left corner of its extent.
    const QRect arrowExtent = extentOf(drawnPixels(arrow, arrow.rect(), Form6::kBackground));
    EXPECT_EQ(at(arrow, arrowExtent.left(), arrowExtent.top()), Form6::kItem);
    EXPECT_EQ(at(arrow, arrowExtent.right(), arrowExtent.top()), Form6::kBackground);

    EXPECT_EQ(form.magnifierPicture().size(), QSize(40, 33));
    const QImage icons[] = {form.mainIcon(), form.auxiliaryIcon(), form.closeIcon()};
    for (const QImage &icon : icons)
        EXPECT_EQ(icon.size(), QSize(16, 16));
    EXPECT_NE(icons[0], icons[1]);
    EXPECT_NE(icons[0], icons[2]);
    EXPECT_NE(icons[1], icons[2]);
}

} // namespace
