#include "ui/chart_picture.h"
#include "ui/twips.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include <gtest/gtest.h>

namespace {

// Records the region of every paint the chart receives.
class PaintLog : public QObject {
public:
    std::vector<QRegion> regions;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            regions.push_back(static_cast<QPaintEvent *>(event)->region());
        return false;
    }
};

void crossHairAt(ChartPicture &chart, QPointF px)
{
    const qreal x = px.x() * kTwipsPerPixel;
    const qreal y = px.y() * kTwipsPerPixel;
    chart.setLine(0, {true, {x - 20000, y}, {x - 120, y}});
    chart.setLine(1, {true, {x + 130, y}, {x + 20000, y}});
    chart.setLine(2, {true, {x, y - 20000}, {x, y - 120}});
    chart.setLine(3, {true, {x, y + 20000}, {x, y + 120}});
}

} // namespace

TEST(ChartPicture, MovingCrossHairRepaintsOnlyThinStripsAndLeavesNoTrace)
{
    QWidget window;
    window.resize(900, 700);
    ChartPicture chart(&window);
    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(Qt::white);
    chart.setNaturalPicture(picture);
    window.show();
    QApplication::processEvents();
    crossHairAt(chart, {100, 100});
    QApplication::processEvents();

    PaintLog log;
    chart.installEventFilter(&log);
    crossHairAt(chart, {400, 300}); // far from the old one: a bounding rectangle would be most of the chart
    QApplication::processEvents();
    ASSERT_FALSE(log.regions.empty());
    for (const QRegion &region : log.regions) {
        const QRect box = region.boundingRect();
        EXPECT_TRUE(box.width() <= 8 || box.height() <= 8) << box.width() << "x" << box.height();
    }

    const QImage shot = chart.grab().toImage();
    const QPoint border(ChartPicture::kBorderPx, ChartPicture::kBorderPx);
    EXPECT_EQ(shot.pixelColor(QPoint(100, 50) + border), QColor(Qt::white)); // the old arms are gone
    EXPECT_EQ(shot.pixelColor(QPoint(50, 100) + border), QColor(Qt::white));
    EXPECT_NE(shot.pixelColor(QPoint(400, 50) + border), QColor(Qt::white)); // the new ones are drawn
    EXPECT_NE(shot.pixelColor(QPoint(50, 300) + border), QColor(Qt::white));
}

TEST(ChartPicture, ScaledChartIsDrawnOverTheWindowAndErasedBackToIt)
{
    QWidget window;
    window.resize(900, 700);
    ChartPicture chart(&window);
    chart.resize(604, 404);
    window.show();
    QApplication::processEvents();
    const QColor windowColour = chart.palette().color(QPalette::Window);
    const QPoint border(ChartPicture::kBorderPx, ChartPicture::kBorderPx);
    const auto shown = [&](QPoint areaPixel) { return chart.grab().toImage().pixelColor(areaPixel + border); };

    // A symbol drawn before the chart, on the bare area, stays under the chart where the chart does not reach.
    QPainter(&chart.drawings()).fillRect(QRect(500, 350, 4, 4), Qt::red);
    chart.showDrawings(QRect(500, 350, 4, 4));
    QImage scaled(400, 300, QImage::Format_RGB32);
    scaled.fill(Qt::white);
    chart.drawScaledPicture(scaled);
    QPainter(&chart.drawings()).fillRect(QRect(10, 10, 4, 4), Qt::blue); // a symbol drawn on the chart
    chart.showDrawings(QRect(10, 10, 4, 4));
    crossHairAt(chart, {200, 150});
    crossHairAt(chart, {250, 100}); // the strips under the old arms are restored from the layer
    QApplication::processEvents();
    EXPECT_EQ(shown({100, 200}), QColor(Qt::white));
    EXPECT_EQ(shown({200, 50}), QColor(Qt::white));
    EXPECT_EQ(shown({200, 150}), QColor(Qt::white));
    EXPECT_EQ(shown({11, 11}), QColor(Qt::blue));
    EXPECT_EQ(shown({501, 351}), QColor(Qt::red));
    EXPECT_EQ(shown({450, 200}), windowColour.rgb()); // beside the chart: the window
    EXPECT_EQ(shown({200, 350}), windowColour.rgb());

    chart.eraseDrawings();
    QApplication::processEvents();
    for (const QPoint p : {QPoint(100, 200), QPoint(11, 11), QPoint(501, 351), QPoint(450, 200)})
        EXPECT_EQ(shown(p), windowColour.rgb()) << p.x() << "," << p.y();
    QPainter(&chart.drawings()).fillRect(QRect(20, 20, 4, 4), Qt::blue); // and drawing goes on after the erase
    chart.showDrawings(QRect(20, 20, 4, 4));
    QApplication::processEvents();
    EXPECT_EQ(shown({21, 21}), QColor(Qt::blue));
    EXPECT_EQ(shown({30, 30}), windowColour.rgb());

    chart.eraseDrawings(); // the next chart, on a bare layer
    QImage next(300, 200, QImage::Format_RGB32);
    next.fill(Qt::green);
    chart.drawScaledPicture(next);
    QApplication::processEvents();
    EXPECT_EQ(shown({21, 21}), QColor(Qt::green));
    EXPECT_EQ(shown({350, 150}), windowColour.rgb());
    EXPECT_EQ(shown({100, 250}), windowColour.rgb());
}
