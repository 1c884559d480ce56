// Any bytes as a chart picture, named .jpg and .bmp, loaded as the program loads it: the allocation limit raised
// once and the display fitted to a 1024 x 768 screen. No crash, and nothing decoded beyond the limit: run it
// with -malloc_limit_mb and -rss_limit_mb a little above 1024.
#include "fuzz_support.h"

#include "ui/twips.h"
#include "workspace/display_fit.h"
#include "workspace/picture_loader.h"

#include <QGuiApplication>

#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;

namespace {

constexpr float kScreenWidthPx = 1024;
constexpr float kScreenHeightPx = 768;
constexpr qint64 kAllocationLimitBytes = qint64(1024) * 1024 * 1024;

// What the main window asks for: the natural size, or the fitted drawing rectangle in pixels.
QSize displaySize(QSize natural)
{
    const DisplayFit fit = fitPicture(natural.width() * kTwipsPerPixel, natural.height() * kTwipsPerPixel,
                                      kScreenWidthPx, kScreenHeightPx);
    if (fit.natural())
        return natural;
    return {int(std::lround(fit.drawRect.width / kTwipsPerPixel)),
            int(std::lround(fit.drawRect.height / kTwipsPerPixel))};
}

void ignoreQtMessage(QtMsgType, const QMessageLogContext &, const QString &)
{}

void checkLoad(const QString &path)
{
    int asked = 0;
    QSize askedNatural;
    QSize answered;
    const LoadedPicture picture = loadPicture(path, [&](QSize natural) {
        ++asked;
        askedNatural = natural;
        answered = displaySize(natural);
        return answered;
    });
    require(asked <= 1, "the display size is asked once at most");
    if (!picture.ok()) {
        require(picture.image.isNull(), "a refused picture has no image");
        return;
    }
    require(asked == 1 && askedNatural == picture.naturalSize, "the display size is asked for the natural size");
    require(!picture.naturalSize.isEmpty(), "a loaded picture has a size");
    const QSize shown = answered.isEmpty() ? picture.naturalSize : answered;
    require(picture.image.size() == shown, "the image has the display size");
    require(picture.image.format() == QImage::Format_RGB32 ||
                picture.image.format() == QImage::Format_ARGB32_Premultiplied,
            "the image is in a format that paints without conversion");
    require(picture.image.sizeInBytes() <= kAllocationLimitBytes, "the image lies within the allocation limit");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    // The image-format plugins come with an application; Qt's own arguments are kept away from libFuzzer's.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(ignoreQtMessage); // broken files make the decoders talk on every run
    static int qtArgc = 1;
    static char *qtArgv[] = {(*argv)[0], nullptr};
    static QGuiApplication app(qtArgc, qtArgv);
    raisePictureAllocationLimit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString jpg = scratchFolder() + u"/grafik.jpg"_s;
    static const QString bmp = scratchFolder() + u"/grafik.bmp"_s;
    const QByteArrayView bytes(data, qsizetype(size));
    for (const QString &path : {jpg, bmp}) {
        writeFileBytes(path, bytes);
        checkLoad(path);
    }
    return 0;
}
