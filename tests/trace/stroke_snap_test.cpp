#include "trace/colour_match.h"
#include "trace/colour_pick.h"
#include "trace/stroke_snap.h"
#include "trace/trace_charts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

const QColor kBlue(20, 60, 200);
const QColor kGreen(30, 150, 60);

struct Strokes {
    TraceChart chart;
    std::vector<QPointF> blue;
    std::vector<QPointF> green;
};

// A blue wave and a green line crossing it, on a chart with its furniture.
Strokes strokes(double width, bool antialiased)
{
    Strokes s{TraceChart({420, 300}, antialiased), {}, {}};
    TraceChart &c = s.chart;
    c.drawFurniture();
    CurveStyle style;
    style.width = width;
    style.colour = kBlue;
    s.blue = c.drawCurve(
        [&](double t) {
            const double x = c.plot.left() + 10 + t * (c.plot.width() - 20);
            return QPointF(x, c.plot.center().y() + 60 * std::sin((x - c.plot.left()) / 45));
        },
        0, 1, style);
    style.colour = kGreen;
    s.green =
        c.drawCurve([&](double t) { return QPointF(c.plot.left() + 20 + t * 300, c.plot.top() + 30); }, 0, 1, style);
    return s;
}

// A place `off` pixels from the curve's centre line, across it, `share` of the way along.
QPointF beside(const std::vector<QPointF> &curve, double share, double off)
{
    const double arc = share * arcLength(curve);
    const QPointF a = pointAtArc(curve, arc - 1);
    const QPointF b = pointAtArc(curve, arc + 1);
    QPointF normal(a.y() - b.y(), b.x() - a.x());
    normal /= std::hypot(normal.x(), normal.y());
    return pointAtArc(curve, arc) + off * normal;
}

} // namespace

TEST(SnapToStroke, APressWithinReachLandsOnTheCentreLine)
{
    for (const bool antialiased : {true, false}) {
        for (const double width : {1.0, 2.0, 3.0, 5.0}) {
            const Strokes s = strokes(width, antialiased);
            // The colour as a press on the curve picks it: a hair line's is paler than its pen's.
            const std::optional<PickedStroke> picked = pickStroke(s.chart.view(), beside(s.blue, 0.5, 0));
            ASSERT_TRUE(picked.has_value());
            for (const double share : {0.13, 0.31, 0.52, 0.77}) {
                for (const double off : {-5.5, -2.0, 0.0, 1.3, 4.0, 5.5}) {
                    SCOPED_TRACE(std::to_string(width) + (antialiased ? " px" : " px aliased") + " at " +
                                 std::to_string(share) + " off " + std::to_string(off));
                    const QPointF press = beside(s.blue, share, off);
                    const std::optional<QPointF> snapped = snapToStroke(s.chart.view(), press, picked->argb, 40);
                    ASSERT_TRUE(snapped.has_value());
                    // On the line, for a stroke of whole pixels as near as its pixels tell.
                    EXPECT_LE(nearestOnLine(*snapped, s.blue).distance, antialiased ? 0.3 : 0.5);
                    EXPECT_LE(std::hypot(snapped->x() - press.x(), snapped->y() - press.y()), std::abs(off) + 1.5);
                }
            }
        }
    }
}

TEST(SnapToStroke, NothingOfTheColourWithinReachGivesNothing)
{
    const Strokes s = strokes(2, true);
    // Beyond the reach of the blue wave; on the green line, which is not blue.
    EXPECT_FALSE(snapToStroke(s.chart.view(), beside(s.blue, 0.4, 8.5), kBlue.rgb(), 40).has_value());
    EXPECT_FALSE(snapToStroke(s.chart.view(), beside(s.green, 0.1, 0), kBlue.rgb(), 40).has_value());
    EXPECT_FALSE(snapToStroke(s.chart.view(), beside(s.blue, 0.4, 3), kBlue.rgb(), 40, 1.5).has_value());
    EXPECT_TRUE(snapToStroke(s.chart.view(), beside(s.green, 0.1, 0), kGreen.rgb(), 40).has_value());
}

TEST(PickStroke, APressNearAStrokePicksItsCoreColourAndCentre)
{
    for (const double width : {1.0, 2.0, 4.0}) {
        for (const double off : {0.0, 1.5, -3.0, 4.5}) {
            SCOPED_TRACE(std::to_string(width) + " px, press " + std::to_string(off) + " off");
            Strokes s = strokes(width, true);
            const QPointF press = beside(s.blue, 0.37, off);
            const std::optional<PickedStroke> picked = pickStroke(s.chart.view(), press);
            ASSERT_TRUE(picked.has_value());
            // The core, not the pale edge pressed: as far from the paper as the stroke gets, which for a
            // hair line is short of its pen's colour.
            const double full = colourDistance(kBlue.rgb(), 0xffffffff);
            const double got = colourDistance(picked->argb, 0xffffffff);
            EXPECT_GE(got, width >= 2 ? 0.95 * full : 0.5 * full);
            EXPECT_LE(colourDistance(picked->argb, kBlue.rgb()), width >= 2 ? 12 : 0.45 * full);
            EXPECT_LE(nearestOnLine(picked->start, s.blue).distance, 0.5);
        }
    }
    // Bare paper around the press.
    const Strokes s = strokes(2, true);
    EXPECT_FALSE(pickStroke(s.chart.view(), beside(s.blue, 0.37, 9)).has_value());
}
