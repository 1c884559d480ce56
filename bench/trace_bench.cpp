// Automatic tracing on natural charts, against one pass that reads every pixel of the same picture.
#include "bench_app.h"
#include "ratios.h"

#include "trace/colour_pick.h"
#include "trace/line_trace.h"
#include "trace/marker_find.h"
#include "trace/pixel_view.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdint>
#include <map>
#include <string>

using namespace Qt::StringLiterals;

namespace {

const QColor kCurve(20, 60, 200);
const QColor kMarkers(230, 120, 20);

// A rendered chart as a plotting program draws it: grid, frame, ticks and numbers, three curves, a series
// of markers, a legend and a title, with lines and text growing with the picture. With `joined`, a line of the
// markers' colour runs through them, as a connected scatter chart draws it.
QImage naturalChart(QSize size, bool joined)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double k = size.width() / 1900.0;
    const QRectF plot(0.08 * size.width(), 0.08 * size.height(), 0.86 * size.width(), 0.8 * size.height());
    p.setPen(QPen(QColor(215, 215, 215), std::max(1.0, k)));
    for (int i = 1; i < 10; ++i) {
        p.drawLine(QPointF(plot.left() + plot.width() * i / 10, plot.top()),
                   QPointF(plot.left() + plot.width() * i / 10, plot.bottom()));
        p.drawLine(QPointF(plot.left(), plot.top() + plot.height() * i / 10),
                   QPointF(plot.right(), plot.top() + plot.height() * i / 10));
    }
    p.setPen(QPen(Qt::black, std::max(1.0, 1.5 * k)));
    p.drawRect(plot);
    QFont font(u"DejaVu Sans"_s);
    font.setPixelSize(int(14 * k));
    p.setFont(font);
    for (int i = 0; i <= 10; ++i) {
        const double x = plot.left() + plot.width() * i / 10;
        const double y = plot.bottom() - plot.height() * i / 10;
        p.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 8 * k));
        p.drawLine(QPointF(plot.left() - 8 * k, y), QPointF(plot.left(), y));
        p.drawText(QRectF(x - 40 * k, plot.bottom() + 10 * k, 80 * k, 20 * k), Qt::AlignCenter,
                   QString::number(i * 10));
        p.drawText(QRectF(plot.left() - 60 * k, y - 10 * k, 48 * k, 20 * k), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(i * 0.5, 'f', 1));
    }
    p.drawText(QRectF(plot.left(), 0.01 * size.height(), plot.width(), 30 * k), Qt::AlignCenter, u"Ölçülen değerler"_s);
    const auto curve = [&](QColor colour, const auto &y) {
        QPainterPath path;
        for (int i = 0; i <= 400; ++i) {
            const double t = i / 400.0;
            const QPointF at(plot.left() + t * plot.width(), plot.top() + y(t) * plot.height());
            i == 0 ? path.moveTo(at) : path.lineTo(at);
        }
        p.setPen(QPen(colour, 2 * k, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    };
    curve(kCurve, [](double t) { return 0.5 + 0.3 * std::sin(t * 9); });
    curve(QColor(200, 30, 30), [](double t) { return 0.9 - 0.8 * std::expm1(2.5 * t) / std::expm1(2.5); });
    curve(QColor(20, 140, 50), [](double t) { return 0.15 + 0.7 * (t - 0.5) * (t - 0.5) * 4; });
    const double marker = std::min(16.0, 10 * k);
    QPolygonF series;
    for (int i = 1; i < 40; ++i) {
        const double t = i / 40.0;
        series << QPointF(plot.left() + t * plot.width(), plot.top() + (0.3 + 0.2 * std::cos(t * 7)) * plot.height());
    }
    if (joined) {
        p.setPen(QPen(kMarkers, std::min(3.0, 2 * k)));
        p.drawPolyline(series);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kMarkers);
    for (const QPointF &at : series)
        p.drawEllipse(at, marker / 2, marker / 2);
    const QRectF legend(plot.right() - 260 * k, plot.top() + 20 * k, 240 * k, 100 * k);
    p.setPen(QPen(Qt::black, std::max(1.0, k)));
    p.setBrush(Qt::white);
    p.drawRect(legend);
    p.setPen(QPen(kCurve, 2 * k));
    p.drawLine(QPointF(legend.left() + 10 * k, legend.top() + 30 * k),
               QPointF(legend.left() + 60 * k, legend.top() + 30 * k));
    p.setPen(Qt::NoPen);
    p.setBrush(kMarkers);
    p.drawEllipse(QPointF(legend.left() + 35 * k, legend.top() + 70 * k), marker / 2, marker / 2);
    p.setPen(Qt::black);
    p.drawText(QRectF(legend.left() + 70 * k, legend.top() + 20 * k, 160 * k, 20 * k), u"Ölçüm"_s);
    p.drawText(QRectF(legend.left() + 70 * k, legend.top() + 60 * k, 160 * k, 20 * k), u"Örnekler"_s);
    return image;
}

// The natural chart with a patch shaded in the markers' colour by a 50 % dither, as a scan of a chart printed
// in one colour shades an area: one piece of ink with a hole at every other pixel.
QImage shadedChart(QSize size)
{
    QImage image = naturalChart(size, false);
    const QRect patch(size.width() / 10, size.height() / 2, size.width() / 10, size.width() / 10);
    for (int y = patch.top(); y <= patch.bottom(); ++y) {
        for (int x = patch.left(); x <= patch.right(); ++x) {
            if ((x + y) % 2 == 0)
                image.setPixel(x, y, kMarkers.rgb());
        }
    }
    return image;
}

enum class Extra { None, Joined, Shaded };

const QImage &chart(QSize size, Extra extra = Extra::None)
{
    static std::map<std::pair<int, Extra>, QImage> charts;
    QImage &c = charts[{size.width(), extra}];
    if (c.isNull())
        c = extra == Extra::Shaded ? shadedChart(size) : naturalChart(size, extra == Extra::Joined);
    return c;
}

PixelView viewOf(const QImage &image)
{
    return {reinterpret_cast<const std::uint32_t *>(image.constBits()), image.width(), image.height(),
            image.bytesPerLine() / 4};
}

void onePass(benchmark::State &state, QSize size)
{
    const PixelView view = viewOf(chart(size));
    for (auto _ : state) {
        std::uint64_t sum = 0;
        for (int y = 0; y < view.height; ++y) {
            const std::uint32_t *row = view.pixels + qsizetype(y) * view.stride;
            for (int x = 0; x < view.width; ++x)
                sum += row[x];
        }
        benchmark::DoNotOptimize(sum);
    }
}

void traceCurve(benchmark::State &state, QSize size)
{
    const QImage &image = chart(size);
    const PixelView view = viewOf(image);
    // A press on the blue curve, a little off its centre, as a hand would.
    const double t = 0.37;
    const QPointF press(0.08 * size.width() + t * 0.86 * size.width() + 0.7,
                        0.08 * size.height() + (0.5 + 0.3 * std::sin(t * 9)) * 0.8 * size.height() + 1.2);
    const std::optional<PickedStroke> picked = pickStroke(view, press);
    if (!picked) {
        state.SkipWithError("no curve under the press");
        return;
    }
    std::size_t points = 0;
    for (auto _ : state) {
        const std::vector<QPointF> traced = traceLine(view, picked->start, picked->argb, TraceSettings());
        points = traced.size();
        benchmark::DoNotOptimize(traced.data());
    }
    state.SetLabel(std::to_string(points) + " points");
}

void findSeries(benchmark::State &state, QSize size, Extra extra)
{
    const PixelView view = viewOf(chart(size, extra));
    std::size_t found = 0;
    for (auto _ : state) {
        const std::vector<QPointF> markers = findMarkers(view, kMarkers.rgb(), TraceSettings());
        found = markers.size();
        benchmark::DoNotOptimize(markers.data());
    }
    state.SetLabel(std::to_string(found) + " markers");
}

const bool registered = [] {
    const struct {
        QSize size;
        const char *name;
        benchmark::TimeUnit unit;
    } pictures[] = {{{1900, 1000}, "1900x1000", benchmark::kMicrosecond},
                    {{8000, 6000}, "8000x6000", benchmark::kMillisecond}};
    for (const auto &p : pictures) {
        const std::string base = std::string("Trace/") + p.name;
        withSpread(benchmark::RegisterBenchmark((base + "/one_pass").c_str(), onePass, p.size), 7)->Unit(p.unit);
        withSpread(benchmark::RegisterBenchmark((base + "/line").c_str(), traceCurve, p.size), 7)->Unit(p.unit);
        withSpread(benchmark::RegisterBenchmark((base + "/markers").c_str(), findSeries, p.size, Extra::None), 7)
            ->Unit(p.unit);
        withSpread(
            benchmark::RegisterBenchmark((base + "/markers_on_a_line").c_str(), findSeries, p.size, Extra::Joined), 7)
            ->Unit(p.unit);
        reportRatio(std::string("trace a curve across a ") + p.name + " chart / one pass", base + "/line",
                    base + "/one_pass", 0.1);
        reportRatio(std::string("find the markers of a ") + p.name + " chart / one pass", base + "/markers",
                    base + "/one_pass", 3.0);
        reportRatio(std::string("find markers on a line across a ") + p.name + " chart / one pass",
                    base + "/markers_on_a_line", base + "/one_pass");
    }
    // On the small chart only. Before the halves of an inside were merged without starting over, a 200 x 200 patch
    // took 31 s.
    withSpread(benchmark::RegisterBenchmark("Trace/1900x1000/markers_beside_a_shaded_patch", findSeries,
                                            QSize(1900, 1000), Extra::Shaded),
               7)
        ->Unit(benchmark::kMillisecond);
    reportRatio("find markers beside a shaded patch of their colour / one pass",
                "Trace/1900x1000/markers_beside_a_shaded_patch", "Trace/1900x1000/one_pass");
    return true;
}();

} // namespace
