#include "ui/calibration_layout.h"

#include <gtest/gtest.h>

#include <ostream>

static std::ostream &operator<<(std::ostream &out, const TwipsPoint &p)
{
    return out << "(" << p.left << ", " << p.top << ")";
}

static CalibrationLayoutInput designed(TwipsRect picture)
{
    return {picture, /*text2Width*/ 855, /*text2Height*/ 360, /*text3Width*/ 855, /*command7Top*/ 1850};
}

TEST(CalibrationLayout, DesignedPictureGivesTheStartUpPlaces)
{
    const CalibrationLayout out = placeCalibrationControls(designed({3480, 1200, 4155, 4095}));
    EXPECT_EQ(out.text1, (TwipsPoint{3480, 5395}));
    EXPECT_EQ(out.label6, (TwipsPoint{3605, 5795}));
    EXPECT_EQ(out.command4, (TwipsPoint{3480, 6045}));
    EXPECT_EQ(out.text3, (TwipsPoint{6780, 5395}));
    EXPECT_EQ(out.label8, (TwipsPoint{7035, 5795}));
    EXPECT_EQ(out.command6, (TwipsPoint{6780, 6045}));
    EXPECT_EQ(out.text2, (TwipsPoint{2525, 4895}));
    EXPECT_EQ(out.command5, (TwipsPoint{2505, 4235}));
    EXPECT_EQ(out.label7, (TwipsPoint{2670, 4645}));
    EXPECT_EQ(out.text4, (TwipsPoint{2505, 1200}));
    EXPECT_EQ(out.check1, (TwipsPoint{5257.5f, 5375}));
    EXPECT_EQ(out.check2, (TwipsPoint{3180, 2647.5f}));
    EXPECT_EQ(out.label2, (TwipsPoint{2680, 2947.5f}));
}

TEST(CalibrationLayout, NarrowPictureFarLeftKeepsTheLogCheckBoxAt350)
{
    // L + W / 2 - 300 = 100 + 200 - 300 = 0, below 350.
    const CalibrationLayout out = placeCalibrationControls(designed({100, 1200, 400, 4095}));
    EXPECT_EQ(out.check1.left, 350);
    // ...and the box then crowds the x1 value box, which moves right of it, with its tag and button.
    EXPECT_EQ(out.text3.left, 350 + 1200);
    EXPECT_EQ(out.label8.left, 350 + 1200 + 300);
    EXPECT_EQ(out.command6.left, 350 + 1200);
}

TEST(CalibrationLayout, LowPictureMovesTheYAxisBoxBelowTheY1Button)
{
    // (T + H) / 2 = 1000 is above Command7's top + 350, so Check2 goes to 1850 + 550 and its caption follows.
    const CalibrationLayout out = placeCalibrationControls(designed({3480, 200, 4155, 1800}));
    EXPECT_EQ(out.check2, (TwipsPoint{3180, 2400}));
    EXPECT_EQ(out.label2, (TwipsPoint{2680, 2650}));
}

TEST(CalibrationLayout, BoundsOfTheThreeCorrectionsAreInclusive)
{
    struct Row {
        TwipsRect picture;
        float check2Top, label2Top, text3Left;
    };
    const Row rows[] = {
        // (T + H) / 2 == 1850 + 350 exactly: moved.
        {{3480, 400, 4155, 4000}, 2400, 2650, 6780},
        // One twip lower: kept, caption 300 below.
        {{3480, 400, 4155, 4002}, 2201, 2501, 6780},
        // Check1 left + 800 == Text3 left exactly: L + W/2 - 300 + 800 == L + W - 855 when W = 2710.
        {{3480, 1200, 2710, 4095}, 2647.5f, 2947.5f, 3480 + 1355 - 300 + 1200},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(::testing::Message() << "picture width " << row.picture.width << " height " << row.picture.height);
        const CalibrationLayout out = placeCalibrationControls(designed(row.picture));
        EXPECT_EQ(out.check2.top, row.check2Top);
        EXPECT_EQ(out.label2.top, row.label2Top);
        EXPECT_EQ(out.text3.left, row.text3Left);
    }
}
