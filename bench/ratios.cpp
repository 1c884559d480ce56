#include "ratios.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <vector>

namespace {

struct Ratio {
    std::string label, benchmark, baseline;
    double goal;
};

std::vector<Ratio> &ratios()
{
    static std::vector<Ratio> all;
    return all;
}

// Shows what the console reporter shows, and keeps the median, min and max time of each benchmark.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Spread {
        double median = 0, min = 0, max = 0;
        std::string unit;
    };
    std::map<std::string, Spread> spreads;

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Aggregate)
                continue;
            Spread &s = spreads[run.run_name.function_name];
            const double t = run.GetAdjustedRealTime();
            if (run.aggregate_name == "median")
                s.median = t;
            else if (run.aggregate_name == "min")
                s.min = t;
            else if (run.aggregate_name == "max")
                s.max = t;
            s.unit = benchmark::GetTimeUnitString(run.time_unit);
        }
    }
};

} // namespace

void reportRatio(const std::string &label, const std::string &benchmark, const std::string &baseline, double goal)
{
    ratios().push_back({label, benchmark, baseline, goal});
}

std::string ratioTableHeader()
{
    char text[160];
    std::snprintf(text, sizeof text, "%-58s %28s %28s %7s %6s", "ratio", "median (min-max)",
                  "baseline median (min-max)", "ratio", "goal");
    return text;
}

std::vector<std::string> runBenchmarksAndRateThem()
{
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::vector<std::string> rows;
    for (const Ratio &r : ratios()) {
        const auto a = reporter.spreads.find(r.benchmark);
        const auto b = reporter.spreads.find(r.baseline);
        if (a == reporter.spreads.end() || b == reporter.spreads.end() || b->second.median <= 0)
            continue; // filtered out of this run
        const auto spread = [](const RatioReporter::Spread &s) {
            char text[64];
            std::snprintf(text, sizeof text, "%.3g %s (%.3g-%.3g)", s.median, s.unit.c_str(), s.min, s.max);
            return std::string(text);
        };
        // Both medians are in their own units; bring them to seconds first.
        const auto seconds = [](const RatioReporter::Spread &s) {
            const double scale = s.unit == "ns" ? 1e-9 : s.unit == "us" ? 1e-6 : s.unit == "ms" ? 1e-3 : 1;
            return s.median * scale;
        };
        const double ratio = seconds(a->second) / seconds(b->second);
        const bool met = r.goal <= 0 || ratio <= r.goal;
        char goal[16] = "";
        if (r.goal > 0)
            std::snprintf(goal, sizeof goal, "%.2f%s", r.goal, met ? "" : " !");
        char row[256];
        std::snprintf(row, sizeof row, "%-58s %28s %28s %7.3f %6s", r.label.c_str(), spread(a->second).c_str(),
                      spread(b->second).c_str(), ratio, goal);
        rows.emplace_back(row);
    }
    return rows;
}
