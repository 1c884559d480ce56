#include "workspace/decode_limit.h"

bool fitsDecodeLimit(QSize size, qint64 limitMiB, qint64 decoderBytes)
{
    if (size.width() > kLargestPictureSide || size.height() > kLargestPictureSide)
        return false; // also keeps the product below from overflowing
    return limitMiB <= 0 || qint64(size.width()) * size.height() * 4 + decoderBytes <= limitMiB * 1024 * 1024;
}
