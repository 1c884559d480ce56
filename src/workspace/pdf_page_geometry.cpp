#include "workspace/pdf_page_geometry.h"

#include "workspace/decode_limit.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPointsPerInch = 72;

int scaledSide(double points, int dpi)
{
    const double pixels = points * dpi / kPointsPerInch;
    if (!(pixels >= 1))
        return 1; // also for a page whose size is no number
    // Clamped well above the largest side a picture may have, so that the conversion cannot overflow.
    return int(std::lround(std::min(pixels, 1e9)));
}

} // namespace

QSize pagePixels(QSizeF pagePoints, int dpi)
{
    return {scaledSide(pagePoints.width(), dpi), scaledSide(pagePoints.height(), dpi)};
}

QRect regionPixels(QSizeF pagePoints, const QRectF &regionPoints, int dpi)
{
    const QSize page = pagePixels(pagePoints, dpi);
    if (regionPoints.isEmpty())
        return {QPoint(0, 0), page};
    const double s = dpi / kPointsPerInch;
    const auto edge = [](double pixels, int limit) { return int(std::clamp(pixels, 0.0, double(limit))); };
    const int left = edge(std::floor(regionPoints.left() * s), page.width() - 1);
    const int top = edge(std::floor(regionPoints.top() * s), page.height() - 1);
    const int right = std::max(left + 1, edge(std::ceil(regionPoints.right() * s), page.width()));
    const int bottom = std::max(top + 1, edge(std::ceil(regionPoints.bottom() * s), page.height()));
    return {left, top, right - left, bottom - top};
}

int fittingDpi(QSizeF pagePoints, const QRectF &regionPoints, int dpi, qint64 limitMiB)
{
    // At most a few hundred steps of plain arithmetic; rounding makes the sizes only nearly monotonic.
    for (int d = dpi; d >= 1; --d) {
        if (fitsDecodeLimit(regionPixels(pagePoints, regionPoints, d).size(), limitMiB))
            return d;
    }
    return 0;
}

QRectF regionFromView(QPointF from, QPointF to, const QRectF &shownRect, QSizeF pagePoints)
{
    if (shownRect.isEmpty())
        return {};
    const auto toPage = [&](QPointF p) {
        const double x = (p.x() - shownRect.left()) / shownRect.width() * pagePoints.width();
        const double y = (p.y() - shownRect.top()) / shownRect.height() * pagePoints.height();
        return QPointF(std::clamp(x, 0.0, pagePoints.width()), std::clamp(y, 0.0, pagePoints.height()));
    };
    return QRectF(toPage(from), toPage(to)).normalized();
}
