#include "marking/symbol_geometry.h"

SymbolShapes symbolShapes(float x, float y, std::int16_t secim, std::int16_t olcekk)
{
    SymbolShapes s;
    // A size step of 0 would make every symbol vanish; it becomes 1 even for a shape that draws nothing.
    s.size = olcekk == 0 ? std::int16_t(1) : olcekk;
    const float d = 40.0f * s.size;
    const SymbolPoint centre{x, y};

    switch (secim) {
    case 1:
        s.points = {centre};
        s.dotWidthPx = s.size;
        s.resetsDrawingWidth = true;
        return s;
    case 2:
        // The far ends reach a little beyond d, as a segment stops short of its end point.
        s.segments = {{{x - d, y}, {x + d + 20, y}}, {{x, y - d}, {x, y + d + 20}}};
        break;
    case 3:
        s.segments = {{{x - d, y + d}, {x + d + 16, y - d - 16}}, {{x - d, y - d}, {x + d + 16, y + d + 16}}};
        break;
    case 4:
        s.hasCircle = true;
        s.circleCentre = centre;
        s.circleRadius = d;
        break;
    case 5:
        s.hasRectangle = true;
        s.rectangleCorner1 = {x - d, y - d};
        s.rectangleCorner2 = {x + d, y + d};
        break;
    case 6: {
        const SymbolPoint left{x - d, y};
        const SymbolPoint top{x, y - d};
        const SymbolPoint right{x + d, y};
        const SymbolPoint bottom{x, y + d};
        s.segments = {{left, top}, {top, right}, {right, bottom}, {bottom, left}};
        break;
    }
    default:
        return s;
    }
    s.points = {centre};
    return s;
}
