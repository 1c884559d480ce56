// A day's digitizing in one go: every press goes through the chart's real handler and ends up, exact, in its
// curve's file, while memory stays level. Time per thousand presses is logged, never asserted.
#include "digitize/curve_file.h"
#include "support/fake_desktop.h"
#include "support/test_charts.h"
#include "support/widget_helpers.h"
#include "ui/form1.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <iostream>
#include <random>

using namespace Qt::StringLiterals;

namespace {

constexpr int kCurves = 50;
constexpr int kPointsPerCurve = 2000;
constexpr int kBlock = 1000;
constexpr qint64 kAllowedGrowthKiB = 4 * 1024; // 40 bytes lost a press would exceed it

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kFreedMemoryIsHeldBack = true; // AddressSanitizer keeps freed blocks in quarantine
#else
constexpr bool kFreedMemoryIsHeldBack = false;
#endif

qint64 residentKiB()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// The median of `count` blocks from `from`: a few stalls on a busy machine barely move it.
double medianMs(std::vector<double> blocks, std::size_t from, std::size_t count)
{
    const auto first = blocks.begin() + from;
    std::nth_element(first, first + count / 2, first + count);
    return first[count / 2];
}

// linearChart: x 0 at pixel 50 and 100 at 550, y 0 at pixel 350 and 30 at 50; recorded with four decimals.
QByteArray expectedLine(QPoint pixel)
{
    return pointLine(QString::number((pixel.x() - 50) / 5.0, 'f', 4),
                     QString::number((350 - pixel.y()) / 10.0, 'f', 4));
}

} // namespace

TEST(LongSession, HundredThousandPointsOverFiftyCurvesStayExactAndMemoryLevel)
{
    QTemporaryDir folder;
    QTemporaryDir startFolder;
    CurrentFolder current(startFolder.path());
    FakeDesktop desktop;
    Form1 form(desktop);
    const TestChart chart = linearChart();
    desktop.pictureAnswers.push_back(saveChart(chart.image, folder.path(), u"uzun oturum.bmp"_s));
    click(form, u"Command3"_s);
    typeInto(form, u"Text1"_s, chart.xValue0);
    typeInto(form, u"Text3"_s, chart.xValue1);
    typeInto(form, u"Text2"_s, chart.yValue0);
    typeInto(form, u"Text4"_s, chart.yValue1);
    for (const auto &[tick, button] : {std::pair{chart.xTick0, u"Command4"_s},
                                       {chart.yTick0, u"Command5"_s},
                                       {chart.xTick1, u"Command6"_s},
                                       {chart.yTick1, u"Command7"_s}}) {
        pressOnChart(form, tick);
        click(form, button);
    }

    // Whole pixels strictly inside the reference ticks: values on a 0.2 by 0.1 grid, never near a rounding edge.
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> column(51, 549);
    std::uniform_int_distribution<int> row(51, 349);
    std::vector<double> blockMs;
    std::vector<qint64> residentAtBlock;
    QElapsedTimer timer;
    timer.start();
    for (int curve = 1; curve <= kCurves; ++curve) {
        click(form, u"Command8"_s);
        QByteArray expected;
        for (int i = 0; i < kPointsPerCurve; ++i) {
            const QPoint pixel(column(random), row(random));
            pressOnChart(form, pixel);
            // As between a person's clicks: what the press scheduled (repaints, the list's scrolling) runs now,
            // instead of piling up in the queue.
            QCoreApplication::processEvents();
            expected += expectedLine(pixel);
            if ((i + 1) % kBlock == 0) {
                blockMs.push_back(timer.nsecsElapsed() / 1e6);
                residentAtBlock.push_back(residentKiB());
                timer.restart();
            }
        }
        const QString name = QDir(folder.path()).filePath(u"uzun oturum_"_s + QString::number(curve) + u".txt"_s);
        const QByteArray written = fileBytes(name);
        ASSERT_TRUE(written == expected) << "curve " << curve << ": " << written.size() << " bytes, expected "
                                         << expected.size() << " (seed " << seed << ")";
    }
    EXPECT_TRUE(desktop.warnings.isEmpty());

    // Level from the end of the first curve on: by then every window, list and drawing exists.
    const std::size_t settled = kPointsPerCurve / kBlock - 1;
    const qint64 settledKiB = residentAtBlock[settled];
    const qint64 peakKiB = *std::max_element(residentAtBlock.begin(), residentAtBlock.end());
    const std::size_t tail = blockMs.size() - 10;
    std::cout << "[ report   ] seed " << seed << ", " << kCurves * kPointsPerCurve << " presses: VmRSS "
              << residentAtBlock.front() << " KiB after 1000, " << settledKiB << " KiB after curve 1, "
              << residentAtBlock.back() << " KiB at the end, peak " << peakKiB
              << " KiB; ms per 1000 presses, median of ten: first " << medianMs(blockMs, 0, 10) << ", last "
              << medianMs(blockMs, tail, 10) << std::endl;
    ASSERT_GT(settledKiB, 0);
    if (!kFreedMemoryIsHeldBack) {
        EXPECT_LT(peakKiB - settledKiB, kAllowedGrowthKiB);
    }
}
