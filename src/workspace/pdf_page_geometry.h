#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <QtGlobal>

// What the page chooser hands back.
struct PdfPageChoice {
    int page = 0; // from 0
    int dpi = 300;
    QRectF regionPoints; // in page points (1/72 inch) from the top left corner; empty: the whole page
};

// The size of the page drawn at `dpi`: its points scaled and rounded, at least one pixel each way.
[[nodiscard]] QSize pagePixels(QSizeF pagePoints, int dpi);

// The pixels of the page drawn at `dpi` that the region covers, its edges rounded outwards and kept on the page;
// the whole page for an empty region.
[[nodiscard]] QRect regionPixels(QSizeF pagePoints, const QRectF &regionPoints, int dpi);

// The largest resolution up to `dpi` at which the region (or the whole page) is still a picture the loader takes
// under a decode limit of `limitMiB`; 0 when not even 1 dpi is.
[[nodiscard]] int fittingDpi(QSizeF pagePoints, const QRectF &regionPoints, int dpi, qint64 limitMiB);

// The region between two points dragged on a page shown in `shownRect` (the view's pixels), in page points, kept
// on the page.
[[nodiscard]] QRectF regionFromView(QPointF from, QPointF to, const QRectF &shownRect, QSizeF pagePoints);
