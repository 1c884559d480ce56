// A recorded press (symbol, append to the curve file, list line) early in a curve and deep into one.
#include "bench_app.h"
#include "bench_form.h"
#include "bench_pictures.h"
#include "ratios.h"

#include <QDir>

#include <map>
#include <memory>

namespace {

// A curve with its earlier points recorded, kept for every repetition of the same benchmark.
struct Curve {
    std::unique_ptr<BenchForm> bench;
    int presses = 0;
    void press()
    {
        ++presses;
        bench->pressAt({20 + (presses * 13) % 600, 20 + (presses * 7) % 400});
    }
};

Curve &curveAfter(int earlierPoints)
{
    // Never destroyed: its windows must not outlive the application object at exit.
    static auto *curves = new std::map<int, Curve>;
    Curve &curve = (*curves)[earlierPoints];
    if (curve.bench)
        return curve;
    const QString folder = QDir(benchFolder()).filePath(QString::number(earlierPoints));
    QDir().mkpath(folder);
    QFile::copy(benchPicture({1600, 1200}, "jpg"), QDir(folder).filePath(QStringLiteral("chart.jpg")));
    curve.bench = std::make_unique<BenchForm>(QSize(1920, 1080));
    curve.bench->load(QDir(folder).filePath(QStringLiteral("chart.jpg")));
    curve.bench->startCurve();
    for (int i = 1; i < earlierPoints; ++i)
        curve.press();
    flushPaints();
    return curve;
}

void pressAfter(benchmark::State &state, int earlierPoints)
{
    Curve &curve = curveAfter(earlierPoints);
    for (auto _ : state) {
        curve.press();
        flushPaints();
    }
}

const bool registered = [] {
    withSpread(benchmark::RegisterBenchmark("Press/at_point_100", pressAfter, 100)->Iterations(2000), 5)
        ->Unit(benchmark::kMicrosecond);
    withSpread(benchmark::RegisterBenchmark("Press/at_point_100000", pressAfter, 100000)->Iterations(2000), 5)
        ->Unit(benchmark::kMicrosecond);
    reportRatio("recorded press at point 100,000 / at point 100", "Press/at_point_100000", "Press/at_point_100", 2.0);
    return true;
}();

} // namespace
