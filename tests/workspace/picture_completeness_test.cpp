#include "workspace/picture_completeness.h"

#include <QBuffer>
#include <QDataStream>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

// Noise, so that the scan data is most of the file and runs over several of the checker's 64 KiB chunks.
QImage noise(QSize size, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000);
    return image.convertToFormat(format);
}

QByteArray encoded(const QImage &image, const char *format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(95);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image));
    return bytes;
}

template <typename Check> bool check(Check isWhole, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return isWhole(buffer);
}

qint32 littleEndianAt(const QByteArray &bytes, int at)
{
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::LittleEndian);
    in.skipRawData(at);
    qint32 value = 0;
    in >> value;
    return value;
}

// The same bitmap stored top row first: the height negated, the rows in the other order.
QByteArray topRowFirst(const QByteArray &bmp, int rows)
{
    const qint32 offset = littleEndianAt(bmp, 10);
    const qsizetype rowBytes = (bmp.size() - offset) / rows;
    QByteArray height;
    QDataStream out(&height, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << -littleEndianAt(bmp, 22);
    QByteArray flipped = bmp.first(offset).replace(22, 4, height);
    for (int r = rows - 1; r >= 0; --r)
        flipped += bmp.mid(offset + r * rowBytes, rowBytes);
    return flipped;
}

} // namespace

TEST(PictureCompleteness, JpegIsWholeOnlyThroughItsEndMarker)
{
    const QByteArray jpeg = encoded(noise({600, 400}), "jpeg");
    const QByteArray progressive = encoded(noise({600, 400}), "jpeg", true);
    ASSERT_GT(jpeg.size(), 3 * 64 * 1024);
    const qsizetype scan = jpeg.indexOf("\xFF\xDA");
    ASSERT_GT(scan, 0);
    QByteArray stray = jpeg;
    stray.insert(scan, "\x12\x34\x56");
    // An application segment holding an end marker of its own, as a thumbnail does.
    QByteArray thumbnail = jpeg;
    thumbnail.insert(2, QByteArray("\xFF\xE1\x00\x06\xFF\xD9\xFF\xD9", 8));

    struct Row {
        const char *what;
        QByteArray bytes;
        bool whole;
    };
    const Row rows[] = {
        {"baseline", jpeg, true},
        {"progressive", progressive, true},
        {"bytes after the end", jpeg + QByteArray(5000, '\xFF') + "EXTRA", true},
        {"stray bytes before a marker", stray, true},
        {"end markers inside a segment", thumbnail, true},
        {"end markers inside a segment, cut", thumbnail.first(thumbnail.size() / 2), false},
        {"cut in the header", jpeg.first(scan / 2), false},
        {"cut after the scan header", jpeg.first(scan + 20), false},
        {"cut in the first rows", jpeg.first(scan + 2000), false},
        {"cut halfway", jpeg.first(jpeg.size() / 2), false},
        {"cut one chunk in", jpeg.first(64 * 1024 + 1), false},
        {"without its end marker", jpeg.first(jpeg.size() - 2), false},
        {"cut in its end marker", jpeg.first(jpeg.size() - 1), false},
        {"progressive, cut between scans", progressive.first(progressive.lastIndexOf("\xFF\xDA")), false},
        {"progressive, cut near the end", progressive.first(progressive.size() - 100), false},
        {"empty", {}, false},
        {"not a JPEG", "BM not a JPEG", false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(check(jpegReachesItsEnd, row.bytes), row.whole);
    }
}

TEST(PictureCompleteness, BmpHoldsTheRowsItsHeaderPromises)
{
    const QByteArray rgb = encoded(noise({33, 20}), "bmp"); // rows padded to whole words
    const QByteArray indexed = encoded(noise({30, 20}, QImage::Format_Indexed8), "bmp");
    const QByteArray topDown = topRowFirst(rgb, 20);

    // A header of no known kind that Qt's reader reads as the oldest one: 71 bytes for 29188 x 8448 pixels.
    const QByteArray unknownHeader = QByteArray::fromBase64(
        "Qk2cAAAAAAAAADwAAAYAYAAABHIA3wEAIAAAAAAAKAAAAAYAYAAABHIA/wEAIAAAAAAAaWj3AGj3APWwKx0AAAAAAAAAPcY=");

    struct Row {
        const char *what;
        QByteArray bytes;
        QSize decoded; // as the reader reports it
        bool whole;
    };
    const QSize rgbSize(33, 20);
    const Row rows[] = {
        {"24 bits", rgb, rgbSize, true},
        {"bytes after the pixels", rgb + "EXTRA", rgbSize, true},
        {"palette", indexed, {30, 20}, true},
        {"top row first", topDown, rgbSize, true},
        {"cut in the first rows", rgb.first(rgb.size() / 10), rgbSize, false},
        {"cut halfway", rgb.first(rgb.size() / 2), rgbSize, false},
        {"one byte short", rgb.first(rgb.size() - 1), rgbSize, false},
        {"palette, one byte short", indexed.first(indexed.size() - 1), {30, 20}, false},
        {"top row first, cut", topDown.first(topDown.size() - 100), rgbSize, false},
        {"cut in the header after its size", rgb.first(30), rgbSize, false},
        {"a header of no known kind", unknownHeader, {29188, 8448}, false},
        {"another size than the reader's", rgb, {33, 21}, false},
        // What the reader refuses by itself is left to it.
        {"cut in the header", rgb.first(20), rgbSize, true},
        {"not a BMP", "GIF89a", rgbSize, true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        QByteArray bytes = row.bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        EXPECT_EQ(bmpHoldsItsPixels(buffer, row.decoded), row.whole);
    }
}
