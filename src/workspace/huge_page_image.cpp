#include "workspace/huge_page_image.h"

#include <cstdlib>
#include <limits>

#if defined(__linux__)
#include <sys/mman.h>
#endif

QImage hugePageImage(QSize size, QImage::Format format)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::size_t kPage = std::size_t(2) << 20;
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (size.isEmpty() || depth % 8 != 0)
        return QImage(size, format);
    const std::size_t bytesPerLine = (std::size_t(size.width()) * (depth / 8) + 3) & ~std::size_t(3);
    const std::size_t bytes = bytesPerLine * std::size_t(size.height());
    if (bytes < kPage || bytesPerLine > std::size_t(std::numeric_limits<qsizetype>::max()))
        return QImage(size, format);
    const std::size_t rounded = (bytes + kPage - 1) / kPage * kPage;
    void *memory = std::aligned_alloc(kPage, rounded);
    if (!memory)
        return QImage(size, format);
    madvise(memory, rounded, MADV_HUGEPAGE); // only advice: without large pages the image works the same
    return QImage(
        static_cast<uchar *>(memory), size.width(), size.height(), qsizetype(bytesPerLine), format,
        [](void *pixels) { std::free(pixels); }, memory);
#else
    return QImage(size, format);
#endif
}
