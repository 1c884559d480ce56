// The benchmark suite: every benchmark has its baseline in the same run; the ratios are printed at the end.
// Run whole, it runs each group of benchmarks in a process of its own.
#include "bench_app.h"
#include "groups.h"
#include "probes.h"
#include "ratios.h"

#include "workspace/picture_loader.h"

#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<QTemporaryDir> folder;
QString sharedFolder; // given by the whole suite to each of its groups

// The suite's own arguments, taken out of those Google Benchmark reads.
struct SuiteArguments {
    bool wholeSuite = true; // no filter or listing asked for, and not one group of a whole run
    QString tablesTo;
    QString pictures;
    QString previous; // the program of an earlier build, to compare start-ups with
    QStringList passOn;
    std::vector<char *> rest;
};

SuiteArguments suiteArguments(int argc, char **argv)
{
    SuiteArguments out;
    out.rest.push_back(argv[0]);
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(u"--tables-to="_s)) {
            out.tablesTo = arg.section(u'=', 1);
            continue;
        }
        if (arg.startsWith(u"--pictures="_s)) {
            out.pictures = arg.section(u'=', 1);
            continue;
        }
        if (arg.startsWith(u"--previous="_s)) {
            out.previous = arg.section(u'=', 1);
            out.passOn.append(arg);
            continue;
        }
        if (arg.startsWith(u"--benchmark_filter"_s) || arg.startsWith(u"--benchmark_list_tests"_s))
            out.wholeSuite = false;
        out.passOn.append(arg);
        out.rest.push_back(argv[i]);
    }
    if (!out.tablesTo.isEmpty())
        out.wholeSuite = false;
    out.rest.push_back(nullptr);
    return out;
}

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
    return sharedFolder.isEmpty() ? folder->path() : sharedFolder;
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
    const auto finish = [](int missed) {
        std::fflush(stdout);
        if (missed > 0)
            std::printf("%d goal(s) missed\n", missed);
        std::fflush(stdout);
        folder.reset();
        return EXIT_SUCCESS;
    };
    SuiteArguments args = suiteArguments(argc, argv);
    if (args.wholeSuite)
        return finish(
            runEachGroupInItsOwnProcess(QCoreApplication::applicationFilePath(), args.passOn, folder->path()));
    sharedFolder = args.pictures;
    int restCount = int(args.rest.size()) - 1;
    benchmark::Initialize(&restCount, args.rest.data());
    registerProcessBenchmarks(argv[0], args.previous);
    const Tables tables{runBenchmarksAndRateThem(), peakMemoryRows()};
    if (!args.tablesTo.isEmpty()) {
        keepTables(tables, args.tablesTo); // the whole suite prints them with the other groups'
        return finish(0);
    }
    return finish(printTables(tables));
}
