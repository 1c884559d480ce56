// A picture loaded through the picture button and its dialog until it is shown, against a bare decode of
// the same file.
#include "bench_app.h"
#include "bench_form.h"
#include "bench_pictures.h"
#include "ratios.h"

#include "ui/chart_picture.h"
#include "ui/twips.h"
#include "workspace/display_fit.h"

#include <QImageReader>

#include <iterator>
#include <string>
#include <vector>

namespace {

struct Picture {
    QSize size;
    const char *format;
};

const Picture kPictures[] = {{{1600, 1200}, "jpg"},  {{4000, 3000}, "jpg"}, {{8000, 6000}, "jpg"},
                             {{12000, 9000}, "jpg"}, {{1600, 1200}, "bmp"}, {{8000, 6000}, "bmp"}};
const QSize kScreens[] = {{1024, 768}, {1920, 1080}};
// A screen with room for the small pictures, where they are shown at their natural size.
const QSize kLargeScreen{3840, 2160};

std::string sizeName(QSize s)
{
    return std::to_string(s.width()) + "x" + std::to_string(s.height());
}

std::string pictureName(const Picture &p)
{
    return std::string(p.format) + "_" + sizeName(p.size);
}

void bareRead(benchmark::State &state, Picture picture)
{
    const QString path = benchPicture(picture.size, picture.format);
    for (auto _ : state) {
        QImageReader reader(path);
        const QImage image = reader.read();
        if (image.isNull())
            state.SkipWithError("the bare read failed");
        benchmark::DoNotOptimize(image.constBits());
    }
}

void loadThroughDialog(benchmark::State &state, Picture picture, QSize screen)
{
    const QString path = benchPicture(picture.size, picture.format);
    BenchForm bench(screen);
    for (auto _ : state) {
        bench.load(path);
        flushPaints();
    }
    if (!bench.desktop.warnings.isEmpty())
        state.SkipWithError(bench.desktop.warnings.front().toStdString().c_str());
    const bool natural = !bench.form->findChild<ChartPicture *>()->naturalPicture().isNull();
    state.SetLabel(natural ? "natural" : "fitted");
}

const bool registered = [] {
    for (const Picture &p : kPictures) {
        const std::string bare = "Load/" + pictureName(p) + "/bare_QImageReader_read";
        withSpread(benchmark::RegisterBenchmark(bare.c_str(), bareRead, p), 5)->Unit(benchmark::kMillisecond);
        const bool large = p.size.width() * p.size.height() >= 12'000'000;
        std::vector<QSize> screens(std::begin(kScreens), std::end(kScreens));
        if (p.size.width() <= 1600)
            screens.push_back(kLargeScreen);
        for (const QSize &screen : screens) {
            const std::string name = "Load/" + pictureName(p) + "/screen_" + sizeName(screen);
            withSpread(benchmark::RegisterBenchmark(name.c_str(), loadThroughDialog, p, screen), 5)
                ->Unit(benchmark::kMillisecond);
            // Pictures larger than the screen are fitted; small ones are shown at their natural size. Qt reads a
            // BMP whole, then it is scaled: a large one within 1.3 of the read; a small one is quick either way.
            const bool fitted = !fitPicture(p.size.width() * kTwipsPerPixel, p.size.height() * kTwipsPerPixel,
                                            screen.width(), screen.height())
                                     .natural();
            const double goal = std::string(p.format) == "bmp" ? (large ? 1.3 : 0) : fitted ? (large ? 0.5 : 0) : 1.15;
            reportRatio("load " + pictureName(p) + " on " + sizeName(screen) + " / bare decode", name, bare, goal);
        }
    }
    return true;
}();

// The largest pictures: a fitted JPEG must not need the full picture's memory, and a big BMP must load.
void loadLargest(benchmark::State &state, Picture picture)
{
    loadThroughDialog(state, picture, {1920, 1080});
}

BENCHMARK_CAPTURE(loadLargest, jpg_20000x20000, Picture{{20000, 20000}, "jpg"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(loadLargest, bmp_12000x9000, Picture{{12000, 9000}, "bmp"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
