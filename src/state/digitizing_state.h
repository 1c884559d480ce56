#pragma once

#include <QString>

#include <cstdint>

// The values the main window's handlers share between events. A plain record: handlers read and write the
// fields directly. Positions are twips of Picture1 (y downwards), values are chart units.
struct DigitizingState {
    // Most recent press on Picture1. Both 0 means "not clicked yet" to the curve start.
    float lastClickX = 0;
    float lastClickY = 0;

    // Calibration: picture positions of the two known values of each axis...
    float calibX0Pos = 0;
    float calibX1Pos = 0;
    float calibY0Pos = 0;
    float calibY1Pos = 0;
    // ...and those values, re-read from Text1..Text4 at every move, press and curve start.
    float calibX0Value = 0;
    float calibX1Value = 0;
    float calibY0Value = 0;
    float calibY1Value = 0;

    std::int16_t curveNumber = 0; // 0: no curve started, presses only calibrate
    std::int16_t pointNumber = 0; // points recorded in the current curve
    QString curveFileStem;
    QString curveFileName; // curveFileStem + "_" + curveNumber + ".txt", no folder

    std::int16_t symbolShape = 0; // 1..6
    std::int16_t symbolSize = 0;  // VScroll1's range
    std::int16_t symbolRed = 0;
    std::int16_t symbolGreen = 0;
    std::int16_t symbolBlue = 0;

    std::int16_t xFormatChoice = 0; // 1 "0.00", 2 "0.0000", 3 "0.000E+00", 0 none
    std::int16_t yFormatChoice = 0;

    std::int16_t formatsPanelHidden = 0;
    float screenWidthPx = 0;
    float screenHeightPx = 0;
};
