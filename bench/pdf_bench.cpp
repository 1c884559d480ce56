// Charts from PDF papers: the page chooser opening on a long paper until its first thumbnails are drawn, against
// opening the file alone; a page drawn at 300 dpi and saved, against poppler's pdftoppm on the same page.
#include "bench_app.h"
#include "ratios.h"

#include "ui/form8.h"
#include "workspace/pdf_pages.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfDocument>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// A page of a paper: two columns of text around a chart with a grid, three curves and tick labels.
void drawPaperPage(QPainter &p, int pageNumber)
{
    p.setFont(QFont(u"DejaVu Sans"_s, 8));
    p.setPen(Qt::black);
    const QString line = u"Ölçülen değerler, deney düzeneğinin sıcaklığı ile birlikte her adımda kaydedildi."_s;
    for (int row = 0; row < 28; ++row) {
        p.drawText(QPointF(50, 60 + row * 11), line);
        p.drawText(QPointF(50, 560 + row * 10), line);
    }
    const QRectF chart(90, 380, 420, 160);
    p.setPen(QPen(Qt::gray, 0.3));
    for (int i = 1; i < 10; ++i) {
        p.drawLine(QPointF(chart.left() + i * chart.width() / 10, chart.top()),
                   QPointF(chart.left() + i * chart.width() / 10, chart.bottom()));
        p.drawLine(QPointF(chart.left(), chart.top() + i * chart.height() / 10),
                   QPointF(chart.right(), chart.top() + i * chart.height() / 10));
    }
    p.setPen(QPen(Qt::black, 0.8));
    p.drawRect(chart);
    for (int i = 0; i <= 10; i += 2)
        p.drawText(QPointF(chart.left() + i * chart.width() / 10 - 4, chart.bottom() + 12), QString::number(i * 10));
    for (int c = 1; c <= 3; ++c) {
        QPainterPath curve;
        for (int i = 0; i <= 300; ++i) {
            const double x = chart.left() + i * chart.width() / 300;
            const double y = chart.center().y() -
                             chart.height() * 0.4 * std::sin(i / (20.0 * c) + pageNumber) * std::exp(-i / 400.0);
            if (i == 0)
                curve.moveTo(x, y);
            else
                curve.lineTo(x, y);
        }
        p.setPen(QPen(QColor::fromHsv(c * 100, 255, 180), 1.2));
        p.drawPath(curve);
    }
    p.setPen(Qt::black);
    p.drawText(QPointF(290, 820), QString::number(pageNumber));
}

QString paperPdf(int pages)
{
    const QString path = QDir(benchFolder()).filePath(u"makale_%1.pdf"_s.arg(pages));
    if (QFileInfo::exists(path))
        return path;
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(72);
    QPainter painter(&writer);
    for (int n = 1; n <= pages; ++n) {
        if (n > 1)
            writer.newPage();
        drawPaperPage(painter, n);
    }
    return path;
}

void openAlone(benchmark::State &state)
{
    const QString path = paperPdf(300);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        QPdfDocument document;
        if (document.load(path) != QPdfDocument::Error::None || document.pageCount() != 300)
            state.SkipWithError("the PDF did not open");
        state.SetIterationTime(double(clock.nsecsElapsed()) * 1e-9);
    }
}

void openChooser(benchmark::State &state, bool untilShown)
{
    const QString path = paperPdf(300);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const OpenedPdf pdf = openPdf(path);
        if (!pdf.document) {
            state.SkipWithError("the PDF did not open");
            break;
        }
        Form8 chooser(*pdf.document, QFileInfo(path).fileName());
        chooser.show();
        flushPaints();
        const double shown = double(clock.nsecsElapsed()) * 1e-9;
        // The thumbnails are drawn on a thread of their own and shown as they come.
        while (chooser.thumbnailsDrawn() < chooser.thumbnailsInView())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        flushPaints();
        state.SetIterationTime(untilShown ? shown : double(clock.nsecsElapsed()) * 1e-9);
        state.counters["thumbnails"] = chooser.thumbnailsDrawn();
    }
}

void renderAndSave(benchmark::State &state)
{
    const QString path = paperPdf(1);
    for (auto _ : state) {
        const OpenedPdf pdf = openPdf(path);
        if (!pdf.document) {
            state.SkipWithError("the PDF did not open");
            break;
        }
        const SavedPage saved = savePage(*pdf.document, path, {0, 300, {}});
        state.PauseTiming();
        if (!saved.error.isEmpty())
            state.SkipWithError(saved.error.toStdString().c_str());
        QFile::remove(saved.path); // the next run takes the same name
        state.ResumeTiming();
    }
}

void pdftoppm(benchmark::State &state)
{
    const QString program = QStandardPaths::findExecutable(u"pdftoppm"_s);
    if (program.isEmpty()) {
        state.SkipWithError("pdftoppm is not installed (poppler-utils)");
        return;
    }
    const QString path = paperPdf(1);
    const QString out = QDir(benchFolder()).filePath(u"pdftoppm"_s);
    for (auto _ : state) {
        const int code = QProcess::execute(
            program, {u"-r"_s, u"300"_s, u"-png"_s, u"-f"_s, u"1"_s, u"-l"_s, u"1"_s, u"-singlefile"_s, path, out});
        if (code != 0)
            state.SkipWithError("pdftoppm failed");
    }
}

const bool registered = [] {
    withSpread(benchmark::RegisterBenchmark("Pdf/open_300_pages/QPdfDocument_load", openAlone), 7, Clock::Manual)
        ->Unit(benchmark::kMillisecond);
    withSpread(benchmark::RegisterBenchmark("Pdf/open_300_pages/chooser_first_thumbnails", openChooser, false), 7,
               Clock::Manual)
        ->Unit(benchmark::kMillisecond);
    withSpread(benchmark::RegisterBenchmark("Pdf/open_300_pages/chooser_shown", openChooser, true), 7, Clock::Manual)
        ->Unit(benchmark::kMillisecond);
    withSpread(benchmark::RegisterBenchmark("Pdf/a4_300dpi/render_and_save_png", renderAndSave), 5)
        ->Unit(benchmark::kMillisecond);
    withSpread(benchmark::RegisterBenchmark("Pdf/a4_300dpi/pdftoppm", pdftoppm), 5)->Unit(benchmark::kMillisecond);
    reportRatio("PDF chooser on 300 pages, first thumbnails / QPdfDocument",
                "Pdf/open_300_pages/chooser_first_thumbnails", "Pdf/open_300_pages/QPdfDocument_load", 3);
    reportRatio("PDF chooser on 300 pages, shown, thumbnails coming / QPdfDocument", "Pdf/open_300_pages/chooser_shown",
                "Pdf/open_300_pages/QPdfDocument_load");
    reportRatio("A4 page at 300 dpi drawn and saved / pdftoppm -r 300 -png", "Pdf/a4_300dpi/render_and_save_png",
                "Pdf/a4_300dpi/pdftoppm", 1.5);
    return true;
}();

} // namespace
