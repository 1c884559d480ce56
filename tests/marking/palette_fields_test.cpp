#include "marking/palette_fields.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

std::string where(float x, float y)
{
    return "press at (" + QString::number(x).toStdString() + ", " + QString::number(y).toStdString() + ")";
}

struct Press {
    float x;
    float y;
    std::int16_t expected; // 0: no field
};

TEST(PaletteFields, ShapeFieldsAndTheirBounds)
{
    // Each row bound and the pixel inside it, the column bounds, and off the palette.
    const std::vector<Press> presses{
        {10, 60, 3},  {2, 2, 1},     {21.5f, 21.5f, 1}, {10, 1, 0},   {10, 22, 0},  {10, 23, 0},  {10, 24, 2},
        {10, 48, 2},  {10, 49, 0},   {10, 50, 0},       {10, 51, 3},  {10, 72, 3},  {10, 73, 0},  {10, 74, 0},
        {10, 75, 4},  {10, 96, 4},   {10, 97, 0},       {10, 98, 0},  {10, 99, 5},  {10, 122, 5}, {10, 123, 0},
        {10, 124, 0}, {10, 125, 6},  {10, 145, 6},      {10, 146, 0}, {10, 150, 0}, {1, 10, 0},   {22, 10, 0},
        {25, 60, 0},  {1.5f, 60, 3}, {-5, 60, 0},
    };
    for (const Press &press : presses) {
        SCOPED_TRACE(where(press.x, press.y));
        EXPECT_EQ(shapeAt(press.x, press.y), press.expected);
    }
}

TEST(PaletteFields, ThicknessFieldsAndTheirBounds)
{
    const std::vector<Press> presses{
        {20, 35, 3}, {20, 5, 0},  {20, 6, 1},  {20, 15, 1}, {20, 16, 0}, {20, 17, 0},       {20, 18, 2},
        {20, 29, 2}, {20, 30, 0}, {20, 31, 0}, {20, 32, 3}, {20, 41, 3}, {20, 42, 0},       {5, 10, 0},
        {6, 10, 1},  {39, 10, 1}, {40, 10, 0}, {45, 23, 0}, {0, 0, 0},   {39.9f, 41.9f, 3},
    };
    for (const Press &press : presses) {
        SCOPED_TRACE(where(press.x, press.y));
        EXPECT_EQ(thicknessAt(press.x, press.y), press.expected);
    }
}

TEST(PaletteFields, ColourFieldsAndTheirBounds)
{
    struct Row {
        float x;
        float y;
        std::optional<PaletteRgb> rgb; // none: no field
        QString pictureName;
    };
    const std::vector<Row> rows{
        {40, 10, PaletteRgb{0, 0, 0}, u"Picture7"_s},
        {40, 25, PaletteRgb{255, 255, 255}, u"Picture8"_s},
        {56, 10, PaletteRgb{255, 0, 0}, u"Picture10"_s},
        {56, 25, PaletteRgb{0, 0, 255}, u"Picture9"_s},
        {72, 10, PaletteRgb{0, 255, 0}, u"Picture11"_s},
        {72, 25, PaletteRgb{255, 255, 0}, u"Picture12"_s},
        {88, 10, PaletteRgb{255, 0, 255}, u"Picture13"_s},
        {88, 25, PaletteRgb{128, 64, 0}, u"Picture14"_s},
        {36, 5, PaletteRgb{0, 0, 0}, u"Picture7"_s},
        {45, 14, PaletteRgb{0, 0, 0}, u"Picture7"_s},
        {36, 21, PaletteRgb{255, 255, 255}, u"Picture8"_s},
        {52, 30, PaletteRgb{0, 0, 255}, u"Picture9"_s},
        {93, 30, PaletteRgb{128, 64, 0}, u"Picture14"_s},
        {10, 10, std::nullopt, {}},
        {35, 10, std::nullopt, {}},
        {46, 10, std::nullopt, {}},
        {51, 10, std::nullopt, {}},
        {62, 10, std::nullopt, {}},
        {94, 25, std::nullopt, {}},
        {40, 4, std::nullopt, {}},
        {40, 15, std::nullopt, {}},
        {40, 20, std::nullopt, {}},
        {40, 31, std::nullopt, {}},
        {48, 17, std::nullopt, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(where(row.x, row.y));
        const std::optional<ColourField> field = colourAt(row.x, row.y);
        ASSERT_EQ(field.has_value(), row.rgb.has_value());
        if (field) {
            EXPECT_EQ(field->rgb, *row.rgb);
            EXPECT_EQ(field->pictureName.toString(), row.pictureName);
        }
    }
}

TEST(PaletteFields, PictureNamesOfChosenItems)
{
    const QStringList shapes{
        {}, u"Picture22"_s, u"Picture23"_s, u"Picture24"_s, u"Picture25"_s, u"Picture26"_s, u"Picture27"_s, {}};
    for (std::int16_t shape = 0; shape < shapes.size(); ++shape)
        EXPECT_EQ(shapePictureName(shape), shapes[shape]) << "shape " << shape;

    const QStringList widths{{}, u"Picture4"_s, u"Picture5"_s, u"Picture6"_s, {}};
    for (std::int16_t width = 0; width < widths.size(); ++width)
        EXPECT_EQ(thicknessPictureName(width), widths[width]) << "width " << width;

    const std::vector<std::pair<PaletteRgb, QString>> colours{
        {{0, 0, 0}, u"Picture7"_s},      {{255, 255, 255}, u"Picture8"_s}, {{0, 0, 255}, u"Picture9"_s},
        {{255, 0, 0}, u"Picture10"_s},   {{0, 255, 0}, u"Picture11"_s},    {{255, 255, 0}, u"Picture12"_s},
        {{255, 0, 255}, u"Picture13"_s}, {{128, 64, 0}, u"Picture14"_s},   {{128, 64, 1}, {}},
    };
    for (const auto &[rgb, name] : colours)
        EXPECT_EQ(colourPictureName(rgb), name) << rgb.red << "," << rgb.green << "," << rgb.blue;
}

} // namespace
