#include "trace/needle_turn.h"

#include "trace/ink_sample.h"
#include "trace/vector_length.h"

#include <cmath>
#include <vector>

namespace {

constexpr double kSample = 0.25; // pixels between samples across the needle
constexpr double kEdge = 0.5;    // a free edge lies where the ink crosses half
constexpr double kRise = 2;      // pixels between the centres measured over the top

struct Span {
    double from = 0, to = 0; // along the normal, the first and the last crossing of half the ink
};

// The ink across `p` along `normal`, within `reach` either side: nothing where it runs on past that.
std::optional<Span> inkSpan(const PixelView &picture, const InkModel &model, QPointF p, QPointF normal, double reach)
{
    double previous = inkBetweenPixels(picture, model, p - normal * reach);
    if (previous >= kEdge)
        return std::nullopt;
    std::optional<double> first, last;
    for (double s = -reach + kSample; s <= reach; s += kSample) {
        const double ink = inkBetweenPixels(picture, model, p + normal * s);
        if ((previous < kEdge) != (ink < kEdge)) {
            const double at = s - kSample + (kEdge - previous) / (ink - previous) * kSample;
            if (!first)
                first = at;
            last = at;
        }
        previous = ink;
    }
    if (previous >= kEdge || !first || *last <= *first)
        return std::nullopt;
    return Span{*first, *last};
}

} // namespace

std::optional<Corner> needleTop(const PixelView &picture, const InkModel &model, QPointF last, QPointF way, QPointF tip,
                                double width)
{
    const QPointF normal(-way.y(), way.x());
    const double reach = 2 * width + 4;
    const double below = QPointF::dotProduct(tip - last, way);
    if (below < 2 * kRise)
        return std::nullopt;
    const auto spanAt = [&](double depth) { return inkSpan(picture, model, tip - way * depth, normal, reach); };
    // Two strokes side by side where the walk lost its own, the other on the side the needle's middle lies.
    const std::optional<Span> there = spanAt(below);
    if (!there || there->to - there->from < 1.4 * width || there->to - there->from > 3 * width + 2)
        return std::nullopt;
    const double ownOffset = QPointF::dotProduct(last - (tip - way * below), normal);
    const bool otherOnPlus = (there->from + there->to) / 2 > ownOffset;
    // A flank's centre at `depth` below the top, half a stroke in from its free edge.
    const auto flank = [&](double depth, bool own) -> std::optional<QPointF> {
        const std::optional<Span> s = spanAt(depth);
        if (!s || s->to - s->from > 3 * width + 2)
            return std::nullopt;
        const bool plus = own != otherOnPlus;
        const double at = plus ? s->to - width / 2 : s->from + width / 2;
        return tip - way * depth + normal * at;
    };
    Corner corner;
    for (double depth = below - kRise; depth >= kRise; depth -= kRise) {
        const std::optional<QPointF> c = flank(depth, true);
        if (!c)
            return std::nullopt;
        corner.bend.push_back(*c);
    }
    // The top: half a stroke below the cap's edge, above the needle's middle.
    const std::optional<Span> high = spanAt(kRise);
    if (!high)
        return std::nullopt;
    const QPointF middle = tip - way * kRise + normal * ((high->from + high->to) / 2);
    double rise = 0;
    while (rise < 2 * width + kRise + 4 && inkBetweenPixels(picture, model, middle + way * (rise + kSample)) >= kEdge)
        rise += kSample;
    corner.at = middle + way * (rise - width / 2);
    corner.bend.push_back(corner.at);
    for (double depth = kRise; depth <= below - kRise; depth += kRise) {
        const std::optional<QPointF> c = flank(depth, false);
        if (!c)
            return std::nullopt;
        corner.bend.push_back(*c);
    }
    // Down the other flank from where the walk lost its own.
    const std::optional<QPointF> start = flank(below, false);
    const std::optional<QPointF> on = flank(below + 2 * kRise, false);
    if (!start || !on || length(*start - last) < 0.8 * width)
        return std::nullopt;
    corner.start = *start;
    corner.way = (*on - *start) / length(*on - *start);
    // Back down, beside the way up.
    if (QPointF::dotProduct(corner.way, way) > -0.5)
        return std::nullopt;
    return corner;
}
