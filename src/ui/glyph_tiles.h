#pragma once

#include <QColor>
#include <QGlyphRun>
#include <QImage>
#include <QRawFont>

#include <memory>
#include <vector>

class QPainter;

// Where the caller has painted one colour, to draw glyphs over.
struct PlainBackground {
    QColor colour;
    QRect area;
};

// Glyphs drawn once each on a plain background and then copied: blending a glyph into the background, in
// linear light as the painter does, costs several times the copy, and readouts draw the same few digits on
// every mouse move. A glyph is kept for each of the four quarter-pixel steps the painter places glyphs at,
// so the copies give exactly the pixels the painter would.
class GlyphTiles {
public:
    // Paints `run` with its origin at `origin` in `pen` over `background`, inside `clip`. False, with nothing
    // painted, where copies would not give the painter's own pixels: a glyph beyond the plain background, a
    // glyph cut off at the edge of its tile, a painter that scales. Glyphs over pixels that others cover
    // are blended by the painter, whose pen is then `pen`.
    bool paint(QPainter &painter, QPointF origin, const QGlyphRun &run, QColor pen, const PlainBackground &background,
               const QRect &clip);

private:
    struct Tile {
        QImage ink;      // the glyph's inked box on the background; null for a blank
        QImage coverage; // how much of each pixel of that box the glyph covers; 0 leaves the pixel alone
        QPoint offset;   // of that box from the whole pixel of the glyph's origin
        bool usable = true;
    };
    struct Placed {
        const Tile *tile;
        QRect at;
        quint32 glyph;
        QPointF position;
        bool blended;        // over pixels that glyphs before it cover: drawn by the painter
        int rightmostBefore; // the last column of the glyphs before it
    };

    const Tile *tileFor(quint32 glyph, int quarter);
    [[nodiscard]] Tile render(quint32 glyph, int quarter) const;
    [[nodiscard]] bool coversAPlacedPixel(const Tile &tile, const QRect &box) const;
    void composeLine(const QRect &shown);
    static void copyTile(const Placed &placed, const QRect &part, uchar *to, qsizetype toStride);
    [[nodiscard]] QGlyphRun oneGlyph(quint32 glyph) const;

    QRawFont m_font;
    QRgb m_pen = 0;
    QRgb m_background = 0;
    std::vector<std::unique_ptr<Tile>> m_tiles; // by glyph and quarter; they stay put while a paint adds to them
    std::vector<Placed> m_placed;
    QImage m_line; // the glyphs of one paint, copied together into the painter in one go
};
