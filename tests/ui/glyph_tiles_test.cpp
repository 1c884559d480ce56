#include "ui/glyph_tiles.h"

#include "ui/control_style.h"
#include "ui/readout_widgets.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Drawing {
    QFont font;
    QString text;
    QPointF origin;
    QColor pen = Qt::black;
    QColor background = Qt::white;
    QPoint translation; // of the painter, as a widget's offset in its window
    QRect clip{0, 0, 120, 40};
};

QImage blank(const Drawing &d)
{
    QImage image(140, 50, QImage::Format_RGB32);
    image.fill(d.background);
    return image;
}

QImage drawnByPainter(const Drawing &d, const QGlyphRun &run)
{
    QImage image = blank(d);
    QPainter painter(&image);
    painter.translate(d.translation);
    painter.setClipRect(d.clip);
    painter.setPen(d.pen);
    painter.drawGlyphRun(d.origin, run);
    return image;
}

// Null where the tiles leave the run to the painter.
QImage drawnByTiles(GlyphTiles &tiles, const Drawing &d, const QGlyphRun &run)
{
    QImage image = blank(d);
    QPainter painter(&image);
    painter.translate(d.translation);
    painter.setClipRect(d.clip);
    return tiles.paint(painter, d.origin, run, d.pen, {d.background, image.rect()}, d.clip) ? image : QImage();
}

} // namespace

TEST(GlyphTiles, CopyExactlyThePixelsThePainterDraws)
{
    GlyphTiles tiles;
    PlainGlyphs layout;
    QFont italic = ControlStyle::font(12, false);
    italic.setItalic(true);
    const QFont fonts[] = {ControlStyle::font(8.25, false), ControlStyle::font(8.25, true),
                           ControlStyle::font(14, false), italic};
    const QString texts[] = {u"1503.75"_s, u"-0.00012"_s, u"1.5E+12"_s, u"Gerçek x ="_s, u"//ffVAW"_s, u"8"_s};
    for (const QFont &font : fonts) {
        for (const QString &text : texts) {
            const std::optional<PlainGlyphs::Line> line = layout.layOut(font, text);
            ASSERT_TRUE(line) << text.toStdString();
            for (int step = 0; step < 64; ++step) {
                // Every 1/64 pixel across, some between them, and down on both sides of the half pixel.
                const qreal downs[] = {0, 31 / 64.0, 0.5, 0.49, 0.51, 0.999};
                const QPointF origin(4 + step / 64.0 + (step % 3) * 0.0071, 20 + downs[step % 6]);
                Drawing d{font, text, origin, Qt::black, Qt::white, QPoint(), QRect(0, 0, 120, 40)};
                if (step % 4 == 1)
                    d.translation = QPoint(9, 3);
                if (step % 5 == 2)
                    d.clip = QRect(8, 0, 30, 40); // through the text
                if (step % 7 == 3) {
                    d.pen = QColor(0, 0, 128);
                    d.background = QColor(236, 233, 216);
                }
                SCOPED_TRACE(text.toStdString() + " at " + std::to_string(d.origin.x()) + ", " +
                             std::to_string(d.origin.y()) + " step " + std::to_string(step));
                // Overlapping glyphs (the italic, "ff", "VA", the antialiased edges of upright digits) are
                // blended over each other by the painter, so no run is left to it.
                const QImage byTiles = drawnByTiles(tiles, d, line->run);
                ASSERT_FALSE(byTiles.isNull());
                ASSERT_EQ(byTiles, drawnByPainter(d, line->run));
            }
        }
    }
}

TEST(GlyphTiles, LeaveToThePainterWhatCopiesCannotMatch)
{
    GlyphTiles tiles;
    PlainGlyphs layout;
    const std::optional<PlainGlyphs::Line> line = layout.layOut(ControlStyle::font(8.25, false), u"12.5"_s);
    ASSERT_TRUE(line);
    QImage image(100, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QImage before = image;
    QPainter painter(&image);
    // The background is plain only above the text's baseline.
    EXPECT_FALSE(
        tiles.paint(painter, QPointF(2, 12), line->run, Qt::black, {Qt::white, {0, 0, 100, 11}}, image.rect()));
    painter.scale(2, 2);
    EXPECT_FALSE(tiles.paint(painter, QPointF(2, 12), line->run, Qt::black, {Qt::white, image.rect()}, image.rect()));
    painter.end();
    EXPECT_EQ(image, before);
}
