#include "trace/line_trace.h"

#include "trace/centre_smoothing.h"
#include "trace/dot_walk.h"
#include "trace/path_resample.h"
#include "trace/polyline_walk.h"
#include "trace/stroke_end.h"
#include "trace/stroke_start.h"

#include <algorithm>

namespace {

// Centres of a hard-edged stroke are averaged over three pixels either side.
constexpr double kSmoothReach = 3;
constexpr int kSmoothDegree = 1;
// The middles of dots, which JPEG moves by up to half a pixel, by a parabola through two dots either side, of
// dots as far apart as the walk from dot to dot goes.
constexpr double kDotSmoothReach = 13;
constexpr double kDotGap = 16;

struct Path {
    std::vector<QPointF> centres;
    std::vector<bool> pastGap;
    std::vector<bool> fixed; // beside a corner: left as they are
    bool closed = false;
};

// Both ends of an open path found where the ink thins out.
void extendBothEnds(Path &path, const PixelView &picture, const InkModel &model, double width)
{
    if (path.closed || path.centres.size() < 2)
        return;
    for (int side = 0; side < 2; ++side) {
        extendToEnd(path.centres, picture, model, width);
        path.pastGap.resize(path.centres.size(), false);
        path.fixed.resize(path.centres.size(), false);
        std::reverse(path.fixed.begin(), path.fixed.end());
        std::reverse(path.centres.begin(), path.centres.end());
        // Reversed, the gap before a centre lies before the one after it.
        std::rotate(path.pastGap.begin(), path.pastGap.begin() + 1, path.pastGap.end());
        std::reverse(path.pastGap.begin(), path.pastGap.end());
    }
}

// Both walks from the start joined end to end, from the far end of the second to the far end of the first.
Path joinedWalks(const PixelView &picture, const InkModel &model, const StrokeStart &start, int most)
{
    const PolylineWalk ahead = walkPolyline(picture, model, start, most);
    PolylineWalk behind;
    if (!ahead.closed) {
        StrokeStart back = start;
        back.direction = -start.direction;
        behind = walkPolyline(picture, model, back, most);
    }
    Path path;
    const auto add = [&](QPointF at, bool gap, bool fixed) {
        path.centres.push_back(at);
        path.pastGap.push_back(path.centres.size() > 1 && gap);
        path.fixed.push_back(fixed);
    };
    // Walked the other way, the gap before a centre lies after it.
    for (std::size_t j = behind.centres.size(); j-- > 1;)
        add(behind.centres[j], j + 1 < behind.centres.size() && behind.pastGap[j + 1], behind.fixed[j]);
    const bool gapAtStart = behind.centres.size() > 1 && behind.pastGap[1];
    // A start off the centre line (at a cut end, in a dot) only showed the walks where to begin: the path
    // goes across it as across a gap.
    if (start.solid)
        add(start.at, gapAtStart, false);
    for (std::size_t i = 1; i < ahead.centres.size(); ++i)
        add(ahead.centres[i], ahead.pastGap[i] || (i == 1 && (gapAtStart || !start.solid)), ahead.fixed[i]);
    if (ahead.closed)
        add(start.at, false, false);
    path.closed = ahead.closed;
    return path;
}

// The measured centres smoothed, each stretch between corners on its own.
std::vector<QPointF> smoothedBetweenCorners(const Path &path)
{
    std::vector<QPointF> out = path.centres;
    std::size_t i = 0;
    while (i < out.size()) {
        std::size_t j = i;
        while (j < out.size() && !path.fixed[j])
            ++j;
        if (j > i) {
            const std::vector<QPointF> stretch(path.centres.begin() + std::ptrdiff_t(i),
                                               path.centres.begin() + std::ptrdiff_t(j));
            const std::vector<QPointF> smooth = smoothedCentres(stretch, kSmoothReach, kSmoothDegree);
            std::copy(smooth.begin(), smooth.end(), out.begin() + std::ptrdiff_t(i));
        }
        i = j + 1;
    }
    return out;
}

} // namespace

std::vector<QPointF> traceLine(const PixelView &picture, QPointF start, std::uint32_t argb,
                               const TraceSettings &settings)
{
    const InkModel model = inkModelAround(picture, start, argb, settings.colourTolerance);
    if (!findsInk(model))
        return {};
    const std::optional<StrokeStart> s = strokeStartNear(picture, model, start);
    if (!s)
        return {};
    const double step = std::clamp(settings.stepPx, 1.0, 200.0);
    if (!s->solid) {
        const std::vector<QPointF> dots = dotCentres(picture, model, s->at, s->direction, s->width);
        if (!dots.empty()) {
            const std::vector<QPointF> curve = curveThroughDots(smoothedCentres(dots, kDotSmoothReach, 2, kDotGap));
            return pointsAlong(curve, std::vector<bool>(curve.size(), false), step, s->width);
        }
    }
    // Fewer cross-sections where points lie far apart, every column where they lie close or where a hard edge
    // needs every centre smoothed.
    const int most = s->hardEdged ? 1 : std::clamp(int(step / 2), 1, 4);
    Path path = joinedWalks(picture, model, *s, most);
    if (s->hardEdged)
        path.centres = smoothedBetweenCorners(path);
    // An anti-aliased hair line's ink runs on past its end by about a pixel; its walk ends near enough.
    if (s->hardEdged || s->width >= 1.5)
        extendBothEnds(path, picture, model, s->width);

    return pointsAlong(path.centres, path.pastGap, step, s->width);
}
