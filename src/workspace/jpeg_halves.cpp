#include "workspace/jpeg_halves.h"

#include <algorithm>
#include <atomic>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <system_error>
#include <thread>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace {

// Four bytes per pixel in the order of QImage::Format_RGB32, with an opaque alpha byte.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE kRgb32 = JCS_EXT_BGRA;
#else
constexpr J_COLOR_SPACE kRgb32 = JCS_EXT_ARGB;
#endif

struct ErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    bool endsEarly = false; // the data ran out before the rows asked for
};

[[noreturn]] void leave(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

// Counts warnings, and tells the two that mean the data ended before the picture did from those about stray bytes
// and the like, which pictures that show correctly often have.
void noteWarning(j_common_ptr info, int level)
{
    if (level >= 0)
        return; // a trace message
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    ++errors->manager.num_warnings;
    const int code = errors->manager.msg_code;
    if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)
        errors->endsEarly = true;
}

// What one thread decodes: rows [first, end) of the output, into `pixels`.
struct Band {
    const QByteArray *bytes = nullptr;
    int eighths = 8;
    int first = 0;
    int end = 0;
    uchar *pixels = nullptr;
    qsizetype stride = 0;
    QSize size;
    std::atomic<bool> *endsEarly = nullptr; // set by either thread; both then stop
};

// Errors jump back to the caller's setjmp instead of ending the program; warnings are only counted.
void takeErrors(jpeg_decompress_struct &info, ErrorManager &errors)
{
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = leave;
    errors.manager.emit_message = noteWarning;
}

// Reads the header of a file this decoder takes (one scan; YCbCr, grey or RGB) and asks for `eighths`/8. Called
// after the caller's setjmp: an error jumps there through this frame, which holds nothing to destroy.
bool readHeader(jpeg_decompress_struct &info, const QByteArray &bytes, int eighths)
{
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || jpeg_has_multiple_scans(&info) ||
        (info.jpeg_color_space != JCS_YCbCr && info.jpeg_color_space != JCS_GRAYSCALE &&
         info.jpeg_color_space != JCS_RGB))
        return false;
    info.scale_num = static_cast<unsigned int>(eighths);
    info.scale_denom = 8;
    return true;
}

// Plain C state only between setjmp and the jumps to it: nothing here has a destructor to skip.
bool decodeBand(const Band &band)
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    takeErrors(info, errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    bool ok = readHeader(info, *band.bytes, band.eighths);
    if (ok) {
        info.out_color_space = kRgb32;
        info.dct_method = JDCT_ISLOW;
        info.do_fancy_upsampling = TRUE;
        ok = jpeg_start_decompress(&info) && int(info.output_width) == band.size.width() &&
             int(info.output_height) == band.size.height() && info.output_components == 4;
    }
    if (ok && band.first > 0)
        ok = int(jpeg_skip_scanlines(&info, JDIMENSION(band.first))) == band.first;
    while (ok && int(info.output_scanline) < band.end && !errors.endsEarly && !*band.endsEarly) {
        JSAMPROW row = band.pixels + band.stride * qsizetype(info.output_scanline);
        ok = jpeg_read_scanlines(&info, &row, 1) == 1;
    }
    if (errors.endsEarly)
        *band.endsEarly = true;
    ok = ok && errors.manager.num_warnings == 0;
    jpeg_destroy_decompress(&info);
    return ok;
}

// The output size at M/8, or an empty size when libjpeg will not decode the file as this decoder asks.
QSize outputSize(const QByteArray &bytes, int eighths)
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    takeErrors(info, errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    QSize size;
    if (readHeader(info, bytes, eighths)) {
        jpeg_calc_output_dimensions(&info);
        size = QSize(int(info.output_width), int(info.output_height));
    }
    jpeg_destroy_decompress(&info);
    return size;
}

} // namespace

QSize jpegReducedSize(QSize natural, int eighths)
{
    const auto reduced = [eighths](int side) { return int((qint64(side) * eighths + 7) / 8); };
    return {reduced(natural.width()), reduced(natural.height())};
}

int jpegEighthsFor(QSize natural, QSize wanted)
{
    if (wanted.isEmpty() || natural.isEmpty())
        return 8;
    for (int m = 1; m < 8; ++m) {
        const QSize reduced = jpegReducedSize(natural, m);
        if (reduced.width() >= wanted.width() && reduced.height() >= wanted.height())
            return m;
    }
    return 8;
}

JpegDecode decodeJpegOnTwoThreads(const QByteArray &bytes, int eighths)
{
    const QSize size = outputSize(bytes, std::clamp(eighths, 1, 8));
    if (size.isEmpty() || size.height() < 2)
        return {};
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    std::atomic<bool> endsEarly = false;
    // Skipping rows still costs their entropy decoding, so the thread that skips takes fewer rows; at the
    // smaller reductions entropy decoding is most of the work.
    const double topShare = eighths == 1 ? 0.8 : eighths == 2 ? 0.75 : eighths <= 4 ? 0.68 : 0.62;
    const int split = std::clamp(int(size.height() * topShare), 1, size.height() - 1);
    const Band top{&bytes, std::clamp(eighths, 1, 8), 0, split, image.bits(), image.bytesPerLine(), size, &endsEarly};
    Band bottom = top;
    bottom.first = split;
    bottom.end = size.height();
    bool bottomOk = false;
    std::thread other;
    try {
        other = std::thread([&] { bottomOk = decodeBand(bottom); });
    } catch (const std::system_error &) {
        return {};
    }
    const bool topOk = decodeBand(top);
    other.join();
    if (endsEarly)
        return {QImage(), true};
    return {topOk && bottomOk ? image : QImage(), false};
}
