#pragma once

#include <cstdint>
#include <vector>

// A point symbol as data, in twips of the chart picture (y downwards), before any painting.
struct SymbolPoint {
    float x = 0;
    float y = 0;
    friend bool operator==(const SymbolPoint &, const SymbolPoint &) = default;
};

// From `from` to `to`; the end point itself is not part of the segment.
struct SymbolSegment {
    SymbolPoint from;
    SymbolPoint to;
    friend bool operator==(const SymbolSegment &, const SymbolSegment &) = default;
};

struct SymbolShapes {
    std::int16_t size = 1; // the size step used; 0 on entry becomes 1, and the caller keeps that
    std::vector<SymbolSegment> segments;
    bool hasCircle = false;
    SymbolPoint circleCentre;
    float circleRadius = 0;
    bool hasRectangle = false;
    SymbolPoint rectangleCorner1; // opposite corners of an outline
    SymbolPoint rectangleCorner2;
    std::vector<SymbolPoint> points; // drawn as dots of the drawing width
    // Shape 1 draws its dot this many pixels wide and leaves the drawing width at 1 afterwards.
    int dotWidthPx = 0;
    bool resetsDrawingWidth = false;
};

// The symbol `secim` (1 dot, 2 upright cross, 3 diagonal cross, 4 circle, 5 square, 6 diamond; anything else
// draws nothing) of size step `olcekk` (unit length 40 twips a step) centred on (x, y).
[[nodiscard]] SymbolShapes symbolShapes(float x, float y, std::int16_t secim, std::int16_t olcekk);
