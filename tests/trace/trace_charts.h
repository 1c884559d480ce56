#pragma once

#include "trace/pixel_view.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <functional>
#include <vector>

// Charts the tracing tests draw themselves, keeping the true centre line of every curve they draw.
struct CurveStyle {
    QColor colour = QColor(20, 60, 200);
    double width = 2;
    enum class Dashes { None, Dashed, Dotted } dashes = Dashes::None;
};

enum class MarkerShape { Circle, Square, Triangle, Diamond, Cross, Plus };

class TraceChart {
public:
    explicit TraceChart(QSize size = {420, 300}, bool antialiased = true);

    // Frame, axes with ticks and their numbers, a light grid and a title, all in `ink` but the grid.
    void drawFurniture(QColor ink = Qt::black);
    // The curve through at(t) for t from t0 to t1, returned as its true centre line (a polyline fine enough
    // to stand for the curve): on an aliased chart, the centre line of the pixels drawn.
    std::vector<QPointF> drawCurve(const std::function<QPointF(double)> &at, double t0, double t1,
                                   const CurveStyle &style);
    // The same for the polyline through `corners`.
    std::vector<QPointF> drawPolyline(const std::vector<QPointF> &corners, const CurveStyle &style);
    // A legend box in the plot's top right corner: a sample line (none for a style of no width; with a marker
    // of `marker` size when it is not 0) and a name for each style.
    void drawLegend(const std::vector<CurveStyle> &styles, double marker = 0);
    // Text centred on `centre`, on a box of the background colour when `boxed`; returns the box.
    QRectF drawLabel(QPointF centre, const QString &text, QColor colour, bool boxed, int pointSize = 8);
    // A marker of `size` pixels across centred on `centre`; returns its centre as drawn, which on an aliased
    // chart is where its pixels are.
    QPointF drawMarker(QPointF centre, MarkerShape shape, double size, QColor colour, bool filled);
    // The picture as a JPEG of `quality` read back.
    void compressAsJpeg(int quality = 75);

    [[nodiscard]] PixelView view() const;

    QImage image;
    QRectF plot;                                 // inside the frame
    std::vector<std::vector<QPointF>> furniture; // centre lines of the frame, ticks and grid
    std::vector<QRectF> texts;                   // boxes of everything written

private:
    bool m_antialiased;
};

// Distance from `p` to the polyline, and the arc length along it of the polyline's point nearest `p`.
struct OnLine {
    double distance = 0;
    double arc = 0;
};
[[nodiscard]] OnLine nearestOnLine(QPointF p, const std::vector<QPointF> &line);
[[nodiscard]] double arcLength(const std::vector<QPointF> &line);
// The point `arc` pixels along the polyline.
[[nodiscard]] QPointF pointAtArc(const std::vector<QPointF> &line, double arc);
