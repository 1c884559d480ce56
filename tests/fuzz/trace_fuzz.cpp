// Any bytes as a small chart picture and a press on it, traced as the tool window traces: the colour picked
// under the press, a line traced from it, the markers of that colour found, a press snapped to it. No crash,
// and every point it gives is a number inside the picture (a stroke's end a pixel or two past its edge at most).
#include "fuzz_support.h"

#include "trace/colour_pick.h"
#include "trace/line_trace.h"
#include "trace/marker_find.h"
#include "trace/stroke_snap.h"

#include <QPointF>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr std::size_t kHeader = 8;
constexpr int kMostSide = 96;
// How far past the picture's edge a point may lie: an end found where a stroke's cap runs off it.
constexpr double kEdgeSlack = 3;

// Paper, a blue at several shares of a pixel, a red, greys and black: what strokes, their edges and a chart's
// furniture are made of, so that the fuzzer reaches strokes soon.
constexpr std::array<std::uint32_t, 16> kPalette = {
    0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xff143cc8, 0xff143cc8, 0xff5a77d6, 0xffa1b1e3,
    0xffd0d8f1, 0xffc81e1e, 0xffe08f8f, 0xff000000, 0xff7f7f7f, 0xffd7d7d7, 0xff2e354f, 0xff8a958f,
};

bool inside(QPointF p, int width, int height)
{
    return std::isfinite(p.x()) && std::isfinite(p.y()) && p.x() >= -kEdgeSlack && p.y() >= -kEdgeSlack &&
           p.x() <= width + kEdgeSlack && p.y() <= height + kEdgeSlack;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size <= kHeader)
        return 0;
    const int width = 1 + data[0] % kMostSide;
    const int height = 1 + data[1] % kMostSide;
    // The press anywhere on the picture or a little off it, to a quarter pixel.
    const QPointF press(data[2] / 255.0 * (width + 4) - 2, data[3] / 255.0 * (height + 4) - 2);
    TraceSettings settings;
    settings.colourTolerance = data[4];
    settings.stepPx = 1 + data[5] % 200;
    const bool twoBytesAPixel = data[6] & 1;

    // The pixels, repeated from the bytes after the header as often as the picture needs them.
    std::vector<std::uint32_t> pixels(std::size_t(width) * std::size_t(height));
    const std::uint8_t *body = data + kHeader;
    const std::size_t bodySize = size - kHeader;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (twoBytesAPixel) {
            // Any colour, in 4 bits a channel.
            const std::uint32_t a = body[(2 * i) % bodySize], b = body[(2 * i + 1) % bodySize];
            pixels[i] = 0xff000000u | (a >> 4) * 0x110000u | (a & 15) * 0x1100u | (b & 15) * 0x11u;
        } else {
            pixels[i] = kPalette[body[i % bodySize] & 15];
        }
    }
    const PixelView view{pixels.data(), width, height, width};

    const std::optional<PickedStroke> picked = pickStroke(view, press);
    if (!picked)
        return 0;
    require(inside(picked->start, width, height), "the pick starts inside the picture");
    for (const QPointF &p : traceLine(view, picked->start, picked->argb, settings))
        require(inside(p, width, height), "every traced point lies inside the picture");
    for (const QPointF &p : findMarkers(view, picked->argb, settings))
        require(inside(p, width, height), "every marker lies inside the picture");
    if (const std::optional<QPointF> snapped = snapToStroke(view, press, picked->argb, settings.colourTolerance))
        require(inside(*snapped, width, height), "a snapped press lies inside the picture");
    return 0;
}
