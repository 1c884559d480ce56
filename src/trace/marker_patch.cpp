#include "trace/marker_patch.h"

#include <cmath>

namespace {

// Shares below this are noise.
constexpr float kNoise = 0.04f;
// How far around its pixels a piece's anti-aliased edge is taken in.
constexpr int kEdge = 1;

} // namespace

Patch patchOf(const PixelView &picture, const MarkerInk &ink, const InkComponent &piece)
{
    Patch p;
    p.area = piece.bounds.adjusted(-kEdge, -kEdge, kEdge, kEdge) & QRect(0, 0, picture.width, picture.height);
    const int w = p.area.width();
    std::vector<char> near(std::size_t(w * p.area.height()), 0);
    for (const InkRunOnRow &r : piece.runs) {
        for (int y = r.y - kEdge; y <= r.y + kEdge; ++y) {
            for (int x = r.x0 - kEdge; x <= r.x1 + kEdge; ++x) {
                if (p.area.contains(x, y))
                    near[std::size_t((y - p.area.top()) * w + (x - p.area.left()))] = 1;
            }
        }
    }
    p.share.assign(near.size(), 0);
    for (int y = p.area.top(); y <= p.area.bottom(); ++y) {
        for (int x = p.area.left(); x <= p.area.right(); ++x) {
            const std::size_t i = std::size_t((y - p.area.top()) * w + (x - p.area.left()));
            if (near[i]) {
                const float a = ink.ink(picture.at(x, y));
                p.share[i] = a >= kNoise ? a : 0;
            }
        }
    }
    return p;
}

float Patch::around(double px, double py) const
{
    const double fx = px - 0.5, fy = py - 0.5;
    const int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
    const float tx = float(fx - x0), ty = float(fy - y0);
    return (1 - ty) * ((1 - tx) * at(x0, y0) + tx * at(x0 + 1, y0)) +
           ty * ((1 - tx) * at(x0, y0 + 1) + tx * at(x0 + 1, y0 + 1));
}
