#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>

// The three marking palettes (shape, line thickness, colour) are small pictures with fixed fields. The tables
// below are the one place those fields are defined: the hit tests read them and the painter draws the palette
// pictures from them, so a drawn item always lies where a press on it is recognised. All numbers are pixels of
// the palette picture, origin top-left, y downwards.

// Open rectangle: a point exactly on a bound lies outside.
struct OpenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    [[nodiscard]] constexpr bool contains(float x, float y) const
    {
        return float(left) < x && x < float(right) && float(top) < y && y < float(bottom);
    }
    [[nodiscard]] constexpr int width() const { return right - left; }
    [[nodiscard]] constexpr int height() const { return bottom - top; }

    friend constexpr bool operator==(const OpenRect &, const OpenRect &) = default;
};

struct PaletteSize {
    int width = 0;
    int height = 0;
};

struct PaletteRgb {
    std::int16_t red = 0;
    std::int16_t green = 0;
    std::int16_t blue = 0;

    friend constexpr bool operator==(const PaletteRgb &, const PaletteRgb &) = default;
};

struct ShapeField {
    std::int16_t shape; // 1 dot, 2 upright cross, 3 diagonal cross, 4 circle, 5 square, 6 diamond
    OpenRect rect;
    QStringView pictureName; // the palette picture with this shape chosen
};

struct ThicknessField {
    std::int16_t width; // line thickness in pixels
    OpenRect rect;
    QStringView pictureName;
};

struct ColourField {
    PaletteRgb rgb;
    OpenRect rect;
    QStringView pictureName;
};

inline constexpr PaletteSize kShapePaletteSize{27, 153};
inline constexpr PaletteSize kThicknessPaletteSize{50, 47};
inline constexpr PaletteSize kColourPaletteSize{99, 35};

inline constexpr std::array<ShapeField, 6> kShapeFields{{
    {1, {1, 1, 22, 22}, u"Picture22"},
    {2, {1, 23, 22, 49}, u"Picture23"},
    {3, {1, 50, 22, 73}, u"Picture24"},
    {4, {1, 74, 22, 97}, u"Picture25"},
    {5, {1, 98, 22, 123}, u"Picture26"},
    {6, {1, 124, 22, 146}, u"Picture27"},
}};

inline constexpr std::array<ThicknessField, 3> kThicknessFields{{
    {1, {5, 5, 40, 16}, u"Picture4"},
    {2, {5, 17, 40, 30}, u"Picture5"},
    {3, {5, 31, 40, 42}, u"Picture6"},
}};

// Two rows of four; the free strip left of the first column (x < 35) is for a preview of the chosen colour.
inline constexpr std::array<ColourField, 8> kColourFields{{
    {{0, 0, 0}, {35, 4, 46, 15}, u"Picture7"},
    {{255, 255, 255}, {35, 20, 46, 31}, u"Picture8"},
    {{255, 0, 0}, {51, 4, 62, 15}, u"Picture10"},
    {{0, 0, 255}, {51, 20, 62, 31}, u"Picture9"},
    {{0, 255, 0}, {67, 4, 78, 15}, u"Picture11"},
    {{255, 255, 0}, {67, 20, 78, 31}, u"Picture12"},
    {{255, 0, 255}, {83, 4, 94, 15}, u"Picture13"},
    {{128, 64, 0}, {83, 20, 94, 31}, u"Picture14"},
}};

// Shape 1..6 under the press, 0 when the press is on no field.
[[nodiscard]] std::int16_t shapeAt(float x, float y);
// Line width 1..3 under the press, 0 when the press is on no field.
[[nodiscard]] std::int16_t thicknessAt(float x, float y);
// The colour field under the press; none when the press is outside all eight.
[[nodiscard]] std::optional<ColourField> colourAt(float x, float y);

// The palette picture that shows the given item chosen; empty for a value that has no field.
[[nodiscard]] QString shapePictureName(std::int16_t shape);
[[nodiscard]] QString thicknessPictureName(std::int16_t width);
[[nodiscard]] QString colourPictureName(PaletteRgb rgb);
