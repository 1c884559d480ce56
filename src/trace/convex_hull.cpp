#include "trace/convex_hull.h"

#include <algorithm>

namespace {

long long cross(QPoint o, QPoint a, QPoint b)
{
    return (long long)(a.x() - o.x()) * (b.y() - o.y()) - (long long)(a.y() - o.y()) * (b.x() - o.x());
}

} // namespace

std::vector<QPoint> convexHull(std::vector<QPoint> points)
{
    std::sort(points.begin(), points.end(),
              [](QPoint a, QPoint b) { return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y()); });
    points.erase(std::unique(points.begin(), points.end()), points.end());
    if (points.size() < 3)
        return points;
    std::vector<QPoint> hull(2 * points.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    for (std::size_t i = points.size() - 1, t = k + 1; i > 0; --i) {
        while (k >= t && cross(hull[k - 2], hull[k - 1], points[i - 1]) <= 0)
            --k;
        hull[k++] = points[i - 1];
    }
    hull.resize(k - 1);
    return hull;
}

bool insideHull(const std::vector<QPoint> &hull, QPoint p)
{
    if (hull.size() < 3)
        return false;
    for (std::size_t i = 0; i < hull.size(); ++i) {
        if (cross(hull[i], hull[(i + 1) % hull.size()], p) < 0)
            return false;
    }
    return true;
}
