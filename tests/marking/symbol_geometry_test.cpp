#include "marking/symbol_geometry.h"

#include <QString>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

std::string symbolName(std::int16_t secim, std::int16_t olcekk)
{
    return (u"shape "_s + QString::number(secim) + u", size "_s + QString::number(olcekk)).toStdString();
}

bool drawsNothing(const SymbolShapes &s)
{
    return s.segments.empty() && !s.hasCircle && !s.hasRectangle && s.points.empty() && s.dotWidthPx == 0 &&
           !s.resetsDrawingWidth;
}

} // namespace

TEST(SymbolGeometry, SizeZeroBecomesOneForEveryShape)
{
    for (std::int16_t secim : {0, 1, 2, 3, 4, 5, 6, 7}) {
        SCOPED_TRACE(symbolName(secim, 0));
        EXPECT_EQ(symbolShapes(1000, 1000, secim, 0).size, 1);
        EXPECT_EQ(symbolShapes(1000, 1000, secim, 3).size, 3);
    }
    // A zero size draws exactly like size 1.
    EXPECT_EQ(symbolShapes(1500, 1500, 4, 0).circleRadius, 40);
    EXPECT_EQ(symbolShapes(1500, 1500, 1, 0).dotWidthPx, 1);
}

TEST(SymbolGeometry, DotIsOneWidePointOfTheSizeInPixels)
{
    const SymbolShapes dot = symbolShapes(700, 850, 1, 5);
    EXPECT_EQ(dot.points, (std::vector<SymbolPoint>{{700, 850}}));
    EXPECT_EQ(dot.dotWidthPx, 5);
    EXPECT_TRUE(dot.resetsDrawingWidth);
    EXPECT_TRUE(dot.segments.empty());
    EXPECT_FALSE(dot.hasCircle);
    EXPECT_FALSE(dot.hasRectangle);
}

TEST(SymbolGeometry, CrossesReachBeyondTheirNominalEnds)
{
    const SymbolShapes upright = symbolShapes(1000, 1000, 2, 2);
    EXPECT_EQ(upright.segments, (std::vector<SymbolSegment>{{{920, 1000}, {1100, 1000}}, {{1000, 920}, {1000, 1100}}}));
    EXPECT_EQ(upright.points, (std::vector<SymbolPoint>{{1000, 1000}}));

    const SymbolShapes diagonal = symbolShapes(1000, 1000, 3, 1);
    EXPECT_EQ(diagonal.segments, (std::vector<SymbolSegment>{{{960, 1040}, {1056, 944}}, {{960, 960}, {1056, 1056}}}));
    EXPECT_EQ(diagonal.points, (std::vector<SymbolPoint>{{1000, 1000}}));

    for (const SymbolShapes &cross : {upright, diagonal}) {
        EXPECT_FALSE(cross.hasCircle);
        EXPECT_FALSE(cross.hasRectangle);
        EXPECT_EQ(cross.dotWidthPx, 0);
        EXPECT_FALSE(cross.resetsDrawingWidth);
    }
}

TEST(SymbolGeometry, CircleAndSquareGrowFortyTwipsAStep)
{
    const SymbolShapes circle = symbolShapes(1500, 1500, 4, 1);
    EXPECT_TRUE(circle.hasCircle);
    EXPECT_EQ(circle.circleCentre, (SymbolPoint{1500, 1500}));
    EXPECT_EQ(circle.circleRadius, 40);
    EXPECT_EQ(circle.points, (std::vector<SymbolPoint>{{1500, 1500}}));
    EXPECT_TRUE(circle.segments.empty());
    EXPECT_FALSE(circle.hasRectangle);

    EXPECT_EQ(symbolShapes(1500, 1500, 4, 10).circleRadius, 400);

    const SymbolShapes square = symbolShapes(2000, 3000, 5, 3);
    EXPECT_TRUE(square.hasRectangle);
    EXPECT_EQ(square.rectangleCorner1, (SymbolPoint{1880, 2880}));
    EXPECT_EQ(square.rectangleCorner2, (SymbolPoint{2120, 3120}));
    EXPECT_EQ(square.points, (std::vector<SymbolPoint>{{2000, 3000}}));
    EXPECT_TRUE(square.segments.empty());
    EXPECT_FALSE(square.hasCircle);
}

TEST(SymbolGeometry, DiamondIsClosed)
{
    const SymbolShapes diamond = symbolShapes(1000, 1000, 6, 1);
    const SymbolPoint left{960, 1000};
    const SymbolPoint top{1000, 960};
    const SymbolPoint right{1040, 1000};
    const SymbolPoint bottom{1000, 1040};
    EXPECT_EQ(diamond.segments,
              (std::vector<SymbolSegment>{{left, top}, {top, right}, {right, bottom}, {bottom, left}}));
    EXPECT_EQ(diamond.points, (std::vector<SymbolPoint>{{1000, 1000}}));
    EXPECT_FALSE(diamond.hasCircle);
    EXPECT_FALSE(diamond.hasRectangle);
}

TEST(SymbolGeometry, UnknownShapesDrawNothing)
{
    for (std::int16_t secim : {0, 7, -1, 100}) {
        SCOPED_TRACE(symbolName(secim, 2));
        const SymbolShapes none = symbolShapes(1000, 1000, secim, 2);
        EXPECT_TRUE(drawsNothing(none));
        EXPECT_EQ(none.size, 2);
    }
}
