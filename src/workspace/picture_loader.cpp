#include "workspace/picture_loader.h"

#include "workspace/picture_names.h"

#include <QImageIOHandler>
#include <QImageReader>

using namespace Qt::StringLiterals;

namespace {

constexpr int kAllocationLimitMiB = 1024;
constexpr int kLargestSide = 65535;

bool absurd(QSize size)
{
    return size.width() > kLargestSide || size.height() > kLargestSide;
}

// Whether decoding a picture of this size would pass the reader's allocation limit (4 bytes a pixel).
bool exceedsAllocationLimit(QSize size)
{
    if (absurd(size))
        return true; // also keeps the product below from overflowing
    const qint64 limitMiB = QImageReader::allocationLimit();
    return limitMiB > 0 && qint64(size.width()) * size.height() * 4 > limitMiB * 1024 * 1024;
}

LoadedPicture failure(const QString &path, QSize naturalSize = {})
{
    LoadedPicture out;
    out.naturalSize = naturalSize;
    out.error = u"\"%1\" dosyası resim olarak okunamadı."_s.arg(pictureFileName(path));
    return out;
}

} // namespace

LoadedPicture loadPicture(const QString &path, const std::function<QSize(QSize naturalSize)> &displaySize)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true); // a PNG named .jpg is still a PNG
    reader.setAutoTransform(false);          // charts are shown as stored
    const QSize natural = reader.size();
    if (natural.isEmpty() || absurd(natural))
        return failure(path); // not worth laying out

    QSize wanted = displaySize(natural);
    if (wanted.isEmpty())
        wanted = natural;
    const bool rescale = wanted != natural;
    // JPEG decodes straight at the smaller size (DCT scaling), so only that size has to be allocated.
    const bool scaledRead = rescale && reader.supportsOption(QImageIOHandler::ScaledSize);
    if (exceedsAllocationLimit(scaledRead ? wanted : natural) || exceedsAllocationLimit(wanted))
        return failure(path, natural);

    if (scaledRead) {
        reader.setScaledSize(wanted);
        // The JPEG reader decodes accurately and finishes its scaling smoothly (so thin chart lines
        // survive) only at a high quality hint; that is its default today, but say so.
        reader.setQuality(100);
    }
    QImage image = reader.read();
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

void raisePictureAllocationLimit()
{
    QImageReader::setAllocationLimit(kAllocationLimitMiB);
}
