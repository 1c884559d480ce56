// The tracing window on a natural 1900 x 1000 chart: recording the points of a trace against as many single
// presses, and the repaint after a new preview against a full repaint of the chart.
#include "bench_app.h"
#include "bench_form.h"
#include "ratios.h"

#include "ui/chart_picture.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSpinBox>

#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize kPicture(1900, 1000);

double curveY(double x)
{
    return 500 + 300 * std::sin(x / 160);
}

QString sineChart()
{
    const QString path = QDir(benchFolder()).filePath(u"sinus.png"_s);
    if (QFile::exists(path))
        return path;
    QImage image(kPicture, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(40, 40, kPicture.width() - 80, kPicture.height() - 80);
    QPainterPath curve;
    curve.moveTo(60, curveY(60));
    for (int x = 61; x < kPicture.width() - 60; ++x)
        curve.lineTo(x, curveY(x));
    p.setPen(QPen(QColor(20, 60, 200), 2));
    p.drawPath(curve);
    p.end();
    image.save(path);
    return path;
}

// A curve started on the chart, its colour picked in the tracing window, a step of 2 pixels.
struct TracingForm {
    std::unique_ptr<BenchForm> bench = std::make_unique<BenchForm>(QSize(2560, 1440));
    ChartPicture *chart = nullptr;

    TracingForm()
    {
        bench->load(sineChart());
        bench->startCurve();
        bench->clickButton("Command19");
        bench->form->findChild<QSpinBox *>(u"Text11"_s)->setValue(2);
        bench->clickButton("Command20");
        bench->pressAt({950, int(std::lround(curveY(950)))});
        chart = bench->form->findChild<ChartPicture *>(u"Picture1"_s);
        flushPaints();
    }
    std::size_t trace()
    {
        bench->clickButton("Command21");
        return chart->preview().size();
    }
};

TracingForm &tracingForm()
{
    static auto *form = new TracingForm; // never destroyed: its windows must not outlive the application
    return *form;
}

std::size_t tracedPoints()
{
    static const std::size_t count = tracingForm().trace();
    return count;
}

void writeTrace(benchmark::State &state)
{
    TracingForm &form = tracingForm();
    for (auto _ : state) {
        state.PauseTiming();
        form.trace();
        flushPaints();
        state.ResumeTiming();
        form.bench->clickButton("Command22");
        flushPaints();
    }
    state.counters["points"] = double(tracedPoints());
}

void pressAsOften(benchmark::State &state)
{
    TracingForm &form = tracingForm();
    const std::size_t presses = tracedPoints();
    for (auto _ : state) {
        for (std::size_t i = 0; i < presses; ++i)
            form.bench->pressAt({60 + int(i % 1780), int(std::lround(curveY(60 + double(i % 1780))))});
        flushPaints();
    }
}

void redrawPreview(benchmark::State &state)
{
    TracingForm &form = tracingForm();
    form.trace();
    const std::vector<QPointF> fine = form.chart->preview();
    std::vector<QPointF> coarse;
    for (std::size_t i = 0; i < fine.size(); i += 2)
        coarse.push_back(fine[i]);
    bool odd = false;
    for (auto _ : state) {
        odd = !odd;
        form.chart->setPreview(odd ? coarse : fine, QColor(255, 0, 255));
        flushPaints();
    }
}

void repaintChart(benchmark::State &state)
{
    TracingForm &form = tracingForm();
    form.chart->setPreview({}, {}); // the chart as it is without a preview
    for (auto _ : state) {
        form.chart->update();
        flushPaints();
    }
}

const bool registered = [] {
    withSpread(benchmark::RegisterBenchmark("TraceWindow/write_traced_points", writeTrace)->Iterations(20), 5)
        ->Unit(benchmark::kMillisecond);
    withSpread(benchmark::RegisterBenchmark("TraceWindow/as_many_presses", pressAsOften)->Iterations(20), 5)
        ->Unit(benchmark::kMillisecond);
    withSpread(benchmark::RegisterBenchmark("TraceWindow/preview_after_a_new_step", redrawPreview)->Iterations(200))
        ->Unit(benchmark::kMicrosecond);
    withSpread(benchmark::RegisterBenchmark("TraceWindow/full_repaint", repaintChart)->Iterations(200))
        ->Unit(benchmark::kMicrosecond);
    reportRatio("recording a trace / as many single presses", "TraceWindow/write_traced_points",
                "TraceWindow/as_many_presses", 1.2);
    reportRatio("preview redrawn after a new step / full repaint of the chart", "TraceWindow/preview_after_a_new_step",
                "TraceWindow/full_repaint", 1.0);
    return true;
}();

} // namespace
