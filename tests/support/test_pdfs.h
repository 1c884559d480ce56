#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>

// PDFs the tests write themselves, in points (1/72 inch) from the top left corner of a page.
inline constexpr QSizeF kA4Points{595, 842};
// Every page is white with a black square of this side in each corner, a chart whose marker dot (red, radius
// kMarkerRadius) stands at kMarkerAt of the page's size, and a blue square (kPageMarkSide) telling the page:
// page n (from 1) has it at pageMarkAt(n).
inline constexpr double kCornerMark = 20;
inline constexpr QPointF kMarkerAt{0.6, 0.5};
inline constexpr double kMarkerRadius = 6;
inline constexpr double kPageMarkSide = 10;
[[nodiscard]] QPointF pageMarkAt(int pageNumber); // its top left corner

// Writes `pages` pages of `size` with QPdfWriter; returns the path.
QString writeChartPdf(const QString &path, int pages, QSizeF size = kA4Points);
// A well-formed PDF whose one page needs a password to be read.
QString writePasswordPdf(const QString &path);
// A well-formed PDF without pages.
QString writePagelessPdf(const QString &path);
// The first half of a chart PDF.
QString writeBrokenPdf(const QString &path);
