#include "marking/palette_fields.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

template <typename Fields> auto fieldAt(const Fields &fields, float x, float y)
{
    return std::find_if(fields.begin(), fields.end(), [x, y](const auto &field) { return field.rect.contains(x, y); });
}

} // namespace

std::int16_t shapeAt(float x, float y)
{
    const auto found = fieldAt(kShapeFields, x, y);
    return found == kShapeFields.end() ? std::int16_t(0) : found->shape;
}

std::int16_t thicknessAt(float x, float y)
{
    const auto found = fieldAt(kThicknessFields, x, y);
    return found == kThicknessFields.end() ? std::int16_t(0) : found->width;
}

std::optional<ColourField> colourAt(float x, float y)
{
    const auto found = fieldAt(kColourFields, x, y);
    if (found == kColourFields.end())
        return std::nullopt;
    return *found;
}

QString shapePictureName(std::int16_t shape)
{
    for (const ShapeField &field : kShapeFields) {
        if (field.shape == shape)
            return field.pictureName.toString();
    }
    return {};
}

QString thicknessPictureName(std::int16_t width)
{
    for (const ThicknessField &field : kThicknessFields) {
        if (field.width == width)
            return field.pictureName.toString();
    }
    return {};
}

QString colourPictureName(PaletteRgb rgb)
{
    for (const ColourField &field : kColourFields) {
        if (field.rgb == rgb)
            return field.pictureName.toString();
    }
    return {};
}
