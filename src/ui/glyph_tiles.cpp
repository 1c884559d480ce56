#include "ui/glyph_tiles.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace {

constexpr quint32 kGlyphsKept = 4096; // a font's first glyphs, which hold the characters readouts show
constexpr int kMargin = 3;            // pixels around the glyph's outline: antialiasing spills over it

// Where the painter puts a glyph whose origin falls at `at`. It takes the position in 1/64 pixel, rounded
// down; it draws the glyph at a quarter-pixel step across (a position 1/64 short of the next step already
// counts as that step) and at the nearest whole pixel down.
struct Placing {
    QPoint pixel;
    int quarter = 0; // 0..3
};

Placing placingOf(QPointF at)
{
    const qint64 x = qint64(std::floor(at.x() * 64));
    const qint64 y = qint64(std::floor(at.y() * 64));
    const qint64 quarters = (x + 1) >> 4;
    return {QPoint(int(quarters >> 2), int((y + 32) >> 6)), int(quarters & 3)};
}

// The smallest box around the pixels of `coverage` (one byte a pixel) above zero.
QRect coveredBox(const QImage &coverage)
{
    int left = coverage.width();
    int right = -1;
    int top = coverage.height();
    int bottom = -1;
    for (int y = 0; y < coverage.height(); ++y) {
        const uchar *row = coverage.constScanLine(y);
        for (int x = 0; x < coverage.width(); ++x) {
            if (row[x] != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// The coverage of the pixel at `p`, in the coordinates the glyph's box `at` is placed in.
uchar coverageAt(const QImage &coverage, const QRect &at, QPoint p)
{
    return coverage.constScanLine(p.y() - at.top())[p.x() - at.left()];
}

} // namespace

bool GlyphTiles::paint(QPainter &painter, QPointF origin, const QGlyphRun &run, QColor pen,
                       const PlainBackground &background, const QRect &clip)
{
    if (painter.deviceTransform().type() > QTransform::TxTranslate || painter.device()->devicePixelRatio() != 1)
        return false;
    if (run.rawFont() != m_font || pen.rgba() != m_pen || background.colour.rgba() != m_background) {
        m_font = run.rawFont();
        m_pen = pen.rgba();
        m_background = background.colour.rgba();
        m_tiles.clear();
    }
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    m_placed.clear();
    QRect inked;
    int rightmost = INT_MIN;
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        const QPointF at = origin + positions.at(i);
        const Placing placing = placingOf(at);
        const Tile *found = tileFor(glyphs.at(i), placing.quarter);
        if (!found || !found->usable)
            return false;
        const Tile &tile = *found;
        if (tile.ink.isNull())
            continue;
        const QRect box(placing.pixel + tile.offset, tile.ink.size());
        // A glyph over pixels that others cover is blended over them, as the painter does.
        const bool blended = box.left() <= rightmost && coversAPlacedPixel(tile, box);
        m_placed.push_back({&tile, box, glyphs.at(i), at, blended, rightmost});
        rightmost = std::max(rightmost, box.right());
        inked |= box;
    }
    const QRect shown = inked & clip;
    if (shown.isEmpty())
        return true;
    if (!background.area.contains(shown))
        return false;
    composeLine(shown);
    painter.drawImage(shown.topLeft(), m_line, QRect(QPoint(), shown.size()));
    // Copied glyphs cover none of the pixels blended ones do, so blending these last keeps the painter's order
    // wherever it matters.
    bool penSet = false;
    for (const Placed &placed : m_placed) {
        if (!placed.blended)
            continue;
        if (!std::exchange(penSet, true))
            painter.setPen(pen);
        painter.drawGlyphRun(placed.position, oneGlyph(placed.glyph));
    }
    return true;
}

// The copied glyphs' pixels in `shown` into the line, over the background.
void GlyphTiles::composeLine(const QRect &shown)
{
    if (m_line.width() < shown.width() || m_line.height() < shown.height())
        m_line = QImage(shown.size().expandedTo(m_line.size()), QImage::Format_RGB32);
    uchar *line = m_line.bits();
    const qsizetype lineStride = m_line.bytesPerLine();
    for (int y = 0; y < shown.height(); ++y)
        std::fill_n(reinterpret_cast<QRgb *>(line + y * lineStride), shown.width(), m_background);
    for (const Placed &placed : m_placed) {
        if (const QRect part = placed.at & shown; !placed.blended && !part.isEmpty())
            copyTile(placed, part, line + (part.top() - shown.top()) * lineStride + (part.left() - shown.left()) * 4,
                     lineStride);
    }
}

// A tile's pixels of `part` to `to`. Where its box overlaps the boxes placed before it, only the pixels it
// covers: the others are a neighbour's or the background.
void GlyphTiles::copyTile(const Placed &placed, const QRect &part, uchar *to, qsizetype toStride)
{
    const Tile &tile = *placed.tile;
    const QPoint from = part.topLeft() - placed.at.topLeft();
    const qsizetype inkStride = tile.ink.bytesPerLine();
    const qsizetype coverageStride = tile.coverage.bytesPerLine();
    const uchar *ink = tile.ink.constBits() + from.y() * inkStride + from.x() * 4;
    const uchar *coverage = tile.coverage.constBits() + from.y() * coverageStride + from.x();
    // Locals, so that the stores below cannot be taken to change them.
    const int width = part.width();
    const int height = part.height();
    const int masked = int(std::clamp<qint64>(qint64(placed.rightmostBefore) - part.left() + 1, 0, width));
    for (int y = 0; y < height; ++y) {
        const auto *source = reinterpret_cast<const QRgb *>(ink);
        auto *target = reinterpret_cast<QRgb *>(to);
        for (int x = 0; x < width; ++x) { // a few pixels: a call to copy them would cost more
            if (x >= masked || coverage[x] != 0)
                target[x] = source[x];
        }
        ink += inkStride;
        coverage += coverageStride;
        to += toStride;
    }
}

QGlyphRun GlyphTiles::oneGlyph(quint32 glyph) const
{
    QGlyphRun one;
    one.setRawFont(m_font);
    one.setGlyphIndexes({glyph});
    one.setPositions({QPointF()});
    return one;
}

bool GlyphTiles::coversAPlacedPixel(const Tile &tile, const QRect &box) const
{
    for (const Placed &placed : m_placed) {
        const QRect overlap = placed.at & box;
        for (int y = overlap.top(); y <= overlap.bottom(); ++y) {
            for (int x = overlap.left(); x <= overlap.right(); ++x) {
                if (coverageAt(placed.tile->coverage, placed.at, {x, y}) != 0 &&
                    coverageAt(tile.coverage, box, {x, y}) != 0)
                    return true;
            }
        }
    }
    return false;
}

const GlyphTiles::Tile *GlyphTiles::tileFor(quint32 glyph, int quarter)
{
    if (glyph >= kGlyphsKept)
        return nullptr;
    const std::size_t key = std::size_t(glyph) * 4 + std::size_t(quarter);
    if (key >= m_tiles.size())
        m_tiles.resize(key + 1);
    if (!m_tiles[key])
        m_tiles[key] = std::make_unique<Tile>(render(glyph, quarter));
    return m_tiles[key].get();
}

GlyphTiles::Tile GlyphTiles::render(quint32 glyph, int quarter) const
{
    // The area around the origin that the glyph may ink, in whole pixels.
    const QRect area =
        m_font.boundingRect(glyph).toAlignedRect().adjusted(-kMargin, -kMargin, kMargin + 1, kMargin + 1);
    const QPointF origin(-area.left() + quarter / 4.0, -area.top());
    const QGlyphRun one = oneGlyph(glyph);
    const auto draw = [&](QImage &image, QColor pen) {
        QPainter painter(&image);
        painter.setPen(pen);
        painter.drawGlyphRun(origin, one);
    };
    QImage ink(area.size(), QImage::Format_RGB32);
    ink.fill(m_background);
    draw(ink, QColor::fromRgba(m_pen));
    // On a clear image an opaque pen is blended without the correction for light, and leaves the glyph's
    // coverage of each pixel as the alpha.
    QImage clear(area.size(), QImage::Format_ARGB32_Premultiplied);
    clear.fill(Qt::transparent);
    draw(clear, Qt::black);
    const QImage coverage = clear.convertToFormat(QImage::Format_Alpha8);

    Tile tile;
    const QRect box = coveredBox(coverage);
    if (box.isNull())
        return tile;
    // Coverage at the edge may have been cut off: such a glyph is left to the painter.
    tile.usable = box.left() > 0 && box.top() > 0 && box.right() < area.width() - 1 && box.bottom() < area.height() - 1;
    tile.ink = ink.copy(box);
    tile.coverage = coverage.copy(box);
    tile.offset = box.topLeft() + area.topLeft();
    return tile;
}
