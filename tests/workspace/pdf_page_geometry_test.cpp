#include "workspace/decode_limit.h"
#include "workspace/pdf_page_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr qint64 kLoaderLimitMiB = 1024; // what the program raises the decode limit to

} // namespace

TEST(DecodeLimit, PictureFitsUpToTheLimitAndTheLargestSide)
{
    struct Row {
        QSize size;
        qint64 limitMiB;
        qint64 decoderBytes;
        bool fits;
    };
    const Row rows[] = {
        {{16384, 16384}, 1024, 0, true}, // exactly 1 GiB
        {{16384, 16385}, 1024, 0, false},     {{16384, 16383}, 1024, 65536, true},
        {{16384, 16383}, 1024, 65537, false}, {{65535, 1}, 1024, 0, true},
        {{65536, 1}, 1024, 0, false},         {{1, 65536}, 0, 0, false}, // no limit, but still no absurd side
        {{60000, 60000}, 0, 0, true},         {{1024, 1024}, 4, 0, true},
        {{1024, 1025}, 4, 0, false},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << r.size.width() << "x" << r.size.height() << " " << r.limitMiB << " MiB");
        EXPECT_EQ(fitsDecodeLimit(r.size, r.limitMiB, r.decoderBytes), r.fits);
    }
}

TEST(PdfPageGeometry, PageAndRegionPixelsAtAResolution)
{
    struct Row {
        QSizeF page;
        QRectF region;
        int dpi;
        QRect pixels;
    };
    const Row rows[] = {
        {{595, 842}, {}, 150, {0, 0, 1240, 1754}}, // A4: 1239.58 x 1754.17
        {{595, 842}, {}, 300, {0, 0, 2479, 3508}},
        {{595, 842}, {}, 600, {0, 0, 4958, 7017}},
        {{612, 792}, {}, 300, {0, 0, 2550, 3300}},
        {{1, 1}, {}, 1, {0, 0, 1, 1}}, // never less than a pixel
        {{-5, std::nan("")}, {}, 300, {0, 0, 1, 1}},
        {{200, 100}, {100, 50, 20, 10}, 144, {200, 100, 40, 20}},
        // Edges go outwards to whole pixels.
        {{200, 100}, {10.2, 5.3, 20, 10}, 72, {10, 5, 21, 11}},
        // Kept on the page.
        {{200, 100}, {190, 90, 30, 30}, 72, {190, 90, 10, 10}},
        {{200, 100}, {199.9, 99.9, 0.05, 0.05}, 72, {199, 99, 1, 1}},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << r.page.width() << "x" << r.page.height() << " at " << r.dpi);
        const QRect pixels = regionPixels(r.page, r.region, r.dpi);
        EXPECT_EQ(pixels, r.pixels);
        if (r.region.isEmpty()) {
            EXPECT_EQ(pagePixels(r.page, r.dpi), r.pixels.size());
        }
    }
}

TEST(PdfPageGeometry, ResolutionIsLoweredToTheLargestThatTheLoaderTakes)
{
    struct Row {
        QSizeF page;
        QRectF region;
        int dpi;
        qint64 limitMiB;
        int fitting;
    };
    const Row rows[] = {
        {{595, 842}, {}, 600, kLoaderLimitMiB, 600},
        // 5000 points square: 16384 pixels a side is 1 GiB, which 235 dpi (16319) stays under and 236 does not.
        {{5000, 5000}, {}, 600, kLoaderLimitMiB, 235},
        {{5000, 5000}, {}, 150, kLoaderLimitMiB, 150},
        // Only the region counts.
        {{5000, 5000}, {1000, 1000, 500, 500}, 600, kLoaderLimitMiB, 600},
        // The longest side: 14400 points at 327 dpi is 65400 pixels, at 328 dpi 65600.
        {{14400, 100}, {}, 600, kLoaderLimitMiB, 327},
        {{14400, 100}, {}, 600, 0, 327},
        // 8 MiB: 1448 pixels square at most; 1000 points at 104 dpi is 1444, at 105 dpi 1458.
        {{1000, 1000}, {}, 300, 8, 104},
        {{1e7, 10}, {}, 300, kLoaderLimitMiB, 0}, // 138889 pixels wide even at 1 dpi
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << r.page.width() << "x" << r.page.height() << " at " << r.dpi);
        EXPECT_EQ(fittingDpi(r.page, r.region, r.dpi, r.limitMiB), r.fitting);
    }
}

TEST(PdfPageGeometry, DraggedRegionIsInPagePointsAndStaysOnThePage)
{
    // A 400 x 200 point page shown at half size from (10, 20).
    const QRectF shown(10, 20, 200, 100);
    const QSizeF page(400, 200);
    struct Row {
        QPointF from, to;
        QRectF region;
    };
    const Row rows[] = {
        {{10, 20}, {110, 70}, {0, 0, 200, 100}},      {{110, 70}, {10, 20}, {0, 0, 200, 100}}, // dragged up and left
        {{60, 45}, {61.5, 45.25}, {100, 50, 3, 0.5}}, {{-50, -50}, {500, 500}, {0, 0, 400, 200}},
        {{150, 100}, {300, 10}, {280, 0, 120, 160}},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << r.from.x() << "," << r.from.y() << " to " << r.to.x() << "," << r.to.y());
        const QRectF region = regionFromView(r.from, r.to, shown, page);
        EXPECT_NEAR(region.left(), r.region.left(), 1e-9);
        EXPECT_NEAR(region.top(), r.region.top(), 1e-9);
        EXPECT_NEAR(region.width(), r.region.width(), 1e-9);
        EXPECT_NEAR(region.height(), r.region.height(), 1e-9);
    }
}
