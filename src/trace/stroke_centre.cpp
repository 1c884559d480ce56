#include "trace/stroke_centre.h"

#include <algorithm>
#include <cmath>

namespace {

struct Line {
    const PixelView &picture;
    const InkModel &model;
    CrossAxis axis;
    int line;
    int size; // pixels along the cross-section

    [[nodiscard]] float ink(int i) const
    {
        if (i < 0 || i >= size)
            return 0;
        return model.ink(axis == CrossAxis::Column ? picture.at(line, i) : picture.at(i, line));
    }
};

// Below this a share is taken for noise, not an edge.
constexpr float kNoise = 0.04f;
constexpr float kRunGoesOn = 0.6f * kRunInk;

InkRun measureRun(const Line &l, int first, int last)
{
    InkRun run;
    run.first = first;
    run.last = last;
    run.solidFirst = last;
    run.solidLast = first;
    double moment = 0;
    for (int i = first - 1; i <= last + 1; ++i) {
        const float a = l.ink(i);
        if (a < kNoise)
            continue;
        run.mass += a;
        moment += a * (i + 0.5);
        run.peak = std::max(run.peak, a);
        if (a >= kRunInk && i >= first && i <= last) {
            run.solidFirst = std::min(run.solidFirst, i);
            run.solidLast = std::max(run.solidLast, i);
        }
        if (a > kNoise * 3 && a < 1 - kNoise * 3)
            run.edgeMass += a;
    }
    run.centre = moment / run.mass;
    return run;
}

} // namespace

CrossSection inkRuns(const PixelView &picture, const InkModel &model, CrossAxis axis, int line, int from, int to,
                     int extendBy)
{
    CrossSection out;
    const Line l{picture, model, axis, line, axis == CrossAxis::Column ? picture.height : picture.width};
    const int across = axis == CrossAxis::Column ? picture.width : picture.height;
    if (line < 0 || line >= across)
        return out;
    from = std::max(from, 0);
    to = std::min(to, l.size - 1);
    int i = from;
    int lastEnd = -2;
    while (i <= to && out.count < CrossSection::kMostRuns) {
        if (l.ink(i) < kRunInk) {
            ++i;
            continue;
        }
        // A run begins at a pixel holding a good share and goes on through pixels holding a fair one, so that
        // noise in a faint line lying along the cross-section does not cut it into short runs.
        int first = i;
        int last = i;
        while (first - 1 >= std::max(0, from - extendBy) && first - 1 > lastEnd && l.ink(first - 1) >= kRunGoesOn)
            --first;
        while (last + 1 <= to && l.ink(last + 1) >= kRunGoesOn)
            ++last;
        bool open = false;
        if (first <= from) {
            const int limit = std::max(0, from - extendBy);
            while (first - 1 >= limit && l.ink(first - 1) >= kRunGoesOn)
                --first;
            open = open || (first == limit && limit > 0);
        }
        if (last == to) {
            const int limit = std::min(l.size - 1, to + extendBy);
            while (last + 1 <= limit && l.ink(last + 1) >= kRunGoesOn)
                ++last;
            open = open || (last == limit && limit < l.size - 1);
        }
        lastEnd = last;
        InkRun run = measureRun(l, first, last);
        run.open = open;
        out.runs[std::size_t(out.count++)] = run;
        i = last + 2;
    }
    return out;
}

std::optional<InkRun> nearestRun(const PixelView &picture, const InkModel &model, CrossAxis axis, int line,
                                 double along, double reach)
{
    const CrossSection cs =
        inkRuns(picture, model, axis, line, int(std::floor(along - reach)), int(std::floor(along + reach)), 40);
    std::optional<InkRun> best;
    for (int i = 0; i < cs.count; ++i) {
        const InkRun &r = cs.runs[std::size_t(i)];
        if (r.peak >= kStrokePeak && (!best || std::abs(r.centre - along) < std::abs(best->centre - along)))
            best = r;
    }
    return best;
}

QPointF placeOnLine(CrossAxis axis, int line, double along)
{
    return axis == CrossAxis::Column ? QPointF(line + 0.5, along) : QPointF(along, line + 0.5);
}

std::optional<QPointF> inkDirection(const PixelView &picture, const InkModel &model, QPointF centre, double radius)
{
    const int x0 = std::max(0, int(std::floor(centre.x() - radius)));
    const int x1 = std::min(picture.width - 1, int(std::floor(centre.x() + radius)));
    const int y0 = std::max(0, int(std::floor(centre.y() - radius)));
    const int y1 = std::min(picture.height - 1, int(std::floor(centre.y() + radius)));
    double m = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double dx = x + 0.5 - centre.x();
            const double dy = y + 0.5 - centre.y();
            if (dx * dx + dy * dy > radius * radius)
                continue;
            const float a = model.ink(picture.at(x, y));
            if (a < kRunInk)
                continue;
            m += a;
            sx += a * dx;
            sy += a * dy;
            sxx += a * dx * dx;
            syy += a * dy * dy;
            sxy += a * dx * dy;
        }
    }
    if (m < 2)
        return std::nullopt;
    const double cxx = sxx / m - (sx / m) * (sx / m);
    const double cyy = syy / m - (sy / m) * (sy / m);
    const double cxy = sxy / m - (sx / m) * (sy / m);
    // The long axis of the covariance ellipse.
    const double angle = 0.5 * std::atan2(2 * cxy, cxx - cyy);
    QPointF d(std::cos(angle), std::sin(angle));
    if (d.x() < 0 || (d.x() == 0 && d.y() < 0))
        d = -d;
    return d;
}
