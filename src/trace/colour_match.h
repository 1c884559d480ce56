#pragma once

#include <cstdint>

// Colours are compared by a weighted RGB distance (weights 2, 4 and 3 on the squared red, green and blue
// differences, as the eye tells greens apart best), scaled so that black to white is 255. A colour tolerance
// is a distance on that scale: 40 takes in JPEG noise and the slight tint of a scan, while red and green stay
// 208 apart and black and mid grey 128.
[[nodiscard]] double colourDistance(std::uint32_t a, std::uint32_t b);

// How much of a stroke's colour a pixel holds on a picture with a known background. A pixel on the way from
// the background to the colour (an anti-aliased edge, JPEG blur) holds the share it has gone; one at the
// colour, or past it away from the background (a darker core), holds all of it. A pixel farther from that
// line of mixtures than the tolerance, scaled by its share (down to half), holds nothing: another colour,
// however close to the stroke.
struct InkModel {
    float background[3] = {};
    float towards[3] = {};     // colour - background
    float projection[3] = {};  // weight * towards / |towards|^2: a dot product with it gives the share
    float weightedLength2 = 0; // |towards|^2 in the weighted metric
    float tolerance2 = 0;
    bool colourful = false; // far from every grey

    [[nodiscard]] float ink(std::uint32_t argb) const
    {
        const float v[3] = {float((argb >> 16) & 0xff) - background[0], float((argb >> 8) & 0xff) - background[1],
                            float(argb & 0xff) - background[2]};
        const float share = v[0] * projection[0] + v[1] * projection[1] + v[2] * projection[2];
        const float length2 = kWeights[0] * v[0] * v[0] + kWeights[1] * v[1] * v[1] + kWeights[2] * v[2] * v[2];
        // Pythagoras in the weighted metric: what is left beside the line of mixtures. A pale pixel is held to
        // a tighter tolerance: mixed half with the background, a grey is as far from a blue's edge as a blue is.
        const float off2 = length2 - share * share * weightedLength2;
        const float scale = share > 0.5f ? (share < 1 ? share : 1) : 0.5f;
        if (off2 > tolerance2 * scale * scale || share <= 0)
            return 0;
        if (share < 0.5f && colourful && grey(v, length2, off2))
            return 0;
        return share < 1 ? share : 1;
    }

    // A pale pixel that a mixture of the background with a grey (a grid line, the edge of a letter) explains
    // far better than one with a stroke of colour is that grey's.
    [[nodiscard]] bool grey(const float v[3], float length2, float off2) const
    {
        const float neutral = kWeights[0] * v[0] + kWeights[1] * v[1] + kWeights[2] * v[2];
        return length2 - neutral * neutral < 0.25f * off2;
    }

    static constexpr float kWeights[3] = {2.0f / 9, 4.0f / 9, 3.0f / 9};
};

// Where a pixel lies against the line of mixtures: `share` 0 at the background, 1 at the colour, more past
// it; `offset` its distance from the line.
struct Mixture {
    float share = 0;
    float offset = 0;
};
[[nodiscard]] Mixture mixtureOf(const InkModel &model, std::uint32_t argb);

// The model for `colour` on `background`, or one that finds no ink at all when the two are closer than the
// tolerance allows to tell apart.
[[nodiscard]] InkModel inkModel(std::uint32_t colour, std::uint32_t background, int tolerance);
[[nodiscard]] bool findsInk(const InkModel &model);
