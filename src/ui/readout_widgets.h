#pragma once

#include "ui/glyph_tiles.h"

#include <QGlyphRun>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRawFont>

#include <array>
#include <optional>

// A short plain text laid out glyph by glyph from the font's own advances, with no shaping: what numbers need,
// at a fraction of the cost of a full text layout.
class PlainGlyphs {
public:
    struct Line {
        QGlyphRun run;
        qreal width = 0;
    };
    // Empty when the font lacks a glyph, so the caller draws the text the usual way.
    [[nodiscard]] std::optional<Line> layOut(const QFont &font, const QString &text);
    // The font's metrics as QFontMetricsF gives them, for the font of the last layOut().
    [[nodiscard]] qreal ascent() const { return m_ascent; }
    [[nodiscard]] qreal height() const { return m_height; }
    [[nodiscard]] int ascentPixels() const { return m_ascentPixels; } // as QFontMetrics gives them
    [[nodiscard]] int heightPixels() const { return m_heightPixels; }

private:
    struct Glyph {
        quint32 index = 0; // 0: not looked up yet, or missing from the font
        qreal advance = 0;
    };
    void useFont(const QFont &font);

    QFont m_font;
    QRawFont m_raw;
    qreal m_ascent = 0;
    qreal m_height = 0;
    int m_ascentPixels = 0;
    int m_heightPixels = 0;
    std::array<Glyph, 256> m_latin1{}; // what readouts show: looked up once per font
};

// The readouts rewritten on every mouse move over the chart. They look and behave as a label and a read-only
// line edit; they only paint their plain text without the full text layout, which would cost several times
// the cross-hair's own repaint. They also paint the window's background under them themselves, so that a
// repaint of one leaves the window and the neighbours it overlaps alone.
class ReadoutLabel : public QLabel {
public:
    explicit ReadoutLabel(QWidget *parent = nullptr);
    explicit ReadoutLabel(const QString &text, QWidget *parent = nullptr);

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    PlainGlyphs m_glyphs;
    GlyphTiles m_tiles;
};

class ReadoutBox : public QLineEdit {
public:
    explicit ReadoutBox(QWidget *parent = nullptr);

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    [[nodiscard]] bool paintsQuickly() const;
    const QPixmap &emptyPanel(const QRect &textArea);

    PlainGlyphs m_glyphs;
    GlyphTiles m_tiles;
    QPixmap m_panel;
    QRect m_panelTextArea;
    std::optional<PlainBackground> m_panelUnderText; // the part of the text area where the panel is one colour
    qint64 m_panelPalette = 0;
    bool m_panelEnabled = true;
};
