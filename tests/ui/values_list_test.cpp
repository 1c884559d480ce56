#include "ui/values_list.h"

#include <QImage>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString pointLine(int n)
{
    return u"  "_s + QString::number(n) + u"        1.0000        2.0000"_s;
}

// Rows of the viewport whose pixels differ from the list's background.
int paintedRows(ValuesList &list)
{
    const QImage shot = list.viewport()->grab().toImage();
    const QRgb base = list.palette().color(QPalette::Base).rgb();
    int rows = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (shot.pixel(x, y) != base) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

} // namespace

TEST(ValuesList, AddingKeepsTheNewestLineSelectedAndInView)
{
    ValuesList list;
    list.resize(185, 108);
    list.show();
    for (int n = 1; n <= 500; ++n)
        list.addLine(pointLine(n));
    ASSERT_EQ(list.count(), 500);
    EXPECT_EQ(list.line(499), pointLine(500));
    EXPECT_EQ(list.currentRow(), 499);
    QScrollBar *bar = list.verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_GT(bar->maximum(), 400); // scrolls by lines
    EXPECT_GT(paintedRows(list), 0);

    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.currentRow(), -1);
    EXPECT_EQ(bar->maximum(), 0);
    EXPECT_EQ(paintedRows(list), 0);
}

TEST(ValuesList, MouseAndKeysMoveTheSelection)
{
    ValuesList list;
    list.resize(185, 108);
    list.show();
    for (int n = 1; n <= 3; ++n)
        list.addLine(pointLine(n));
    const int height = list.fontMetrics().height();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(10, height / 2));
    EXPECT_EQ(list.currentRow(), 0);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(10, 20 * height)); // below the last line
    EXPECT_EQ(list.currentRow(), 0);
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(list.currentRow(), 1);
    QTest::keyClick(&list, Qt::Key_End);
    EXPECT_EQ(list.currentRow(), 2);
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(list.currentRow(), 2);
    QTest::keyClick(&list, Qt::Key_Home);
    EXPECT_EQ(list.currentRow(), 0);
}

TEST(ValuesList, ShowsLinesInTheTextColourAndTheSelectionHighlighted)
{
    ValuesList list;
    list.resize(185, 108);
    QPalette p = list.palette();
    p.setColor(QPalette::Text, QColor(128, 0, 0));
    list.setPalette(p);
    list.show();
    list.addLine(pointLine(1));
    list.addLine(pointLine(2)); // selected
    const QImage shot = list.viewport()->grab().toImage();
    const int height = list.fontMetrics().height();
    bool textColour = false;
    bool highlight = false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < shot.width(); ++x)
            textColour |= shot.pixelColor(x, y) == QColor(128, 0, 0);
    for (int x = 0; x < shot.width(); ++x)
        highlight |= shot.pixelColor(x, height + height / 2) == list.palette().color(QPalette::Highlight);
    EXPECT_TRUE(textColour);
    EXPECT_TRUE(highlight);
}
