// A mouse move over the chart (readout, conversion, formatting, cross-hair and the paints it causes),
// against a full repaint of the chart.
#include "bench_app.h"
#include "bench_form.h"
#include "bench_pictures.h"
#include "ratios.h"

#include "ui/chart_picture.h"

#include <QAbstractButton>

#include <string>

namespace {

struct Chart {
    const char *name;
    QSize picture;
    QSize screen;
};

// 1900 x 1000 is shown at its natural size on a screen with room for it; 8000 x 6000 (48 MP) is fitted.
const Chart kCharts[] = {{"natural_1900x1000", {1900, 1000}, {2560, 1440}},
                         {"scaled_8000x6000", {8000, 6000}, {1920, 1080}}};

std::unique_ptr<BenchForm> chartForm(const Chart &chart)
{
    auto bench = std::make_unique<BenchForm>(chart.screen);
    bench->load(benchPicture(chart.picture, "jpg"));
    bench->startCurve();
    flushPaints();
    return bench;
}

void moveOver(benchmark::State &state, Chart chart, const char *pointer)
{
    auto bench = chartForm(chart);
    bench->form->findChild<QAbstractButton *>(QString::fromLatin1(pointer))->click();
    const QSize area = bench->form->findChild<ChartPicture *>()->areaSize();
    int step = 0;
    for (auto _ : state) {
        // Short moves all over the chart, as a hand makes them.
        ++step;
        bench->moveTo({(step * 7) % (area.width() - 4) + 2, (step * 3) % (area.height() - 4) + 2});
        flushPaints();
    }
}

void repaintChart(benchmark::State &state, Chart chart)
{
    auto bench = chartForm(chart);
    auto *picture = bench->form->findChild<ChartPicture *>();
    for (auto _ : state) {
        picture->update();
        flushPaints();
    }
}

const bool registered = [] {
    for (const Chart &c : kCharts) {
        const std::string base = std::string("Move/") + c.name;
        withSpread(benchmark::RegisterBenchmark((base + "/full_repaint").c_str(), repaintChart, c))
            ->Unit(benchmark::kMicrosecond);
        withSpread(benchmark::RegisterBenchmark((base + "/full_cross_hair").c_str(), moveOver, c, "Option1"))
            ->Unit(benchmark::kMicrosecond);
        withSpread(benchmark::RegisterBenchmark((base + "/small_cross").c_str(), moveOver, c, "Option2"))
            ->Unit(benchmark::kMicrosecond);
        // A move stays far under a frame (16 ms) either way; half a full repaint keeps it there on any chart.
        reportRatio(std::string("move, full cross-hair, ") + c.name + " / full repaint", base + "/full_cross_hair",
                    base + "/full_repaint", 0.5);
        reportRatio(std::string("move, small cross, ") + c.name + " / full repaint", base + "/small_cross",
                    base + "/full_repaint");
    }
    return true;
}();

} // namespace
