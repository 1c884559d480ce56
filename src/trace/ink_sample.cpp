#include "trace/ink_sample.h"

#include <cmath>

namespace {

constexpr double kFaint = 0.3;

} // namespace

double inkBetweenPixels(const PixelView &picture, const InkModel &model, QPointF p)
{
    const double fx = p.x() - 0.5;
    const double fy = p.y() - 0.5;
    const int x = int(std::floor(fx));
    const int y = int(std::floor(fy));
    const double ax = fx - x;
    const double ay = fy - y;
    const auto at = [&](int i, int j) {
        const double ink = picture.contains(i, j) ? double(model.ink(picture.at(i, j))) : 0.0;
        return ink >= kFaint ? ink : 0.0;
    };
    return (1 - ay) * ((1 - ax) * at(x, y) + ax * at(x + 1, y)) +
           ay * ((1 - ax) * at(x, y + 1) + ax * at(x + 1, y + 1));
}
