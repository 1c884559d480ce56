#include "workspace/pdf_pages.h"

#include "support/test_pdfs.h"
#include "workspace/decode_limit.h"
#include "workspace/picture_loader.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

class PdfPages : public ::testing::Test {
protected:
    void SetUp() override { raisePictureAllocationLimit(); } // as the main window does
    void TearDown() override { QImageReader::setAllocationLimit(m_limit); }
    QString path(const QString &name) const { return folder.filePath(name); }

    QTemporaryDir folder;

private:
    int m_limit = QImageReader::allocationLimit();
};

bool dark(QRgb c)
{
    return qRed(c) < 60 && qGreen(c) < 60 && qBlue(c) < 60;
}

bool white(QRgb c)
{
    return qRed(c) > 245 && qGreen(c) > 245 && qBlue(c) > 245;
}

// The pixel under a point of the page drawn at `dpi`, less `offset` (the region's corner).
QRgb at(const QImage &image, QPointF points, int dpi, QPoint offset = {})
{
    const double s = dpi / 72.0;
    return image.pixel(int(points.x() * s) - offset.x(), int(points.y() * s) - offset.y());
}

} // namespace

TEST_F(PdfPages, OpeningSaysWhyAFileIsNoReadablePdf)
{
    struct Row {
        QString name;
        std::function<QString(const QString &)> write;
        QString error;
    };
    const auto bytes = [](const QByteArray &b) {
        return [b](const QString &p) {
            QFile f(p);
            return f.open(QIODevice::WriteOnly) && f.write(b) == b.size() ? p : QString();
        };
    };
    const Row rows[] = {
        {u"gizli belge.pdf"_s, writePasswordPdf, u"\"gizli belge.pdf\" belgesi parola korumalı."_s},
        {u"yarım.pdf"_s, writeBrokenPdf, u"\"yarım.pdf\" dosyası PDF belgesi olarak açılamadı."_s},
        {u"boş.pdf"_s, bytes({}), u"\"boş.pdf\" dosyası PDF belgesi olarak açılamadı."_s},
        {u"metin.pdf"_s, bytes("merhaba\n"), u"\"metin.pdf\" dosyası PDF belgesi olarak açılamadı."_s},
        {u"sayfasız.pdf"_s, writePagelessPdf, u"\"sayfasız.pdf\" belgesinde hiç sayfa yok; açılamadı."_s},
        {u"yok.pdf"_s, [](const QString &p) { return p; }, u"\"yok.pdf\" dosyası PDF belgesi olarak açılamadı."_s},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name.toStdString());
        ASSERT_FALSE(r.write(path(r.name)).isEmpty());
        const OpenedPdf pdf = openPdf(path(r.name));
        EXPECT_EQ(pdf.document, nullptr);
        EXPECT_EQ(pdf.error, r.error);
    }
    const OpenedPdf good = openPdf(writeChartPdf(path(u"iyi.pdf"_s), 2));
    ASSERT_NE(good.document, nullptr);
    EXPECT_TRUE(good.error.isEmpty());
    EXPECT_EQ(good.document->pageCount(), 2);
}

TEST_F(PdfPages, PageIsDrawnOnWhiteAtItsResolutionWithTheMarksInTheirPlaces)
{
    struct Row {
        QSizeF page;
        int pageNumber;
        int dpi;
    };
    const Row rows[] = {{kA4Points, 1, 300}, {{842, 595}, 3, 150}, {{612, 792}, 2, 72}};
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << r.page.width() << "x" << r.page.height() << " page " << r.pageNumber
                                        << " at " << r.dpi);
        const OpenedPdf pdf = openPdf(writeChartPdf(path(u"sayfa.pdf"_s), 3, r.page));
        ASSERT_NE(pdf.document, nullptr);
        const QImage image = renderPage(*pdf.document, {r.pageNumber - 1, r.dpi, {}});
        ASSERT_EQ(image.size(),
                  QSize(std::lround(r.page.width() * r.dpi / 72), std::lround(r.page.height() * r.dpi / 72)));
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
        const double w = r.page.width();
        const double h = r.page.height();
        const double inside = kCornerMark - 2;
        const double outside = kCornerMark + 2;
        for (const QPointF corner : {QPointF(0, 0), QPointF(w, 0), QPointF(0, h), QPointF(w, h)}) {
            const auto toward = [&](double d) {
                return QPointF(corner.x() > 0 ? corner.x() - d : d, corner.y() > 0 ? corner.y() - d : d);
            };
            EXPECT_TRUE(dark(at(image, toward(inside), r.dpi))) << corner.x() << "," << corner.y();
            EXPECT_TRUE(white(at(image, toward(outside), r.dpi))) << corner.x() << "," << corner.y();
        }
        const QRgb marker = at(image, {w * kMarkerAt.x(), h * kMarkerAt.y()}, r.dpi);
        EXPECT_GT(qRed(marker), 200);
        EXPECT_LT(qGreen(marker), 60);
        const QPointF pageMark = pageMarkAt(r.pageNumber) + QPointF(kPageMarkSide / 2, kPageMarkSide / 2);
        EXPECT_GT(qBlue(at(image, pageMark, r.dpi)), 200);
        EXPECT_LT(qRed(at(image, pageMark, r.dpi)), 60);
        EXPECT_TRUE(white(at(image, pageMark + QPointF(20, 0), r.dpi))); // the next page's place
    }
}

TEST_F(PdfPages, RegionIsThatPartOfTheWholePage)
{
    const OpenedPdf pdf = openPdf(writeChartPdf(path(u"bölge.pdf"_s), 1));
    ASSERT_NE(pdf.document, nullptr);
    constexpr int kDpi = 150;
    const QImage whole = renderPage(*pdf.document, {0, kDpi, {}});
    const QPointF marker(kA4Points.width() * kMarkerAt.x(), kA4Points.height() * kMarkerAt.y());
    const QRectF regions[] = {
        {marker - QPointF(30, 30), QSizeF(60, 60)},
        {QPointF(0.3, 0.7), QSizeF(101.1, 43.9)},
        {QPointF(500, 800), QSizeF(400, 400)}, // past the page's corner
    };
    for (const QRectF &region : regions) {
        SCOPED_TRACE(testing::Message() << region.x() << "," << region.y());
        const QRect pixels = regionPixels(kA4Points, region, kDpi);
        const QImage part = renderPage(*pdf.document, {0, kDpi, region});
        ASSERT_EQ(part.size(), pixels.size());
        const QImage expected = whole.copy(pixels);
        int largest = 0;
        for (int y = 0; y < part.height(); ++y) {
            for (int x = 0; x < part.width(); ++x) {
                const QRgb a = part.pixel(x, y);
                const QRgb b = expected.pixel(x, y);
                largest = std::max({largest, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                    std::abs(qBlue(a) - qBlue(b))});
            }
        }
        EXPECT_LE(largest, 2);
    }
    const QImage around = renderPage(*pdf.document, {0, kDpi, regions[0]});
    EXPECT_GT(qRed(at(around, marker, kDpi, regionPixels(kA4Points, regions[0], kDpi).topLeft())), 200);
}

TEST_F(PdfPages, PageAboveTheDecodeLimitIsDrawnAtTheLargestResolutionTheLoaderTakes)
{
    QImageReader::setAllocationLimit(8); // 1448 pixels square at most
    const OpenedPdf pdf = openPdf(writeChartPdf(path(u"büyük.pdf"_s), 1, {1000, 1000}));
    ASSERT_NE(pdf.document, nullptr);
    const PdfPageChoice choice{0, 300, {}};
    EXPECT_EQ(renderDpi(*pdf.document, choice), 104); // 1444 pixels; 105 dpi would be 1458
    const SavedPage saved = savePage(*pdf.document, path(u"büyük.pdf"_s), choice);
    ASSERT_TRUE(saved.error.isEmpty()) << saved.error.toStdString();
    const LoadedPicture loaded = loadPicture(saved.path, [](QSize natural) { return natural; });
    ASSERT_TRUE(loaded.ok()) << loaded.error.toStdString();
    EXPECT_EQ(loaded.naturalSize, QSize(1444, 1444));
    EXPECT_FALSE(fitsDecodeLimit(QSize(1458, 1458), pictureDecodeLimitMiB()));
    // A region of the same page keeps the resolution asked for.
    EXPECT_EQ(renderDpi(*pdf.document, {0, 300, QRectF(100, 100, 200, 200)}), 300);
}

TEST_F(PdfPages, SavedPagesTakeTheNextFreeNameAndLeaveOtherFilesAlone)
{
    const QString pdfPath = writeChartPdf(path(u"ölçüm raporu.pdf"_s), 2);
    const OpenedPdf pdf = openPdf(pdfPath);
    ASSERT_NE(pdf.document, nullptr);
    QFile old(path(u"ölçüm raporu-s2.png"_s));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("eski");
    old.close();
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"ölçüm raporu-s2-3.png"_s));

    const QRectF part(100, 100, 72, 36);
    const struct {
        PdfPageChoice choice;
        QString name;
        QSize size;
    } rows[] = {
        {{1, 72, {}}, u"ölçüm raporu-s2-2.png"_s, {595, 842}},
        {{1, 72, {}}, u"ölçüm raporu-s2-4.png"_s, {595, 842}},
        {{1, 144, part}, u"ölçüm raporu-s2-b1.png"_s, {144, 72}},
        {{1, 144, part}, u"ölçüm raporu-s2-b2.png"_s, {144, 72}},
        {{0, 72, {}}, u"ölçüm raporu-s1.png"_s, {595, 842}},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name.toStdString());
        const SavedPage saved = savePage(*pdf.document, pdfPath, r.choice);
        ASSERT_TRUE(saved.error.isEmpty()) << saved.error.toStdString();
        EXPECT_EQ(saved.path, path(r.name));
        const QImage written(saved.path, "png");
        EXPECT_EQ(written.size(), r.size);
    }
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "eski");
}

TEST_F(PdfPages, SavingWhereTheFolderHasGoneSaysSo)
{
    QTemporaryDir gone;
    const QString pdfPath = writeChartPdf(gone.filePath(u"makale.pdf"_s), 1);
    const OpenedPdf pdf = openPdf(pdfPath); // keeps the file open
    ASSERT_NE(pdf.document, nullptr);
    ASSERT_TRUE(gone.remove());
    const SavedPage saved = savePage(*pdf.document, pdfPath, {0, 72, {}});
    EXPECT_TRUE(saved.path.isEmpty());
    EXPECT_EQ(saved.error, u"Sayfanın resmi \"%1\" dosyasına kaydedilemedi."_s.arg(
                               QDir::toNativeSeparators(gone.filePath(u"makale-s1.png"_s))));
}
