#include "trace/record_order.h"

#include <algorithm>

std::vector<QPointF> recordingOrder(std::vector<QPointF> points, bool markers)
{
    if (markers) {
        std::stable_sort(points.begin(), points.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
    } else if (!points.empty() && points.front().x() > points.back().x()) {
        std::reverse(points.begin(), points.end());
    }
    return points;
}
