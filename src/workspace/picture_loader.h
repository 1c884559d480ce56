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
// more than the decode limit are refused without allocating them.
[[nodiscard]] LoadedPicture loadPicture(const QString &path,
                                        const std::function<QSize(QSize naturalSize)> &displaySize);

// Qt refuses large pictures by default; chart scans are often large.
void raisePictureAllocationLimit();
