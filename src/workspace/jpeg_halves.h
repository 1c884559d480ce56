#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// The smallest reduction M/8 (M = 1..8) at which a JPEG of `natural` size is still at least `wanted`; 8 when
// `wanted` is not smaller.
[[nodiscard]] int jpegEighthsFor(QSize natural, QSize wanted);
// The size of a JPEG of `natural` size decoded at `eighths`/8, as libjpeg rounds it.
[[nodiscard]] QSize jpegReducedSize(QSize natural, int eighths);

struct JpegDecode {
    QImage image;           // null when the file is left to Qt's reader, or refused
    bool endsEarly = false; // libjpeg ran out of data before the last row: the picture is not all there
};

// Decodes a sequential JPEG held in memory at M/8 of its size, as Qt's reader does at its highest quality
// (accurate DCT, smooth chroma upsampling), on two threads: one decodes the top rows, the other skips them
// (entropy decoding only, which cannot be split) and decodes the rest. The image is null, to leave the file to
// Qt's reader, for a progressive or CMYK JPEG, for one libjpeg warns about (stray bytes and the like) and when a
// thread cannot start; it is null with `endsEarly` when the data end before the picture does.
[[nodiscard]] JpegDecode decodeJpegOnTwoThreads(const QByteArray &bytes, int eighths);
