// Building the main window with its start-up steps and showing it until its first paint, against an empty
// window shown the same way.
#include "bench_app.h"
#include "ratios.h"

#include "support/fake_desktop.h"
#include "ui/form1.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEvent>

namespace {

// Counts the paints a window receives.
class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        painted |= event->type() == QEvent::Paint;
        return false;
    }
};

template <class MakeWindow> void showUntilPainted(benchmark::State &state, MakeWindow make)
{
    QDir::setCurrent(benchFolder()); // no saved format choices here
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        PaintWatch watch;
        auto window = make();
        window->installEventFilter(&watch);
        window->show();
        while (!watch.painted)
            flushPaints();
        state.SetIterationTime(double(clock.nsecsElapsed()) * 1e-9);
        window.reset();
    }
}

void startForm1(benchmark::State &state)
{
    FakeDesktop desktop({1920, 1080});
    showUntilPainted(state, [&] { return std::make_unique<Form1>(desktop); });
}

void startEmptyWidget(benchmark::State &state)
{
    showUntilPainted(state, [] { return std::make_unique<QWidget>(); });
}

const bool registered = [] {
    withSpread(benchmark::RegisterBenchmark("Startup/Form1", startForm1), 7, Clock::Manual)
        ->Unit(benchmark::kMillisecond);
    withSpread(benchmark::RegisterBenchmark("Startup/empty_QWidget", startEmptyWidget), 7, Clock::Manual)
        ->Unit(benchmark::kMillisecond);
    reportRatio("start-up in process, offscreen: Form1 / empty QWidget", "Startup/Form1", "Startup/empty_QWidget");
    return true;
}();

} // namespace
