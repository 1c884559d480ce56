#include "trace/line_trace.h"

#include "trace/centre_smoothing.h"
#include "trace/path_resample.h"
#include "trace/stroke_start.h"
#include "trace/stroke_walk.h"

#include <algorithm>

namespace {

// Centres of a hard-edged stroke are averaged over three pixels either side.
constexpr double kSmoothReach = 3;
constexpr int kSmoothDegree = 1;

std::vector<QPointF> joinedWalks(const PixelView &picture, const InkModel &model, const StrokeStart &start, int most)
{
    const Walk ahead = walkStroke(picture, model, start, 1, most);
    std::vector<QPointF> centres;
    if (!ahead.closed) {
        StrokeStart back = start;
        back.direction = -start.direction;
        const Walk behind = walkStroke(picture, model, back, 1, most);
        centres.assign(behind.centres.rbegin(), behind.centres.rend() - 1);
    }
    // A start off the centre line (at a cut end, in a dot) only showed the walks where to begin.
    centres.insert(centres.end(), ahead.centres.begin() + (start.solid ? 0 : 1), ahead.centres.end());
    if (ahead.closed)
        centres.push_back(start.at);
    return centres;
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
    // Fewer cross-sections where points lie far apart, every column where they lie close or where a hard edge
    // needs every centre smoothed.
    const int most = s->hardEdged ? 1 : std::clamp(int(step / 3), 1, 3);
    std::vector<QPointF> centres = joinedWalks(picture, model, *s, most);
    if (s->hardEdged)
        centres = smoothedCentres(centres, kSmoothReach, kSmoothDegree);
    return pointsAlong(centres, step);
}
