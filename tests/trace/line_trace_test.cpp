#include "trace/colour_pick.h"
#include "trace/line_trace.h"
#include "trace/trace_charts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

// A chart, the true centre line of the curve to trace and where the user presses on it.
struct Traced {
    TraceChart chart;
    std::vector<QPointF> truth;
    QPointF press;
};

using Shape = std::function<QPointF(const QRectF &plot, double t)>;

const Shape kSine = [](const QRectF &r, double t) {
    const double x = r.left() + 8 + t * (r.width() - 16);
    return QPointF(x, r.center().y() + 0.3 * r.height() * std::sin((x - r.left()) / 37));
};
const Shape kParabola = [](const QRectF &r, double t) {
    const double x = r.left() + 8 + t * (r.width() - 16);
    const double u = (x - r.center().x()) / (r.width() / 2);
    return QPointF(x, r.top() + 15 + 0.8 * r.height() * u * u);
};
const Shape kExponential = [](const QRectF &r, double t) {
    const double x = r.left() + 8 + t * (r.width() - 16);
    return QPointF(x, r.bottom() - 10 - 0.85 * r.height() * std::expm1(3 * t) / std::expm1(3.0));
};
// Slopes up to about four: the steep parts are crossed by rows, not columns.
const Shape kSteepSine = [](const QRectF &r, double t) {
    const double x = r.left() + 8 + t * (r.width() - 16);
    return QPointF(x, r.center().y() + 0.4 * r.height() * std::sin((x - r.left()) / 24));
};

Traced drawn(const Shape &shape, const CurveStyle &style, bool antialiased, QSize size = {420, 300})
{
    Traced t{TraceChart(size, antialiased), {}, {}};
    t.chart.drawFurniture();
    const QRectF plot = t.chart.plot;
    t.truth = t.chart.drawCurve([&](double u) { return shape(plot, u); }, 0, 1, style);
    t.press = pointAtArc(t.truth, 0.4 * arcLength(t.truth)) + QPointF(0.7, 1.1);
    return t;
}

std::vector<QPointF> traceFromPress(const Traced &t, double step)
{
    const std::optional<PickedStroke> picked = pickStroke(t.chart.view(), t.press);
    if (!picked)
        return {};
    TraceSettings settings;
    settings.stepPx = step;
    return traceLine(t.chart.view(), picked->start, picked->argb, settings);
}

// Every point on the curve's centre line, in order along it, a step apart, and none of it left without a point
// for more than two steps.
void expectFollows(const std::vector<QPointF> &points, const std::vector<QPointF> &truth, double step)
{
    ASSERT_GE(points.size(), 2u);
    double sum2 = 0;
    double worst = 0;
    std::vector<double> arcs;
    for (const QPointF &p : points) {
        const OnLine on = nearestOnLine(p, truth);
        worst = std::max(worst, on.distance);
        sum2 += on.distance * on.distance;
        arcs.push_back(on.arc);
    }
    EXPECT_LE(worst, 0.5);
    EXPECT_LT(std::sqrt(sum2 / double(points.size())), 0.25);
    if (arcs.front() > arcs.back())
        std::reverse(arcs.begin(), arcs.end());
    const double total = arcLength(truth);
    EXPECT_LE(arcs.front(), 2 * step);
    EXPECT_GE(arcs.back(), total - 2 * step);
    for (std::size_t i = 0; i + 1 < arcs.size(); ++i) {
        const double gap = arcs[i + 1] - arcs[i];
        EXPECT_LE(gap, 2 * step) << "after point " << i << " of " << arcs.size();
        // The last point is the curve's end, which may lie closer.
        if (i + 2 < arcs.size()) {
            EXPECT_GE(gap, 0.75 * step - 0.5) << "after point " << i << " of " << arcs.size();
        }
    }
}

struct CurveCase {
    const char *name;
    const Shape *shape;
    double width;
    bool antialiased;
    bool jpeg;
};

} // namespace

TEST(TraceLine, FollowsCurvesOfEveryWidthToTheirEndsOnTheirCentreLines)
{
    const CurveCase cases[] = {
        {"sine 1 px", &kSine, 1, true, false},
        {"sine 2 px", &kSine, 2, true, false},
        {"sine 3 px", &kSine, 3, true, false},
        {"sine 5 px", &kSine, 5, true, false},
        {"sine 1 px aliased", &kSine, 1, false, false},
        {"sine 2 px aliased", &kSine, 2, false, false},
        {"sine 4 px aliased", &kSine, 4, false, false},
        {"parabola 2 px", &kParabola, 2, true, false},
        {"parabola 1 px aliased", &kParabola, 1, false, false},
        {"exponential 2 px", &kExponential, 2, true, false},
        {"exponential 3 px aliased", &kExponential, 3, false, false},
        {"steep sine 1 px", &kSteepSine, 1, true, false},
        {"steep sine 2 px", &kSteepSine, 2, true, false},
        {"steep sine 2 px aliased", &kSteepSine, 2, false, false},
        {"sine 1 px JPEG", &kSine, 1, true, true},
        {"sine 2 px JPEG", &kSine, 2, true, true},
        {"sine 4 px JPEG", &kSine, 4, true, true},
        {"steep sine 2 px JPEG", &kSteepSine, 2, true, true},
        {"exponential 1 px aliased JPEG", &kExponential, 1, false, true},
    };
    for (const CurveCase &c : cases) {
        SCOPED_TRACE(c.name);
        CurveStyle style;
        style.width = c.width;
        Traced t = drawn(*c.shape, style, c.antialiased);
        if (c.jpeg)
            t.chart.compressAsJpeg(75);
        expectFollows(traceFromPress(t, 10), t.truth, 10);
    }
}
