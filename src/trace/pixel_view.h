#pragma once

#include <QtGlobal>

#include <cstdint>

// src/trace/pixel_view.h: the UI hands the core what QImage::constBits() points at, in Format_RGB32.
// Places in the picture are in pixels, sub-pixel, with pixel (x, y) covering [x, x + 1) x [y, y + 1): its
// centre is at (x + 0.5, y + 0.5).
struct PixelView {
    const std::uint32_t *pixels = nullptr;
    int width = 0;
    int height = 0;
    qsizetype stride = 0; // in pixels
    [[nodiscard]] std::uint32_t at(int x, int y) const { return pixels[y * stride + x]; }
    [[nodiscard]] bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};
