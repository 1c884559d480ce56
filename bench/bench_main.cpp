// The benchmark suite: every benchmark has its baseline in the same run; the ratios are printed at the end.
#include "bench_app.h"
#include "probes.h"
#include "ratios.h"

#include "workspace/picture_loader.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<QTemporaryDir> folder;

double minimum(const std::vector<double> &v)
{
    return *std::min_element(v.begin(), v.end());
}

double maximum(const std::vector<double> &v)
{
    return *std::max_element(v.begin(), v.end());
}

} // namespace

QString benchFolder()
{
    return folder->path();
}

benchmark::internal::Benchmark *withSpread(benchmark::internal::Benchmark *b, int repetitions, Clock clock)
{
    b->Repetitions(repetitions)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("min", minimum)
        ->ComputeStatistics("max", maximum);
    return clock == Clock::Manual ? b->UseManualTime() : b->UseRealTime();
}

void flushPaints()
{
    QCoreApplication::processEvents(); // exposes come from the platform, not as posted events
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(); // an update request posts the paint it causes
}

int main(int argc, char **argv)
{
    if (const int probe = runProbeIfAsked(argc, argv); probe >= 0)
        return probe; // a child started by a whole-process benchmark
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    raisePictureAllocationLimit(); // as the program does
    folder = std::make_unique<QTemporaryDir>();
    benchmark::Initialize(&argc, argv);
    registerProcessBenchmarks(argv[0]);
    const int missed = runBenchmarksAndReportRatios();
    printPeakMemoryTable();
    std::fflush(stdout);
    if (missed > 0)
        std::printf("%d goal(s) missed\n", missed);
    folder.reset();
    return EXIT_SUCCESS;
}
