#include "workspace/display_fit.h"

#include <gtest/gtest.h>

TEST(DisplayFit, PicturesAreReducedToTheScreenLessItsMargins)
{
    struct Row {
        float screenW, screenH, pictureW, pictureH; // pixels
        DisplayCase displayCase;
        float scale, outerW, outerH, drawnW, drawnH; // twips
        QSize picture;                               // pixels decoded: rounded, not cut
    };
    const Row rows[] = {
        // 1024 x 768: room 784 x 528 pixels.
        {1024, 768, 1600, 1200, DisplayCase::ScaledBoth, 1200.0f / 528, 10560, 7920, 10510, 7870, {701, 525}},
        // Both too large, but the width ratio is the larger one.
        {1024, 768, 2000, 528, DisplayCase::ScaledBoth, 2000.0f / 784, 11760, 3104.64f, 11710, 3054.64f, {781, 204}},
        {1024, 768, 784, 528, DisplayCase::ScaledBoth, 1, 11760, 7920, 11710, 7870, {781, 525}},
        {1024, 768, 1000, 400, DisplayCase::ScaledWidth, 1000.0f / 784, 11760, 4704, 11710, 4654, {781, 310}},
        // Exactly as wide as the room: still the scaled display, at s = 1.
        {1024, 768, 784, 300, DisplayCase::ScaledWidth, 1, 11760, 4500, 11710, 4450, {781, 297}},
        {1024, 768, 600, 900, DisplayCase::ScaledHeight, 900.0f / 528, 5280, 7920, 5280, 7770, {352, 518}},
        {1024, 768, 300, 528, DisplayCase::ScaledHeight, 1, 4500, 7920, 4500, 7770, {300, 518}},
        {1024, 768, 500, 400, DisplayCase::Natural, 1, 7500, 6000, 0, 0, {500, 400}},
        {1024, 768, 783, 527, DisplayCase::Natural, 1, 11745, 7905, 0, 0, {783, 527}},
        // 1920 x 1080: room 1680 x 840.
        {1920, 1080, 1600, 1200, DisplayCase::ScaledHeight, 1200.0f / 840, 16800, 12600, 16800, 12450, {1120, 830}},
        {1920, 1080, 3360, 840, DisplayCase::ScaledBoth, 2, 25200, 6300, 25150, 6250, {1677, 417}},
        {1920, 1080, 1600, 800, DisplayCase::Natural, 1, 24000, 12000, 0, 0, {1600, 800}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(::testing::Message()
                     << row.pictureW << " x " << row.pictureH << " px on " << row.screenW << " x " << row.screenH);
        const DisplayFit fit = fitPicture(row.pictureW * 15, row.pictureH * 15, row.screenW, row.screenH);
        EXPECT_EQ(fit.displayCase, row.displayCase);
        EXPECT_FLOAT_EQ(fit.scale, row.scale);
        EXPECT_NEAR(fit.outerWidth, row.outerW, 0.01);
        EXPECT_NEAR(fit.outerHeight, row.outerH, 0.01);
        EXPECT_EQ(fit.drawRect.left, 0);
        EXPECT_EQ(fit.drawRect.top, 0);
        EXPECT_NEAR(fit.drawRect.width, row.drawnW, 0.01);
        EXPECT_NEAR(fit.drawRect.height, row.drawnH, 0.01);
        EXPECT_EQ(fit.picturePixels(), row.picture);
    }
}
