#pragma once

#include "trace/colour_match.h"
#include "trace/ink_run.h"
#include "trace/pixel_view.h"

#include <QRect>

#include <cstdint>
#include <functional>
#include <vector>

// A JPEG copy keeps a picture's luminance pixel by pixel but its colour only as a mean over blocks of 2x2
// pixels (chroma subsampling), and then compresses that colour hardest: a coloured stroke a pixel or two wide
// keeps its darkness but loses most of its colour, towards the grey of the same darkness, some of it to the
// paper beside it. Such a pixel holds the colour by its darkness, how far its luminance went from the paper's
// towards the colour's, where the colour it kept is the colour's, diluted.
struct DarknessInk {
    float paper[3] = {};
    float inverseSpan = 0; // 1 / (the colour's luminance less the paper's)
    float lumaSpan = 0;
    // The colour's chroma is its difference from the paper less the grey of its difference in luminance.
    float keptProjection[3] = {}; // weight * chroma / |chroma|^2: a dot product with it gives the kept share
    float keptOfLuma = 0;         // what the grey of a luminance difference adds to that dot product, per unit
    float chromaLength2 = 0;      // |chroma|^2 in the weighted metric
    float chromaLength = 0;
    float mostOff = 0;   // how far the colour a pixel kept may be from the colour's
    bool usable = false; // the colour is colourful, and far enough in luminance from the paper

    static constexpr float kLuma[3] = {0.299f, 0.587f, 0.114f}; // the luminance JPEG keeps whole
    // A diluted pixel is at least this dark.
    static constexpr float kLeastDarkness = 0.45f;
    // The least share of the colour's chroma a diluted pixel kept, of its darkness: a grey keeps none.
    static constexpr float kLeastKept = 0.1f;

    // Where a pixel lies: `darkness` 0 at the paper, 1 at the colour's luminance; `kept` the share of the
    // colour's chroma it kept, as much as `darkness` for a mixture of the paper and the colour.
    struct Parts {
        float darkness = 0;
        float kept = 0;
    };
    [[nodiscard]] Parts partsOf(std::uint32_t argb) const;

    // The pixel's darkness where its colour is the colour's diluted towards its grey, nought elsewhere. Most
    // pixels are told by their luminance and the chroma they kept alone.
    [[nodiscard]] float diluted(std::uint32_t argb) const
    {
        if (!usable)
            return 0;
        const float v[3] = {float((argb >> 16) & 0xff) - paper[0], float((argb >> 8) & 0xff) - paper[1],
                            float(argb & 0xff) - paper[2]};
        const float dy = kLuma[0] * v[0] + kLuma[1] * v[1] + kLuma[2] * v[2];
        const float d = dy * inverseSpan;
        if (d < kLeastDarkness)
            return 0;
        const float kept =
            v[0] * keptProjection[0] + v[1] * keptProjection[1] + v[2] * keptProjection[2] - dy * keptOfLuma;
        if (kept < kLeastKept * d)
            return 0;
        return keptTheColoursWay(v, dy, kept) ? (d < 1 ? d : 1) : 0;
    }

private:
    // JPEG noise aside, what colour a diluted pixel kept points the colour's way.
    [[nodiscard]] bool keptTheColoursWay(const float v[3], float dy, float kept) const;
};

[[nodiscard]] DarknessInk darknessInk(std::uint32_t colour, std::uint32_t background, int tolerance);

// The ink of marker mode: a pixel's share of the colour as the line of mixtures tells it and, where the picture
// shows chroma subsampling, by its darkness where subsampling took its colour.
struct MarkerInk {
    InkModel model;
    DarknessInk darkness;
    bool subsampled = false;

    [[nodiscard]] float ink(std::uint32_t argb) const
    {
        const float a = model.ink(argb);
        if (!subsampled || a >= 1)
            return a;
        const float b = darkness.diluted(argb);
        return b > a ? b : a;
    }
};

// Whether the pixels that hold the colour by darkness alone, `candidates`, show chroma subsampling: the colour
// they lack lies on the paper beside them, which holds more of it than its darkness explains. A picture that
// never went through JPEG has none there.
[[nodiscard]] bool showsChromaSubsampling(const PixelView &picture, const DarknessInk &darkness,
                                          const std::vector<InkRunOnRow> &candidates);

// The colour the pixels of `area` kept, summed: `along` the colour's way and `aside` of it, in pixels of the
// whole colour, and their `darkness`, in pixels of the colour's luminance. A mixture of the paper and the
// colour keeps as much colour as it is dark; a JPEG copy keeps less, the thinner the strokes the less; a colour
// nearer its grey keeps less again, one of another hue keeps some aside.
struct KeptColour {
    float along = 0;
    float aside = 0;
    float darkness = 0;
};
// `leftOut`, where given, tells pixels not to count.
[[nodiscard]] KeptColour keptColour(const PixelView &picture, const DarknessInk &darkness, QRect area,
                                    const std::function<bool(int, int)> &leftOut = {});
