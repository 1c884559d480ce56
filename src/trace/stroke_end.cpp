#include "trace/stroke_end.h"

#include "trace/ink_sample.h"
#include "trace/vector_length.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kStep = 0.25;
// The end is taken where a cross-section holds three quarters of the whole: a hair inside the half of a cut
// end, which pen caps and the blur of anti-aliasing move less.
constexpr double kEnded = 0.75;

// The ink across the way at `p`, over the stroke and a pixel and a half either side, and the most of it at
// one place: a faint line there (a grid line) adds to the one, not to the other.
struct Across {
    double mass = 0;
    double peak = 0;
    double offset = 0; // of its ink-weighted middle from `p`, along the normal
};

Across across(const PixelView &picture, const InkModel &model, QPointF p, QPointF normal, double width)
{
    const double half = width / 2 + 1.5;
    Across a;
    double moment = 0;
    for (double u = -half; u <= half; u += 0.5) {
        const double ink = inkBetweenPixels(picture, model, p + normal * u);
        a.mass += 0.5 * ink;
        moment += 0.5 * ink * u;
        a.peak = std::max(a.peak, ink);
    }
    a.offset = a.mass > 0 ? moment / a.mass : 0;
    return a;
}

} // namespace

void extendToEnd(std::vector<QPointF> &centres, const PixelView &picture, const InkModel &model, double width)
{
    if (centres.size() < 2)
        return;
    const QPointF end = centres.back();
    // The way from the centres of the last few pixels.
    std::size_t from = centres.size() - 1;
    while (from > 0 && length(end - centres[from]) < 4)
        --from;
    const QPointF chord = end - centres[from];
    if (length(chord) < 1)
        return;
    const QPointF way = chord / length(chord);
    const QPointF normal(-way.y(), way.x());
    const double back = std::min(3.0, length(chord));
    const Across whole = across(picture, model, end - way * back, normal, width);
    if (whole.mass < 0.5 * width)
        return;
    // How far the cross-section at `s` has thinned out.
    const auto left = [&](const Across &a) { return std::min(a.mass / whole.mass, a.peak / whole.peak); };
    double before = 1;
    // A steep stroke's last centre may lie a cut, a cap and a pixel or two before its ink ends.
    for (double s = -back + kStep; s <= width + 4; s += kStep) {
        const Across a = across(picture, model, end + way * s, normal, width);
        if (a.mass > 1.2 * whole.mass + 0.3)
            return; // into something wider than the stroke
        const double now = left(a);
        if (now < kEnded) {
            const double at = s - kStep * (kEnded - now) / (before - now);
            while (centres.size() > 1 && QPointF::dotProduct(centres.back() - end, way) >= at)
                centres.pop_back();
            // Across the way, where the cap's ink is: a bend near the end leaves the way before it.
            centres.push_back(end + way * at + normal * a.offset);
            return;
        }
        before = now;
    }
}
