#include "trace/colour_match.h"

#include <algorithm>
#include <cmath>

namespace {

void channels(std::uint32_t argb, float out[3])
{
    out[0] = float((argb >> 16) & 0xff);
    out[1] = float((argb >> 8) & 0xff);
    out[2] = float(argb & 0xff);
}

// Below this the colour is too near the background for its share in a pixel to mean anything.
constexpr float kLeastContrast = 24;
// Less chroma than this is noise: the colour is a grey's. JPEG leaves the core of a grey stroke within 8 of
// none. A thin stroke of colour may keep little more than 12, and a grey one as much where it crosses a
// colour's: below the clear chroma, the stroke around must keep it too.
constexpr float kLeastChroma = 12;
constexpr float kClearChroma = 15;

} // namespace

double colourDistance(std::uint32_t a, std::uint32_t b)
{
    float ca[3], cb[3];
    channels(a, ca);
    channels(b, cb);
    double sum = 0;
    for (int i = 0; i < 3; ++i)
        sum += InkModel::kWeights[i] * double(ca[i] - cb[i]) * double(ca[i] - cb[i]);
    return std::sqrt(sum);
}

InkModel inkModel(std::uint32_t colour, std::uint32_t background, int tolerance, bool greysApart)
{
    InkModel model;
    float c[3];
    channels(colour, c);
    channels(background, model.background);
    for (int i = 0; i < 3; ++i)
        model.towards[i] = c[i] - model.background[i];
    for (int i = 0; i < 3; ++i)
        model.weightedLength2 += InkModel::kWeights[i] * model.towards[i] * model.towards[i];
    const float tol = float(std::clamp(tolerance, 0, 255));
    if (model.weightedLength2 < std::max(kLeastContrast, tol * 0.5f) * std::max(kLeastContrast, tol * 0.5f)) {
        model.weightedLength2 = 0;
        return model; // projection stays zero: nothing is ink
    }
    for (int i = 0; i < 3; ++i)
        model.projection[i] = InkModel::kWeights[i] * model.towards[i] / model.weightedLength2;
    model.tolerance2 = tol * tol;
    // The colour's own distance from the greys: the weights add up to one, so this is the part of its way from
    // the background that no grey goes.
    const float neutral = InkModel::kWeights[0] * model.towards[0] + InkModel::kWeights[1] * model.towards[1] +
                          InkModel::kWeights[2] * model.towards[2];
    model.colourful = model.weightedLength2 - neutral * neutral > 0.1f * model.weightedLength2;
    float chroma[3], chromaLength2 = 0;
    for (int i = 0; i < 3; ++i) {
        chroma[i] = model.towards[i] - neutral;
        chromaLength2 += InkModel::kWeights[i] * chroma[i] * chroma[i];
    }
    model.chromatic = greysApart && chromaLength2 > kLeastChroma * kLeastChroma;
    model.faintlyChromatic = model.chromatic && chromaLength2 <= kClearChroma * kClearChroma;
    if (model.chromatic) {
        for (int i = 0; i < 3; ++i)
            model.chromaProjection[i] = InkModel::kWeights[i] * chroma[i] / chromaLength2;
    }
    return model;
}

bool findsInk(const InkModel &model)
{
    return model.weightedLength2 > 0;
}

Mixture mixtureOf(const InkModel &model, std::uint32_t argb)
{
    float p[3];
    channels(argb, p);
    float length2 = 0;
    Mixture m;
    for (int i = 0; i < 3; ++i) {
        const float v = p[i] - model.background[i];
        m.share += v * model.projection[i];
        length2 += InkModel::kWeights[i] * v * v;
    }
    m.offset = std::sqrt(std::max(0.0f, length2 - m.share * m.share * model.weightedLength2));
    return m;
}
