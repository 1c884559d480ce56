#include "workspace/repaint_strips.h"

#include <algorithm>
#include <limits>

namespace {

qint64 area(const QRect &r)
{
    return qint64(r.width()) * r.height();
}

// Pixels the joined rectangle covers beyond the two; overlap counts once, so it never goes below zero.
qint64 waste(const QRect &a, const QRect &b)
{
    return std::max<qint64>(0, area(a | b) - area(a) - area(b) + area(a & b));
}

} // namespace

std::vector<QRect> joinCloseRects(std::vector<QRect> rects, qint64 wasteLimit)
{
    std::erase_if(rects, [](const QRect &r) { return r.isEmpty(); });
    // A cross-hair gives at most eight strips, so looking at every pair is cheap.
    for (;;) {
        qint64 best = std::numeric_limits<qint64>::max();
        std::size_t bestI = 0;
        std::size_t bestJ = 0;
        for (std::size_t i = 0; i < rects.size(); ++i) {
            for (std::size_t j = i + 1; j < rects.size(); ++j) {
                if (const qint64 w = waste(rects[i], rects[j]); w < best) {
                    best = w;
                    bestI = i;
                    bestJ = j;
                }
            }
        }
        if (best > wasteLimit)
            return rects;
        rects[bestI] |= rects[bestJ];
        rects.erase(rects.begin() + std::ptrdiff_t(bestJ));
    }
}
