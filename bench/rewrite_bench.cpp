// Deleting the last point: the whole curve file is rewritten without its last line.
#include "bench_app.h"
#include "ratios.h"

#include "digitize/curve_file.h"

#include <QDir>
#include <QFile>

#include <string>

namespace {

QByteArray line(int i)
{
    return pointLine(QString::number(i * 0.125, 'f', 4), QString::number(1e3 - i * 0.37, 'E', 4));
}

QString curveFileOf(int lines)
{
    const QString path = QDir(benchFolder()).filePath(QStringLiteral("curve_%1.txt").arg(lines));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    for (int i = 0; i < lines; ++i)
        file.write(line(i));
    return path;
}

void rewrite(benchmark::State &state)
{
    const int lines = int(state.range(0));
    const QString path = curveFileOf(lines);
    for (auto _ : state) {
        if (rewriteWithoutLast(path) != RewriteResult::Rewritten)
            state.SkipWithError("the rewrite failed");
        // The line goes back, untimed: thousands of runs would otherwise empty the smaller files.
        state.PauseTiming();
        QFile file(path);
        if (!file.open(QIODevice::Append) || file.write(line(lines - 1)) < 0)
            state.SkipWithError("the line could not be put back");
        file.close();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * lines);
}

const bool registered = [] {
    for (int lines : {1000, 10000, 100000, 1000000}) {
        const std::string name = "Rewrite/lines_" + std::to_string(lines);
        withSpread(benchmark::RegisterBenchmark(name.c_str(), rewrite)->Arg(lines), 5)->Unit(benchmark::kMillisecond);
    }
    reportRatio("rewrite 10^4 lines / 10^3 lines (linear: 10)", "Rewrite/lines_10000", "Rewrite/lines_1000", 12);
    reportRatio("rewrite 10^5 lines / 10^4 lines (linear: 10)", "Rewrite/lines_100000", "Rewrite/lines_10000", 12);
    reportRatio("rewrite 10^6 lines / 10^5 lines (linear: 10)", "Rewrite/lines_1000000", "Rewrite/lines_100000", 12);
    return true;
}();

} // namespace
