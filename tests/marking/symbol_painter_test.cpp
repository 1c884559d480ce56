#include "marking/symbol_painter.h"

#include <QImage>

#include <gtest/gtest.h>

// The repaint after a symbol covers only what it reports: every pixel it drew must lie inside.
TEST(SymbolPainter, ReportedAreaHoldsEveryPaintedPixel)
{
    for (std::int16_t shape = 1; shape <= 6; ++shape) {
        for (int width : {1, 3}) {
            SCOPED_TRACE(::testing::Message() << "shape " << shape << " width " << width);
            QImage layer(120, 120, QImage::Format_ARGB32_Premultiplied);
            layer.fill(Qt::transparent);
            const QRect reported = paintSymbol(layer, symbolShapes(900, 900, shape, 10), Qt::blue, width);
            int painted = 0;
            for (int y = 0; y < layer.height(); ++y) {
                for (int x = 0; x < layer.width(); ++x) {
                    if (qAlpha(layer.pixel(x, y)) == 0)
                        continue;
                    ++painted;
                    EXPECT_TRUE(reported.contains(x, y)) << x << ", " << y;
                }
            }
            EXPECT_GT(painted, 0);
            EXPECT_EQ(layer.pixelColor(60, 60), QColor(Qt::blue)); // the centre point
        }
    }
}
