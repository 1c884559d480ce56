#include "workspace/huge_page_image.h"

#include <QPainter>

#include <gtest/gtest.h>

// Whatever memory it lies in, the image behaves as one Qt made itself: same line length, pixels kept, and
// copies that outlive it.
TEST(HugePageImage, BehavesAsAnOrdinaryImageOfTheSameSizeAndFormat)
{
    const struct {
        QSize size;
        QImage::Format format;
    } cases[] = {{{2, 1}, QImage::Format_RGB32},
                 {{1333, 1001}, QImage::Format_RGB32},
                 {{1333, 1001}, QImage::Format_ARGB32_Premultiplied},
                 {{1001, 999}, QImage::Format_RGB888}, // lines padded to a whole number of words
                 {{0, 0}, QImage::Format_RGB32}};
    for (const auto &c : cases) {
        QImage image = hugePageImage(c.size, c.format);
        const QImage ordinary(c.size, c.format);
        EXPECT_EQ(image.size(), c.size);
        EXPECT_EQ(image.format(), ordinary.format());
        EXPECT_EQ(image.bytesPerLine(), ordinary.bytesPerLine()) << c.size.width();
        if (c.size.isEmpty())
            continue;
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.fillRect(QRect(QPoint(c.size.width() - 1, c.size.height() - 1), QSize(1, 1)), Qt::red);
        }
        EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));
        const QImage copy = image.copy();
        image = QImage(); // the copy owns its own pixels
        EXPECT_EQ(copy.pixelColor(c.size.width() - 1, c.size.height() - 1), QColor(Qt::red));
    }
}
