#pragma once

// Controls are laid out and mouse positions are delivered in twips; the program draws at a fixed
// 15 twips per (logical) pixel.
inline constexpr float kTwipsPerPixel = 15.0f;

// A control's place in twips. Single precision, like the arithmetic that produces it.
struct TwipsRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;

    friend bool operator==(const TwipsRect &, const TwipsRect &) = default;
};

struct TwipsPoint {
    float left = 0;
    float top = 0;

    friend bool operator==(const TwipsPoint &, const TwipsPoint &) = default;
};
