#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// The smallest reduction M/8 (M = 1..8) at which a JPEG of `natural` size is still at least `wanted`; 8 when
// `wanted` is not smaller.
[[nodiscard]] int jpegEighthsFor(QSize natural, QSize wanted);
// The size of a JPEG of `natural` size decoded at `eighths`/8, as libjpeg rounds it.
[[nodiscard]] QSize jpegReducedSize(QSize natural, int eighths);

// Decodes a sequential JPEG held in memory at M/8 of its size, as Qt's reader does at its highest quality
// (accurate DCT, smooth chroma upsampling), on two threads: one decodes the top rows, the other skips them
// (entropy decoding only, which cannot be split) and decodes the rest. Null, to leave the file to Qt's reader,
// for a progressive or CMYK JPEG, for one libjpeg warns about (damaged data) and when a thread cannot start.
[[nodiscard]] QImage decodeJpegOnTwoThreads(const QByteArray &bytes, int eighths);
