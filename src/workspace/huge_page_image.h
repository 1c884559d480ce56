#pragma once

#include <QImage>
#include <QSize>

// An image whose pixels lie in 2 MiB pages where the system grants them. Repainting a thin upright strip of a
// chart reads one row per 4 KiB page, and the address translations, not the pixels, are then most of the cost;
// with large pages a strip as tall as the screen touches a handful. Null when memory is short.
[[nodiscard]] QImage hugePageImage(QSize size, QImage::Format format);
