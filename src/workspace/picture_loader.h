#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

// What a load of a chart picture yields: the picture as it will be shown, and its natural size.
struct LoadedPicture {
    QImage image;      // natural size, or already reduced to the display size
    QSize naturalSize; // pixels
    QString error;     // a Turkish sentence naming the file when it could not be read; empty on success
    [[nodiscard]] bool ok() const { return error.isEmpty(); }
};

// Reads the picture header, asks `displaySize` which size to show it at (pass the natural size through
// for natural display), then decodes the file once, straight to that size. Pictures whose header claims
// more than the decode limit are refused without allocating them, and so are JPEG and BMP files whose data end
// before the picture does, whichever decoder reads them.
[[nodiscard]] LoadedPicture loadPicture(const QString &path,
                                        const std::function<QSize(QSize naturalSize)> &displaySize);

// The size to ask Qt's JPEG reader for when `natural` is to be shown at `wanted`. libjpeg-turbo reduces a
// picture in its inverse DCT by M/8, and the reader takes the smallest M that still gives the size asked for.
// M = 1, 2, 4 and 8 run vectorised and the others do not: a 12 MP scan decodes in about 50 ms at 3/8 and 40 ms
// at 4/8, and a 2 MP one in 17 ms at 6/8 against 12 ms whole and smoothly reduced. Where the reader would take
// 3/8, half the picture is asked for; where it would take 6/8 or 7/8 (or 5/8 below 8 MP), the whole picture.
// Smooth scaling finishes the job.
[[nodiscard]] QSize jpegReadSize(QSize natural, QSize wanted);

// The decode limit pictures are loaded under, in MiB (0: none): Qt's reader's allocation limit. Whatever the
// program makes to load later is held to it with fitsDecodeLimit().
[[nodiscard]] qint64 pictureDecodeLimitMiB();

// Qt refuses large pictures by default; chart scans are often large.
void raisePictureAllocationLimit();
