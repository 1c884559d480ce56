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
    // weight * the colour's chroma (its difference from the paper less the grey of it) / |chroma|^2, where that
    // chroma is more than noise: a dot product with a pixel's chroma gives the share of it the pixel kept
    float chromaProjection[3] = {};
    bool chromatic = false;        // that chroma is more than noise, and greys are told apart by it
    bool faintlyChromatic = false; // that chroma is little more than noise: a thin stroke's JPEG left, or a mixture

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
        if (chromatic && greyer(v, share < 1 ? share : 1))
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

    // A pixel that kept little of the colour's chroma for its share of it: a grey or black line (an axis, the
    // frame, a letter) where the colour is a dull one, as JPEG leaves a thin stroke, which greys come within the
    // tolerance of.
    [[nodiscard]] bool greyer(const float v[3], float share) const
    {
        const float neutral = kWeights[0] * v[0] + kWeights[1] * v[1] + kWeights[2] * v[2];
        const float kept = (v[0] - neutral) * chromaProjection[0] + (v[1] - neutral) * chromaProjection[1] +
                           (v[2] - neutral) * chromaProjection[2];
        return kept < (share < 1 ? kLeastKeptChromaPale : kLeastKeptChroma) * share;
    }

    static constexpr float kWeights[3] = {2.0f / 9, 4.0f / 9, 3.0f / 9};
    // A pixel as dark as the colour or darker keeps half of its chroma at least; a paler one, whose chroma JPEG
    // spreads more, a third of what its share gives.
    static constexpr float kLeastKeptChroma = 0.5f;
    static constexpr float kLeastKeptChromaPale = 0.35f;
};

// Where a pixel lies against the line of mixtures: `share` 0 at the background, 1 at the colour, more past
// it; `offset` its distance from the line.
struct Mixture {
    float share = 0;
    float offset = 0;
};
[[nodiscard]] Mixture mixtureOf(const InkModel &model, std::uint32_t argb);

// The model for `colour` on `background`, or one that finds no ink at all when the two are closer than the
// tolerance allows to tell apart. With `greysApart`, where the colour keeps more chroma than noise, pixels that
// kept too little of it for their share are no ink (InkModel::greyer).
[[nodiscard]] InkModel inkModel(std::uint32_t colour, std::uint32_t background, int tolerance, bool greysApart = false);
[[nodiscard]] bool findsInk(const InkModel &model);
