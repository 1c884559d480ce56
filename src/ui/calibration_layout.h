#pragma once

#include "ui/twips.h"

// What the placement of the calibration controls reads: Picture1's rectangle and the current sizes and
// places of the controls it measures against.
struct CalibrationLayoutInput {
    TwipsRect picture;
    float text2Width = 0;
    float text2Height = 0;
    float text3Width = 0;
    float command7Top = 0;
};

// New places (left, top) of the controls set around Picture1. Command7 and Label9 stay where designed.
struct CalibrationLayout {
    TwipsPoint text1, label6, command4;
    TwipsPoint text3, label8, command6;
    TwipsPoint text2, command5, label7, text4;
    TwipsPoint check1, check2, label2;
};

// Single precision throughout, in the order the rows are placed: later rows read earlier results.
[[nodiscard]] CalibrationLayout placeCalibrationControls(const CalibrationLayoutInput &in);
