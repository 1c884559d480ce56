#include "trace/marker_ink.h"

#include <algorithm>
#include <cmath>

namespace {

// Below these the colour's luminance or its colourfulness tell too little.
constexpr float kLeastLumaSpan = 48;
constexpr float kLeastChroma = 24;
// Paper beside a stroke holds this much more of the colour than its darkness in a JPEG copy, at least.
constexpr float kSpilled = 0.04f;
constexpr float kSpillPale = 0.3f;

void differenceFrom(const float paper[3], std::uint32_t argb, float v[3])
{
    v[0] = float((argb >> 16) & 0xff) - paper[0];
    v[1] = float((argb >> 8) & 0xff) - paper[1];
    v[2] = float(argb & 0xff) - paper[2];
}

} // namespace

DarknessInk darknessInk(std::uint32_t colour, std::uint32_t background, int tolerance)
{
    DarknessInk d;
    d.paper[0] = float((background >> 16) & 0xff);
    d.paper[1] = float((background >> 8) & 0xff);
    d.paper[2] = float(background & 0xff);
    float v[3];
    differenceFrom(d.paper, colour, v);
    const float span = DarknessInk::kLuma[0] * v[0] + DarknessInk::kLuma[1] * v[1] + DarknessInk::kLuma[2] * v[2];
    float chroma[3];
    for (int i = 0; i < 3; ++i) {
        chroma[i] = v[i] - span;
        d.chromaLength2 += InkModel::kWeights[i] * chroma[i] * chroma[i];
    }
    d.chromaLength = std::sqrt(d.chromaLength2);
    d.usable = std::abs(span) >= kLeastLumaSpan && d.chromaLength >= kLeastChroma;
    if (!d.usable)
        return d;
    d.inverseSpan = 1 / span;
    for (int i = 0; i < 3; ++i) {
        d.keptProjection[i] = InkModel::kWeights[i] * chroma[i] / d.chromaLength2;
        d.keptOfLuma += d.keptProjection[i];
    }
    d.mostOff = 0.2f * float(std::clamp(tolerance, 0, 255));
    return d;
}

DarknessInk::Parts DarknessInk::partsOf(std::uint32_t argb) const
{
    float v[3];
    differenceFrom(paper, argb, v);
    const float dy = kLuma[0] * v[0] + kLuma[1] * v[1] + kLuma[2] * v[2];
    return {dy * inverseSpan,
            v[0] * keptProjection[0] + v[1] * keptProjection[1] + v[2] * keptProjection[2] - dy * keptOfLuma};
}

bool DarknessInk::keptTheColoursWay(const float v[3], float dy, float kept) const
{
    float length2 = 0;
    for (int i = 0; i < 3; ++i)
        length2 += InkModel::kWeights[i] * (v[i] - dy) * (v[i] - dy);
    const float off = std::sqrt(std::max(0.0f, length2 - kept * kept * chromaLength2));
    return off <= mostOff && off <= 0.6f * kept * chromaLength + 2;
}

bool showsChromaSubsampling(const PixelView &picture, const DarknessInk &darkness,
                            const std::vector<InkRunOnRow> &candidates)
{
    long long pixels = 0, spilled = 0;
    for (const InkRunOnRow &r : candidates) {
        for (int x = r.x0; x <= r.x1; ++x) {
            ++pixels;
            bool spill = false;
            for (int v = -1; v <= 1 && !spill; ++v) {
                for (int u = -1; u <= 1 && !spill; ++u) {
                    if (!picture.contains(x + u, r.y + v))
                        continue;
                    const DarknessInk::Parts p = darkness.partsOf(picture.at(x + u, r.y + v));
                    spill = p.darkness < kSpillPale && p.kept - std::max(p.darkness, 0.0f) >= kSpilled;
                }
            }
            spilled += spill ? 1 : 0;
        }
    }
    // A JPEG copy shows it beside more than half of them; a quarter is plenty.
    return pixels > 0 && spilled * 4 >= pixels;
}

KeptColour keptColour(const PixelView &picture, const DarknessInk &darkness, QRect area,
                      const std::function<bool(int, int)> &leftOut)
{
    area &= QRect(0, 0, picture.width, picture.height);
    float chroma[3] = {};
    KeptColour k;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (leftOut && leftOut(x, y))
                continue;
            float v[3];
            differenceFrom(darkness.paper, picture.at(x, y), v);
            const float dy = DarknessInk::kLuma[0] * v[0] + DarknessInk::kLuma[1] * v[1] + DarknessInk::kLuma[2] * v[2];
            for (int i = 0; i < 3; ++i)
                chroma[i] += v[i] - dy;
            k.darkness += dy * darkness.inverseSpan;
        }
    }
    float length2 = 0;
    for (int i = 0; i < 3; ++i) {
        k.along += chroma[i] * darkness.keptProjection[i];
        length2 += InkModel::kWeights[i] * chroma[i] * chroma[i];
    }
    k.aside = std::sqrt(std::max(0.0f, length2 - k.along * k.along * darkness.chromaLength2)) / darkness.chromaLength;
    return k;
}
