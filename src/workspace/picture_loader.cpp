#include "workspace/picture_loader.h"

#include "workspace/decode_limit.h"
#include "workspace/jpeg_halves.h"
#include "workspace/picture_completeness.h"
#include "workspace/picture_names.h"

#include <QBuffer>
#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int kAllocationLimitMiB = 1024;
constexpr qint64 kJpegInMemoryBytes = 64 * 1024 * 1024;

bool absurd(QSize size)
{
    return size.width() > kLargestPictureSide || size.height() > kLargestPictureSide;
}

bool exceedsAllocationLimit(QSize size, qint64 decoderBytes = 0)
{
    return !fitsDecodeLimit(size, pictureDecodeLimitMiB(), decoderBytes);
}

qint64 roundUp(qint64 n, qint64 multiple)
{
    return (n + multiple - 1) / multiple * multiple;
}

// The DCT coefficients of a whole frame, as libjpeg buffers them: 64 two-byte values a block, each component's
// blocks rounded up to whole sampling units. segment is the SOF's content; -1 when it is malformed.
qint64 coefficientBytes(const QByteArray &segment)
{
    if (segment.size() < 6)
        return -1;
    const qint64 height = uchar(segment[1]) << 8 | uchar(segment[2]);
    const qint64 width = uchar(segment[3]) << 8 | uchar(segment[4]);
    const int components = uchar(segment[5]);
    if (components == 0 || segment.size() < 6 + 3 * components)
        return -1;
    int maxH = 1;
    int maxV = 1;
    for (int i = 0; i < components; ++i) {
        maxH = std::max(maxH, uchar(segment[7 + 3 * i]) >> 4);
        maxV = std::max(maxV, uchar(segment[7 + 3 * i]) & 15);
    }
    qint64 bytes = 0;
    for (int i = 0; i < components; ++i) {
        const int h = uchar(segment[7 + 3 * i]) >> 4;
        const int v = uchar(segment[7 + 3 * i]) & 15;
        const qint64 blocksWide = roundUp((width * h + 8 * maxH - 1) / (8 * maxH), std::max(h, 1));
        const qint64 blocksHigh = roundUp((height * v + 8 * maxV - 1) / (8 * maxV), std::max(v, 1));
        bytes += blocksWide * blocksHigh * 128;
    }
    return bytes;
}

// What the JPEG decoder holds besides the image while it reads a reduced one. A single-scan sequential frame is
// decoded a band at a time; a progressive one, or one whose first scan leaves components out, is first read whole
// as coefficients, which a small file can claim by the gigabyte. -1 when the markers up to the first scan cannot
// be followed.
qint64 jpegDecoderBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    char c = 0;
    const auto next = [&] { return file.getChar(&c) ? int(uchar(c)) : -1; };
    if (next() != 0xFF || next() != 0xD8)
        return -1;
    qint64 frameBytes = -1;
    bool progressive = false;
    int components = 0;
    for (;;) {
        // Like libjpeg, step over stray bytes, fill bytes and stuffed zeros before a marker.
        int marker = 0;
        while (marker == 0) {
            int b = next();
            while (b >= 0 && b != 0xFF)
                b = next();
            while (b == 0xFF)
                b = next();
            if (b < 0)
                return -1;
            marker = b;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
            continue; // no length follows
        if (marker == 0xD9)
            return -1; // the picture ends before its first scan
        const int high = next();
        const int low = next();
        const int length = low < 0 ? -1 : high << 8 | low; // counting its own two bytes
        if (length < 2)
            return -1;
        const QByteArray segment = file.read(length - 2);
        if (segment.size() != length - 2)
            return -1;
        const bool frameStart = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frameStart && frameBytes < 0) {
            frameBytes = coefficientBytes(segment);
            progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
            components = segment.size() > 5 ? uchar(segment[5]) : 0;
        } else if (marker == 0xDA) {
            if (frameBytes < 0 || segment.isEmpty())
                return -1;
            return progressive || uchar(segment[0]) < components ? frameBytes : 0;
        }
    }
}

// libjpeg-turbo decodes the entropy-coded data on its quick path only while a whole row of blocks' worth of bytes
// is at hand. Qt's reader hands it 4 KiB at a time from a file but all of it from a QBuffer, which decodes a large
// JPEG up to a fifth sooner; the file is read whole for that (not mapped, so that a file cut short meanwhile
// cannot stop the program). Null for a file whose data end before the picture does.
QImage readJpeg(QImageReader &fileReader, const QString &path, QSize natural)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    if (file.size() > kJpegInMemoryBytes)
        return jpegReachesItsEnd(file) ? fileReader.read() : QImage();
    QByteArray bytes = file.readAll();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    if (!jpegReachesItsEnd(buffer))
        return {};
    // Both cores, where the file allows; the reduced size can be somewhat above the size asked for.
    const int eighths = jpegEighthsFor(natural, fileReader.scaledSize());
    if (!exceedsAllocationLimit(jpegReducedSize(natural, eighths))) {
        JpegDecode decoded = decodeJpegOnTwoThreads(bytes, eighths);
        if (!decoded.image.isNull() || decoded.endsEarly)
            return std::move(decoded.image);
    }
    buffer.seek(0);
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoTransform(fileReader.autoTransform());
    reader.setScaledSize(fileReader.scaledSize());
    reader.setQuality(fileReader.quality());
    return reader.read();
}

// Qt's reader shows a bitmap whose rows end early with the missing rows left blank.
bool bmpComplete(const QString &path, QSize decoded)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && bmpHoldsItsPixels(file, decoded);
}

LoadedPicture failure(const QString &path, QSize naturalSize = {})
{
    LoadedPicture out;
    out.naturalSize = naturalSize;
    out.error = u"\"%1\" dosyası resim olarak okunamadı."_s.arg(pictureFileName(path));
    return out;
}

} // namespace

QSize jpegReadSize(QSize natural, QSize wanted)
{
    if (wanted.isEmpty() || natural.isEmpty())
        return wanted;
    // The reader's own choice: the smallest M whose M/8 reduction is still at least the size asked for.
    const double f = std::min(double(natural.width()) / wanted.width(), double(natural.height()) / wanted.height());
    const int m = std::clamp(int(std::ceil(8 / f)), 1, 8);
    // Asking for exactly half the picture makes M = 4 and leaves the reader no scaling of its own.
    if (m == 3 && natural.width() % 2 == 0 && natural.height() % 2 == 0)
        return natural / 2;
    // At 6/8 and 7/8, and at 5/8 for a picture of a few megapixels, the whole picture decodes sooner; it is at
    // most twice the display size across, so its memory is no concern.
    constexpr qint64 kWholeAtFiveEighthsPixels = 8'000'000;
    if (m == 6 || m == 7 || (m == 5 && qint64(natural.width()) * natural.height() <= kWholeAtFiveEighthsPixels))
        return natural;
    return wanted;
}

LoadedPicture loadPicture(const QString &path, const std::function<QSize(QSize naturalSize)> &displaySize)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true); // a PNG named .jpg is still a PNG
    reader.setAutoTransform(false);          // charts are shown as stored
    const QByteArray format = reader.format();
    const bool jpeg = format == "jpeg";
    const bool bmp = format == "bmp";
    QSize natural = reader.size();
    // A bitmap stored top row first gives its height as negative, and Qt's reader reads it the right way up.
    if (bmp && natural.height() < 0 && natural.height() >= -kLargestPictureSide)
        natural.setHeight(-natural.height());
    if (natural.isEmpty() || absurd(natural))
        return failure(path); // not worth laying out

    QSize wanted = displaySize(natural);
    if (wanted.isEmpty())
        wanted = natural;
    const bool rescale = wanted != natural;
    // JPEG decodes straight at the smaller size (DCT scaling), so only that size has to be allocated, with what
    // the decoder keeps of the whole picture; where that is not known, count the whole picture.
    const bool scaledRead = rescale && reader.supportsOption(QImageIOHandler::ScaledSize);
    const QSize readSize = scaledRead && jpeg ? jpegReadSize(natural, wanted) : wanted;
    const qint64 decoderBytes = scaledRead && jpeg ? jpegDecoderBytes(path) : 0;
    const bool countRead = scaledRead && decoderBytes >= 0;
    if (exceedsAllocationLimit(countRead ? readSize : natural, std::max<qint64>(decoderBytes, 0)) ||
        exceedsAllocationLimit(wanted))
        return failure(path, natural);

    if (scaledRead) {
        reader.setScaledSize(readSize);
        // The JPEG reader decodes accurately and finishes its scaling smoothly (so thin chart lines
        // survive) only at a high quality hint; that is its default today, but say so.
        reader.setQuality(100);
    }
    if (bmp && !bmpComplete(path, natural))
        return failure(path, natural);
    QImage image = jpeg ? readJpeg(reader, path, natural) : reader.read();
    if (image.isNull())
        return failure(path, natural);
    if (rescale && image.size() != wanted) {
        // Area averaging keeps thin chart lines visible; the full-size picture is released at once.
        image = image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }

    const QImage::Format cheap = image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (image.format() != cheap)
        image.convertTo(cheap);

    LoadedPicture out;
    out.image = std::move(image);
    out.naturalSize = natural;
    return out;
}

qint64 pictureDecodeLimitMiB()
{
    return QImageReader::allocationLimit();
}

void raisePictureAllocationLimit()
{
    QImageReader::setAllocationLimit(kAllocationLimitMiB);
}
