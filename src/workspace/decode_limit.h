#pragma once

#include <QSize>
#include <QtGlobal>

// A side longer than this is taken for a damaged header and never allocated.
inline constexpr int kLargestPictureSide = 65535;

// Whether the picture loader decodes a picture of `size` (4 bytes a pixel), with `decoderBytes` the decoder holds
// besides, under a limit of `limitMiB` (0 or less: none). A side beyond kLargestPictureSide never fits.
[[nodiscard]] bool fitsDecodeLimit(QSize size, qint64 limitMiB, qint64 decoderBytes = 0);
