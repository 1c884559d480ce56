#include "trace/colour_pick.h"

#include "trace/background.h"
#include "trace/colour_match.h"
#include "trace/stroke_start.h"

#include <QRect>

#include <array>
#include <cmath>
#include <vector>

namespace {

// A pixel this far from the background is ink; grain and JPEG noise stay well below.
constexpr double kInkContrast = 40;
// How far from the pixel the press hit its stroke's core is looked for: the half width of the widest stroke
// and an edge.
constexpr int kCoreReach = 4;
// The tolerance of the hue a stroke keeps from its edge to its core.
constexpr int kHueTolerance = 48;

std::optional<QPoint> nearestInk(const PixelView &picture, QPointF press, double radius, std::uint32_t background)
{
    std::optional<QPoint> best;
    double bestDistance = radius * radius;
    const int r = int(std::ceil(radius));
    const QPoint c(int(std::floor(press.x())), int(std::floor(press.y())));
    for (int y = c.y() - r; y <= c.y() + r; ++y) {
        for (int x = c.x() - r; x <= c.x() + r; ++x) {
            if (!picture.contains(x, y))
                continue;
            const double d =
                (x + 0.5 - press.x()) * (x + 0.5 - press.x()) + (y + 0.5 - press.y()) * (y + 0.5 - press.y());
            if (d <= bestDistance && colourDistance(picture.at(x, y), background) >= kInkContrast) {
                bestDistance = d;
                best = QPoint(x, y);
            }
        }
    }
    return best;
}

// The pixels around `hit` of its hue that hold at least as much of it, reached from `hit` through such
// pixels or paler ones of the same hue.
std::vector<QPoint> strokeAround(const PixelView &picture, QPoint hit, const InkModel &hue)
{
    constexpr int side = 2 * kCoreReach + 1;
    std::array<bool, side * side> seen{};
    std::vector<QPoint> queue{hit}, out;
    seen[std::size_t(kCoreReach * side + kCoreReach)] = true;
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const QPoint p = queue[i];
        const Mixture m = mixtureOf(hue, picture.at(p.x(), p.y()));
        if (m.share >= 0.97f || p == hit)
            out.push_back(p);
        for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint q = p + step;
            const QPoint local = q - hit + QPoint(kCoreReach, kCoreReach);
            if (local.x() < 0 || local.y() < 0 || local.x() >= side || local.y() >= side ||
                !picture.contains(q.x(), q.y()))
                continue;
            bool &s = seen[std::size_t(local.y() * side + local.x())];
            const Mixture n = mixtureOf(hue, picture.at(q.x(), q.y()));
            if (s || n.share < 0.5f || n.offset > kHueTolerance)
                continue;
            s = true;
            queue.push_back(q);
        }
    }
    return out;
}

// The mean colour of the pixels holding nearly the most ink: the core, with its noise averaged out; and the
// pixel holding the most.
struct Core {
    std::uint32_t argb = 0;
    QPoint darkest;
};

Core coreOf(const PixelView &picture, const std::vector<QPoint> &stroke, std::uint32_t background)
{
    double most = 0;
    Core core;
    for (const QPoint p : stroke) {
        const double d = colourDistance(picture.at(p.x(), p.y()), background);
        if (d > most) {
            most = d;
            core.darkest = p;
        }
    }
    double sum[3] = {0, 0, 0};
    int n = 0;
    for (const QPoint p : stroke) {
        const std::uint32_t c = picture.at(p.x(), p.y());
        if (colourDistance(c, background) < 0.9 * most)
            continue;
        sum[0] += (c >> 16) & 0xff;
        sum[1] += (c >> 8) & 0xff;
        sum[2] += c & 0xff;
        ++n;
    }
    const auto channel = [&](int i) { return std::uint32_t(std::lround(sum[i] / n)); };
    core.argb = 0xff000000u | channel(0) << 16 | channel(1) << 8 | channel(2);
    return core;
}

} // namespace

std::optional<PickedStroke> pickStroke(const PixelView &picture, QPointF press, double radius)
{
    const QPoint c(int(std::floor(press.x())), int(std::floor(press.y())));
    const std::uint32_t background = commonestColour(picture, QRect(c.x() - 24, c.y() - 24, 49, 49), 2);
    const std::optional<QPoint> hit = nearestInk(picture, press, radius, background);
    if (!hit)
        return std::nullopt;
    // The hue of a pale edge is uncertain: it is taken again around the core it leads to.
    const InkModel edgeHue = inkModel(picture.at(hit->x(), hit->y()), background, kHueTolerance);
    const Core first = coreOf(picture, strokeAround(picture, *hit, edgeHue), background);
    const InkModel coreHue = inkModel(first.argb, background, kHueTolerance);
    const Core core = coreOf(picture, strokeAround(picture, first.darkest, coreHue), background);
    PickedStroke picked;
    picked.argb = core.argb;
    const QPointF hitCentre(hit->x() + 0.5, hit->y() + 0.5);
    const std::optional<StrokeStart> start =
        strokeStartNear(picture, inkModel(picked.argb, background, kHueTolerance), hitCentre);
    picked.start = start ? start->at : hitCentre;
    return picked;
}
