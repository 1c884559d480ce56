#include "workspace/jpeg_halves.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

// A chart-like picture with grain, lines and colour, so that every reduction has detail to lose.
QImage sample(QSize size, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator noise(size.width() * 31 + size.height());
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb(200 + noise.bounded(50), 180 + noise.bounded(70), 220 + noise.bounded(30));
    }
    QPainter painter(&image);
    painter.setPen(QPen(Qt::darkBlue, 1));
    for (int x = 0; x < size.width(); x += 13)
        painter.drawLine(x, 0, size.width() - x, size.height() - 1);
    painter.setPen(QPen(Qt::red, 2));
    painter.drawEllipse(QRect(QPoint(), size).adjusted(3, 3, -3, -3));
    painter.end();
    return image.convertToFormat(format);
}

QByteArray encoded(const QImage &image, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(85);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image));
    return bytes;
}

QImage qtRead(const QByteArray &bytes, QSize scaledSize)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    reader.setScaledSize(scaledSize);
    reader.setQuality(100);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(JpegOnTwoThreads, DecodesTheSamePixelsAsQtsReaderAtEveryReduction)
{
    struct Case {
        QSize size;
        QImage::Format format;
        int fewestEighths; // Qt's reader scales on its own below a whole pixel per eighth
    };
    // Sides of whole blocks but not whole 16-pixel units leave half a unit at the right and bottom; odd sides
    // leave partial blocks; grey pictures have one component.
    const Case cases[] = {{{320, 240}, QImage::Format_RGB32, 1}, {{328, 216}, QImage::Format_RGB32, 1},
                          {{1000, 40}, QImage::Format_RGB32, 1}, {{136, 408}, QImage::Format_Grayscale8, 1},
                          {{333, 217}, QImage::Format_RGB32, 8}, {{129, 401}, QImage::Format_Grayscale8, 8}};
    for (const Case &c : cases) {
        const QByteArray bytes = encoded(sample(c.size, c.format));
        for (int eighths = c.fewestEighths; eighths <= 8; ++eighths) {
            const QImage ours = decodeJpegOnTwoThreads(bytes, eighths).image;
            const QSize reduced = jpegReducedSize(c.size, eighths);
            ASSERT_EQ(ours.size(), reduced) << c.size.width() << "x" << c.size.height() << " at " << eighths;
            EXPECT_EQ(ours.format(), QImage::Format_RGB32);
            EXPECT_TRUE(ours == qtRead(bytes, reduced))
                << c.size.width() << "x" << c.size.height() << " at " << eighths << "/8";
        }
    }
}

TEST(JpegOnTwoThreads, LeavesProgressiveDamagedAndForeignFilesToQtAndRefusesDataThatEndEarly)
{
    const QImage picture = sample({200, 150});
    const QByteArray whole = encoded(picture);
    const qsizetype scan = whole.indexOf("\xFF\xDA");
    ASSERT_GT(scan, 0);
    QByteArray flipped = whole;
    for (qsizetype i = whole.size() / 3; i < whole.size() / 3 + 64; ++i)
        flipped[i] = char(~flipped[i]); // damaged entropy-coded data, which libjpeg may take without a warning
    QByteArray stray = whole;
    stray.insert(scan, "\x12\x34\x56"); // three bytes before the scan's marker

    struct Row {
        const char *what;
        QByteArray bytes;
        bool endsEarly;
    };
    const Row rows[] = {
        {"progressive", encoded(picture, true), false},
        {"stray bytes before a marker", stray, false},
        {"not a picture", "not a picture at all", false},
        {"empty", {}, false},
        {"cut in the first rows", whole.first(scan + 120), true},
        {"cut halfway", whole.first(whole.size() / 2), true},
        {"cut near the end", whole.first(whole.size() - 40), true},
        {"end marker right after the first rows", whole.first(scan + 120) + "\xFF\xD9", true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        const JpegDecode decoded = decodeJpegOnTwoThreads(row.bytes, 8);
        EXPECT_TRUE(decoded.image.isNull());
        EXPECT_EQ(decoded.endsEarly, row.endsEarly);
    }
    const JpegDecode damaged = decodeJpegOnTwoThreads(flipped, 8);
    EXPECT_TRUE(damaged.image.isNull() || damaged.image == qtRead(flipped, picture.size())); // then as Qt shows it
}

TEST(JpegOnTwoThreads, ReductionIsTheSmallestThatKeepsTheSizeAskedFor)
{
    EXPECT_EQ(jpegEighthsFor({4000, 3000}, {700, 524}), 2);    // 1000 x 750
    EXPECT_EQ(jpegEighthsFor({4000, 3000}, {1000, 750}), 2);   // exactly 2/8
    EXPECT_EQ(jpegEighthsFor({4000, 3000}, {1001, 750}), 3);   // a pixel more
    EXPECT_EQ(jpegEighthsFor({8000, 6000}, {700, 524}), 1);    // 1000 x 750
    EXPECT_EQ(jpegEighthsFor({1600, 1200}, {1600, 1200}), 8);  // natural
    EXPECT_EQ(jpegEighthsFor({1600, 1200}, {}), 8);            // no size asked for
    EXPECT_EQ(jpegReducedSize({333, 217}, 3), QSize(125, 82)); // rounded up, as libjpeg does
}
