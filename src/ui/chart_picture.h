#pragma once

#include <QImage>
#include <QPointF>
#include <QRegion>
#include <QWidget>

#include <array>
#include <vector>

// One arm of the cross-hair, horizontal or vertical, in twips of the drawing area.
struct ChartLine {
    bool visible = false;
    QPointF from;
    QPointF to;
};

// Picture1: the chart. It owns the picture of natural display, a layer of run-time drawings (symbols, and
// the chart itself in scaled display) that can be erased, and the cross-hair, an overlay that is never
// drawn into that layer. Positions go out in twips from the drawing area's corner inside the border.
class ChartPicture : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBorderPx = 2;

    explicit ChartPicture(QWidget *parent = nullptr);

    // Natural display: the picture becomes the area's own and the area takes its size.
    void setNaturalPicture(const QImage &picture);
    void clearNaturalPicture();
    [[nodiscard]] const QImage &naturalPicture() const { return m_natural; }

    // Scaled display: the picture, already at its display size, drawn as a run-time drawing at the corner.
    void drawScaledPicture(const QImage &picture);

    // Run-time drawings, in pixels of the drawing area; call showDrawings() for what changed.
    [[nodiscard]] QImage &drawings();
    [[nodiscard]] const QImage &drawings() const { return m_drawings; }
    void showDrawings(const QRect &areaPixels);
    void eraseDrawings();

    [[nodiscard]] int drawingWidth() const { return m_drawingWidth; }
    void setDrawingWidth(int pixels) { m_drawingWidth = pixels; }

    // Line2..Line5 are indices 0..3.
    [[nodiscard]] const ChartLine &line(int index) const { return m_lines.at(index); }
    void setLine(int index, const ChartLine &line);
    void setLines(const std::array<ChartLine, 4> &lines); // one repaint for strips that lie close together

    [[nodiscard]] QSize areaSize() const; // the drawing area inside the border, pixels

    // Points found by tracing, in pixels of the drawing area, shown over the chart and never drawn into it:
    // a mark at each point. An empty list takes the preview away.
    void setPreview(const std::vector<QPointF> &areaPixels, const QColor &colour);
    [[nodiscard]] const std::vector<QPointF> &preview() const { return m_preview; }

signals:
    void moved(QPointF twips);
    void pressed(QPointF twips, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    [[nodiscard]] QPointF toTwips(QPointF widgetPos) const;
    [[nodiscard]] QRect lineRect(const ChartLine &line) const;
    void repaintNow(const QRect &rect);
    void paintBorder(QPainter &painter) const;
    void paintPreview(QPainter &painter, const QRegion &dirty) const;
    [[nodiscard]] static QRect previewMark(QPointF areaPixel);
    void fitDrawingsToArea();
    void makeLayerOpaque();
    [[nodiscard]] bool layerIsOpaque() const { return !m_drawings.isNull() && !m_drawings.hasAlphaChannel(); }
    [[nodiscard]] QImage newLayer(QSize size, bool opaque) const;

    QImage m_natural;
    QImage m_drawings;
    QRect m_drawn;  // where the drawings layer may hold something
    QRect m_opaque; // where a picture covers the area with no transparency
    std::array<ChartLine, 4> m_lines;
    std::vector<QPointF> m_preview;
    QColor m_previewColour;
    QRegion m_previewCells; // where marks stand, in cells of the drawing area
    int m_drawingWidth = 1;
};
