#include "workspace/bmp_reader.h"
#include "workspace/picture_loader.h"

#include <QDataStream>
#include <QFile>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct BmpShape {
    int width = 5;
    int height = 3;
    int bits = 24;
    quint32 headerBytes = 40;
    int gap = 0;             // bytes between the headers and the pixels
    qint32 storedHeight = 0; // 0: the height itself
    quint16 planes = 1;
    quint32 compression = 0;
    quint32 v5Reserved = 0;
    int cutShort = 0; // bytes missing from the end of the pixels
};

// A bitmap file as paint programs write it, with pseudo-random pixels; the fourth byte of a 32-bit pixel is set,
// and readers must ignore it.
QByteArray bmpFile(const BmpShape &shape)
{
    const qint64 rowBytes = (qint64(shape.width) * shape.bits + 31) / 32 * 4;
    const quint32 offset = 14 + shape.headerBytes + shape.gap;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("BM", 2);
    out << quint32(offset + rowBytes * shape.height) << quint32(0) << offset;
    out << shape.headerBytes << qint32(shape.width) << (shape.storedHeight ? shape.storedHeight : shape.height)
        << shape.planes << quint16(shape.bits) << shape.compression << quint32(0) << qint32(2835) << qint32(2835)
        << quint32(0) << quint32(0);
    for (quint32 i = 40; i + 4 < shape.headerBytes; i += 4)
        out << quint32(0);
    if (shape.headerBytes >= 44)
        out << shape.v5Reserved;
    for (int i = 0; i < shape.gap; ++i)
        out << quint8(0xAB);
    QRandomGenerator noise(shape.width * 131 + shape.bits);
    for (qint64 i = 0; i < rowBytes * shape.height; ++i)
        out << quint8(noise.bounded(256));
    bytes.chop(shape.cutShort);
    return bytes;
}

class PlainBmp : public ::testing::Test {
protected:
    QString write(const BmpShape &shape)
    {
        const QString path = m_dir.filePath(u"çizelge %1.bmp"_s.arg(++m_files));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bmpFile(shape));
        return path;
    }

private:
    QTemporaryDir m_dir;
    int m_files = 0;
};

TEST_F(PlainBmp, ReadsTheSamePixelsAsQtsReader)
{
    const BmpShape shapes[] = {
        {.width = 5, .height = 3}, // rows padded by one byte
        {.width = 6, .height = 4}, // by two
        {.width = 7, .height = 2}, // by three
        {.width = 4, .height = 5}, // not at all
        {.width = 1, .height = 1},
        {.width = 333, .height = 1000}, // more rows than one read holds
        {.width = 5, .height = 3, .bits = 32},
        {.width = 5, .height = 3, .headerBytes = 108},
        {.width = 5, .height = 3, .headerBytes = 124},
        {.width = 5, .height = 3, .bits = 32, .headerBytes = 124, .gap = 10},
        {.width = 5, .height = 3, .storedHeight = -3}, // top row first
    };
    for (const BmpShape &shape : shapes) {
        SCOPED_TRACE(testing::Message() << shape.width << "x" << shape.height << ", " << shape.bits << " bits, "
                                        << shape.headerBytes << "-byte header, gap " << shape.gap);
        const QString path = write(shape);
        const QImage ours = readPlainBmp(path);
        const QImage qts = QImageReader(path).read();
        ASSERT_FALSE(qts.isNull());
        ASSERT_EQ(ours.size(), qts.size());
        EXPECT_EQ(ours.format(), QImage::Format_RGB32);
        int differing = 0;
        for (int y = 0; y < qts.height(); ++y)
            for (int x = 0; x < qts.width(); ++x)
                differing += ours.pixel(x, y) != qts.pixel(x, y);
        EXPECT_EQ(differing, 0);
    }
}

TEST_F(PlainBmp, LeavesEveryOtherKindToQt)
{
    const std::pair<const char *, BmpShape> others[] = {
        {"pixels cut short", {.cutShort = 1}},
        {"bit fields", {.bits = 32, .compression = 3}},
        {"run-length coded", {.bits = 8, .compression = 1}},
        {"palette", {.bits = 8}},
        {"16 bits", {.bits = 16}},
        {"an absurd height", {.storedHeight = qint32(0x80000000)}},
        {"two planes", {.planes = 2}},
        {"old OS/2 header", {.headerBytes = 64}},
        {"version 5 header with its reserved field set", {.headerBytes = 124, .v5Reserved = 1}},
        {"pixels starting inside the header", {.gap = -4}},
    };
    for (const auto &[what, shape] : others) {
        SCOPED_TRACE(what);
        EXPECT_TRUE(readPlainBmp(write(shape)).isNull());
    }
    QTemporaryDir dir;
    QFile notBmp(dir.filePath(u"resim.bmp"_s));
    ASSERT_TRUE(notBmp.open(QIODevice::WriteOnly));
    notBmp.write("BN" + bmpFile({}).mid(2));
    notBmp.close();
    EXPECT_TRUE(readPlainBmp(notBmp.fileName()).isNull());
    EXPECT_TRUE(readPlainBmp(dir.filePath(u"yok.bmp"_s)).isNull());
}

TEST_F(PlainBmp, TopRowFirstBitmapLoadsTheRightWayUp)
{
    // The same stored rows, read bottom row first and top row first: the one picture upside down.
    for (const int bits : {24, 32, 16}) {
        SCOPED_TRACE(bits);
        const auto natural = [](QSize size) { return size; };
        const LoadedPicture bottomUp = loadPicture(write({.width = 6, .height = 4, .bits = bits}), natural);
        const LoadedPicture topDown =
            loadPicture(write({.width = 6, .height = 4, .bits = bits, .storedHeight = -4}), natural);
        ASSERT_TRUE(bottomUp.ok());
        ASSERT_TRUE(topDown.ok()) << topDown.error.toStdString();
        EXPECT_EQ(topDown.naturalSize, QSize(6, 4));
        EXPECT_EQ(topDown.image, bottomUp.image.mirrored(false, true));
    }
}

} // namespace
