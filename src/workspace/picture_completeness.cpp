#include "workspace/picture_completeness.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace {

constexpr qint64 kChunk = 64 * 1024;

int nextByte(QIODevice &in)
{
    char c = 0;
    return in.getChar(&c) ? int(uchar(c)) : -1;
}

// Steps to the next marker as libjpeg does: over stray bytes, fill bytes, stuffed zeros and, inside entropy-coded
// data, restart markers. Returns the marker, or -1 at the end of the file. Large scans are searched a chunk at a
// time; what follows the marker is given back to the device.
int nextMarker(QIODevice &in)
{
    std::array<char, kChunk> buffer;
    bool afterFF = false;
    for (;;) {
        const qint64 n = in.read(buffer.data(), kChunk);
        if (n <= 0)
            return -1;
        const char *p = buffer.data();
        const char *end = p + n;
        while (p < end) {
            if (!afterFF) {
                p = static_cast<const char *>(std::memchr(p, 0xFF, std::size_t(end - p)));
                if (!p)
                    break;
                ++p;
                afterFF = true;
                continue;
            }
            const int b = uchar(*p++);
            if (b == 0xFF)
                continue;
            afterFF = false;
            if (b == 0x00 || (b >= 0xD0 && b <= 0xD7))
                continue;
            if (!in.seek(in.pos() - (end - p)))
                return -1;
            return b;
        }
    }
}

} // namespace

bool jpegReachesItsEnd(QIODevice &in)
{
    if (nextByte(in) != 0xFF || nextByte(in) != 0xD8)
        return false;
    for (;;) {
        const int marker = nextMarker(in);
        if (marker < 0)
            return false;
        if (marker == 0xD9)
            return true;
        if (marker == 0x01 || marker == 0xD8)
            continue; // no length follows
        const int high = nextByte(in);
        const int low = nextByte(in);
        const int length = low < 0 ? -1 : high << 8 | low; // counting its own two bytes
        if (length < 2 || in.skip(length - 2) != length - 2)
            return false;
        // After a scan header comes its entropy-coded data, which the next marker ends.
    }
}

bool bmpHoldsItsPixels(QIODevice &in, QSize decoded)
{
    const qint64 start = in.pos();
    std::array<char, 38> header{};
    const qint64 got = in.read(header.data(), qint64(header.size()));
    if (got < 26 || header[0] != 'B' || header[1] != 'M')
        return true;
    const auto u16 = [&](int at) { return qint64(qFromLittleEndian<quint16>(header.data() + at)); };
    const auto u32 = [&](int at) { return qint64(qFromLittleEndian<quint32>(header.data() + at)); };
    const qint64 offset = u32(10);
    const qint64 infoBytes = u32(14);
    qint64 width = 0;
    qint64 height = 0;
    qint64 bits = 0;
    qint64 compression = 0;
    qint64 imageBytes = 0;
    if (infoBytes == 12) { // the oldest header: 16-bit sizes, no compression
        width = u16(18);
        height = u16(20);
        bits = u16(24);
    } else if (infoBytes >= 16 && got == qint64(header.size())) {
        width = qFromLittleEndian<qint32>(header.data() + 18);
        height = std::abs(qint64(qFromLittleEndian<qint32>(header.data() + 22)));
        bits = u16(28);
        compression = u32(30);
        imageBytes = infoBytes >= 40 ? u32(34) : 0;
    } else {
        return false; // a header of no known kind, or cut short, that still holds a size
    }
    if (QSize(int(std::clamp<qint64>(width, -1, 1 << 30)), int(std::min<qint64>(height, 1 << 30))) != decoded)
        return false;
    constexpr qint64 kLargestSide = 65535; // larger pictures are refused before their data matter
    if (width <= 0 || width > kLargestSide || height > kLargestSide || bits <= 0 || bits > 64)
        return true;
    const bool rows = compression == 0 || compression == 3 || compression == 6; // plain or bit fields
    const qint64 pixelBytes = rows ? (width * bits + 31) / 32 * 4 * height : imageBytes;
    const qint64 pixelsStart = std::max(offset, 14 + infoBytes);
    return in.size() - start >= pixelsStart + pixelBytes;
}
