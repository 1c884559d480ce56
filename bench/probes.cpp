#include "probes.h"

#include "bench_app.h"
#include "bench_form.h"
#include "bench_pictures.h"
#include "ratios.h"

#include "workspace/picture_loader.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

#ifdef ZORVANE_BENCH_X11
#include <X11/Xlib.h>
#include <sys/select.h>
#endif

using namespace Qt::StringLiterals;

namespace {

// Peak resident memory (VmHWM) of a running process, MiB; it counts from the process's last exec.
double peakMiB(qint64 pid)
{
    QFile status(u"/proc/%1/status"_s.arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024;
    }
    return 0;
}

std::map<std::string, std::vector<double>> &peaks()
{
    static std::map<std::string, std::vector<double>> all;
    return all;
}

struct MemoryGoal {
    std::string label, program, baseline;
    double ratioGoal, mibGoal;
};

std::vector<MemoryGoal> &memoryGoals()
{
    static std::vector<MemoryGoal> all;
    return all;
}

// Reads a child's peak memory, keeps it under the benchmark's name, and stops the child.
double stopAndKeepPeak(benchmark::State &state, const std::string &name, QProcess &child)
{
    const double mib = peakMiB(child.processId());
    peaks()[name].push_back(mib);
    state.counters["peak_MiB"] = mib;
    child.kill();
    child.waitForFinished();
    return mib;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// A probe child: does its one job offscreen, then stops itself so that its peak memory can be read.
int probe(const QStringList &args)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "probe";
    char *argv[] = {name, nullptr};
    QApplication app(argc, argv);
    raisePictureAllocationLimit();
    if (args.value(0) == u"empty"_s) {
        QWidget window;
        window.show();
        flushPaints();
    } else if (args.value(0) == u"load"_s) {
        BenchForm form(QSize(args.value(2).toInt(), args.value(3).toInt()));
        form.load(args.value(1));
        flushPaints();
        if (!form.desktop.warnings.isEmpty())
            return 1;
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    QThread::sleep(60); // killed once its peak memory has been read
    return 0;
}

// Starts the suite again as a probe child; the time is until the child says it is ready.
void probeChild(benchmark::State &state, const std::string &name, const std::string &self, const QStringList &args)
{
    for (auto _ : state) {
        QProcess child;
        child.setProgram(QString::fromStdString(self));
        child.setArguments(QStringList{u"--probe"_s} + args);
        child.setWorkingDirectory(benchFolder());
        QElapsedTimer clock;
        clock.start();
        child.start();
        while (child.state() != QProcess::NotRunning && !child.canReadLine())
            child.waitForReadyRead(10000);
        state.SetIterationTime(double(clock.nsecsElapsed()) * 1e-9);
        const double mib = stopAndKeepPeak(state, name, child);
        if (mib == 0)
            state.SkipWithError("the probe did not start");
    }
}

#ifdef ZORVANE_BENCH_X11

// An Xvfb server of its own for the whole-process start-ups.
class XServer {
public:
    XServer()
    {
        const QString xvfb = QStandardPaths::findExecutable(u"Xvfb"_s);
        if (xvfb.isEmpty())
            return;
        for (int n = 70; n < 100 && !m_display; ++n) {
            if (QFileInfo::exists(u"/tmp/.X%1-lock"_s.arg(n)))
                continue;
            m_name = u":%1"_s.arg(n);
            m_server.start(xvfb, {m_name, u"-screen"_s, u"0"_s, u"1920x1080x24"_s, u"-nolisten"_s, u"tcp"_s});
            for (int i = 0; i < 100 && !m_display && m_server.state() != QProcess::NotRunning; ++i) {
                QThread::msleep(50);
                m_display = XOpenDisplay(m_name.toLatin1().constData());
            }
        }
        if (m_display)
            XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
    }
    ~XServer()
    {
        if (m_display)
            XCloseDisplay(m_display);
        m_server.terminate();
        m_server.waitForFinished();
    }
    [[nodiscard]] bool running() const { return m_display != nullptr; }
    [[nodiscard]] const QString &name() const { return m_name; }

    void forgetEvents() { XSync(m_display, True); }
    // Waits for a top-level window to be mapped; false after ten seconds without one.
    bool waitForMap()
    {
        const int fd = ConnectionNumber(m_display);
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 10000) {
            while (XPending(m_display)) {
                XEvent event;
                XNextEvent(m_display, &event);
                if (event.type == MapNotify)
                    return true;
            }
            fd_set read;
            FD_ZERO(&read);
            FD_SET(fd, &read);
            timeval timeout{0, 100000};
            select(fd + 1, &read, nullptr, nullptr, &timeout);
        }
        return false;
    }

private:
    QProcess m_server;
    QString m_name;
    Display *m_display = nullptr;
};

XServer &xServer()
{
    static XServer server;
    return server;
}

// From starting the program to its window mapped on the X server; the memory is its peak by then.
void startUntilMapped(benchmark::State &state, const std::string &name, const QString &program)
{
    XServer &x = xServer();
    if (!x.running()) {
        state.SkipWithError("Xvfb is not available");
        return;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"DISPLAY"_s, x.name());
    env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    const QString runFolder = QDir(benchFolder()).filePath(u"start"_s);
    QDir().mkpath(runFolder);
    for (auto _ : state) {
        x.forgetEvents();
        QProcess child;
        child.setProcessEnvironment(env);
        child.setWorkingDirectory(runFolder);
        QElapsedTimer clock;
        clock.start();
        child.start(program, {});
        const bool mapped = x.waitForMap();
        state.SetIterationTime(double(clock.nsecsElapsed()) * 1e-9);
        stopAndKeepPeak(state, name, child);
        if (!mapped) {
            state.SkipWithError("no window was mapped");
            return;
        }
    }
}

#endif

} // namespace

int runProbeIfAsked(int argc, char **argv)
{
    if (argc < 2 || std::string(argv[1]) != "--probe")
        return -1;
    QStringList args;
    for (int i = 2; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    return probe(args);
}

void registerProcessBenchmarks(const char *self, const QString &previous)
{
    const std::string exe = QFileInfo(QString::fromLocal8Bit(self)).absoluteFilePath().toStdString();
#ifdef ZORVANE_BENCH_X11
    if (!previous.isEmpty()) {
        const QString program = QFileInfo(previous).absoluteFilePath();
        withSpread(benchmark::RegisterBenchmark("Process/start/previous_build",
                                                [program](benchmark::State &s) {
                                                    startUntilMapped(s, "Process/start/previous_build", program);
                                                }),
                   5, Clock::Manual)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
        // Start-up maps its window well under what a person notices: a guard against getting worse, not a race.
        reportRatio("start-up until mapped: zorvane / previous build", "Process/start/zorvane",
                    "Process/start/previous_build", 1.1);
        memoryGoals().push_back({"peak memory at start-up: zorvane / previous build", "Process/start/zorvane",
                                 "Process/start/previous_build", 1.1, 0});
    }
    withSpread(benchmark::RegisterBenchmark(
                   "Process/start/zorvane",
                   [](benchmark::State &s) { startUntilMapped(s, "Process/start/zorvane", u"" ZORVANE_EXE ""_s); }),
               5, Clock::Manual)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    withSpread(benchmark::RegisterBenchmark("Process/start/minimal_qt",
                                            [](benchmark::State &s) {
                                                startUntilMapped(s, "Process/start/minimal_qt",
                                                                 u"" MINIMAL_QT_EXE ""_s);
                                            }),
               5, Clock::Manual)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    reportRatio("start-up until mapped, whole process: zorvane / minimal Qt", "Process/start/zorvane",
                "Process/start/minimal_qt");
    memoryGoals().push_back(
        {"peak memory at start-up: zorvane / minimal Qt", "Process/start/zorvane", "Process/start/minimal_qt", 0, 0});
#endif
    withSpread(benchmark::RegisterBenchmark(
                   "Process/probe/empty_widget",
                   [exe](benchmark::State &s) { probeChild(s, "Process/probe/empty_widget", exe, {u"empty"_s}); }),
               5, Clock::Manual)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    withSpread(benchmark::RegisterBenchmark("Process/probe/fitted_jpeg_8000x6000",
                                            [exe](benchmark::State &s) {
                                                probeChild(s, "Process/probe/fitted_jpeg_8000x6000", exe,
                                                           {u"load"_s, benchPicture({8000, 6000}, "jpg"), u"1024"_s,
                                                            u"768"_s});
                                            }),
               5, Clock::Manual)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    memoryGoals().push_back({"peak memory, 8000 x 6000 JPEG fitted to 1024 x 768 (MiB)",
                             "Process/probe/fitted_jpeg_8000x6000", "Process/probe/empty_widget", 0, 60});
}

std::string peakMemoryTableHeader()
{
    char text[128];
    std::snprintf(text, sizeof text, "%-58s %12s %12s %7s %6s", "peak memory", "MiB", "baseline", "ratio", "goal");
    return text;
}

std::vector<std::string> peakMemoryRows()
{
    std::vector<std::string> rows;
    for (const MemoryGoal &g : memoryGoals()) {
        const auto a = peaks().find(g.program);
        const auto b = peaks().find(g.baseline);
        if (a == peaks().end() || b == peaks().end())
            continue;
        const double mib = median(a->second);
        const double base = median(b->second);
        const double ratio = base > 0 ? mib / base : 0;
        char goal[24] = "";
        if (g.ratioGoal > 0)
            std::snprintf(goal, sizeof goal, "%.2fx%s", g.ratioGoal, ratio <= g.ratioGoal ? "" : " !");
        else if (g.mibGoal > 0)
            std::snprintf(goal, sizeof goal, "%.0f MiB%s", g.mibGoal, mib <= g.mibGoal ? "" : " !");
        char row[192];
        std::snprintf(row, sizeof row, "%-58s %12.1f %12.1f %7.3f %6s", g.label.c_str(), mib, base, ratio, goal);
        rows.emplace_back(row);
    }
    return rows;
}
