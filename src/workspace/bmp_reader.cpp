#include "workspace/bmp_reader.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40; // BITMAPINFOHEADER; version 4 and 5 headers extend it to 108 and 124
constexpr int kLargestHeaderBytes = 124;
constexpr qint64 kChunkBytes = 256 * 1024; // rows are read a cache-sized chunk at a time

quint32 u32(const uchar *p)
{
    return qFromLittleEndian<quint32>(p);
}

quint16 u16(const uchar *p)
{
    return quint16(p[0] | p[1] << 8);
}

struct PlainLayout {
    int width = 0;
    int height = 0;
    bool topRowFirst = false; // stored so when the header gives the height as negative
    int bytesPerPixel = 0;
    qint64 dataStart = 0;
    qint64 rowBytes = 0; // each stored row is padded to four bytes
};

// The layout of an uncompressed 24- or 32-bit BMP as Qt's reader would read it; bytesPerPixel is 0
// for anything else, which is left to that reader.
PlainLayout plainLayout(const uchar *header, qint64 size)
{
    PlainLayout none;
    if (size < kFileHeaderBytes + kInfoHeaderBytes || header[0] != 'B' || header[1] != 'M')
        return none;
    const uchar *info = header + kFileHeaderBytes;
    const quint32 infoBytes = u32(info);
    if (infoBytes != 40 && infoBytes != 108 && infoBytes != 124)
        return none;
    if (size < kFileHeaderBytes + qint64(infoBytes))
        return none;
    if (infoBytes == 124 && u32(info + 120) != 0)
        return none; // Qt refuses a version 5 header whose reserved field is set
    const qint32 width = qint32(u32(info + 4));
    const qint32 height = qint32(u32(info + 8));
    const int bits = u16(info + 14);
    constexpr qint32 kLargestSide = 65535; // also keeps the height's negation in range
    if (width <= 0 || height == 0 || height < -kLargestSide || u16(info + 12) != 1 || u32(info + 16) != 0 ||
        (bits != 24 && bits != 32))
        return none;
    const quint32 offset = u32(header + 10);
    if (offset < quint32(kFileHeaderBytes) + infoBytes || offset > quint32(INT_MAX))
        return none; // pixels that overlap the header: Qt's own reading of that is kept
    PlainLayout out;
    out.width = width;
    out.height = std::abs(height);
    out.topRowFirst = height < 0;
    out.bytesPerPixel = bits / 8;
    out.dataStart = offset;
    out.rowBytes = (qint64(width) * bits + 31) / 32 * 4;
    return out;
}

void convertRow(const uchar *from, QRgb *to, int width, int bytesPerPixel)
{
    // Stored blue, green, red (and an unused byte): the bytes of an RGB32 pixel, with the alpha made opaque.
    if (bytesPerPixel == 4) {
        for (int x = 0; x < width; ++x)
            to[x] = 0xff000000u | u32(from + 4 * x);
        return;
    }
    // Four pixels are twelve bytes, three little-endian words.
    int x = 0;
    for (; x + 4 <= width; x += 4, from += 12) {
        const quint32 a = u32(from);
        const quint32 b = u32(from + 4);
        const quint32 c = u32(from + 8);
        to[x] = 0xff000000u | a;
        to[x + 1] = 0xff000000u | a >> 24 | b << 8;
        to[x + 2] = 0xff000000u | b >> 16 | c << 16;
        to[x + 3] = 0xff000000u | c >> 8;
    }
    for (; x < width; ++x, from += 3)
        to[x] = 0xff000000u | quint32(from[0]) | quint32(from[1]) << 8 | quint32(from[2]) << 16;
}

} // namespace

QImage readPlainBmp(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    uchar header[kFileHeaderBytes + kLargestHeaderBytes];
    const qint64 headerBytes = file.read(reinterpret_cast<char *>(header), sizeof header);
    const PlainLayout layout = plainLayout(header, headerBytes);
    if (layout.bytesPerPixel == 0 || layout.dataStart + layout.rowBytes * layout.height > file.size())
        return {};
    QImage image(layout.width, layout.height, QImage::Format_RGB32);
    if (image.isNull() || !file.seek(layout.dataStart))
        return {};

    const int chunkRows = int(std::clamp<qint64>(kChunkBytes / layout.rowBytes, 1, layout.height));
    QByteArray chunk(qsizetype(chunkRows * layout.rowBytes), Qt::Uninitialized);
    for (int stored = 0; stored < layout.height; stored += chunkRows) {
        const int rows = std::min(chunkRows, layout.height - stored);
        if (file.read(chunk.data(), rows * layout.rowBytes) != rows * layout.rowBytes)
            return {};
        const auto *bytes = reinterpret_cast<const uchar *>(chunk.constData());
        for (int r = 0; r < rows; ++r) {
            const int y = layout.topRowFirst ? stored + r : layout.height - 1 - (stored + r);
            convertRow(bytes + r * layout.rowBytes, reinterpret_cast<QRgb *>(image.scanLine(y)), layout.width,
                       layout.bytesPerPixel);
        }
    }
    return image;
}
