#include "trace/ink_components.h"

#include "trace/union_find.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr float kSolid = 0.5f;

// A pixel can hold half of the colour only when one of its channels has gone at least half of the colour's
// distance from the background: the weights of the distance add up to one, so no channel moves less than
// the whole does. That test, on whole numbers, passes over the paper without the full one.
struct QuickTest {
    int background[3];
    int least; // of the largest channel difference
    [[nodiscard]] bool mayHoldInk(std::uint32_t p) const
    {
        const int r = std::abs(int((p >> 16) & 0xff) - background[0]);
        const int g = std::abs(int((p >> 8) & 0xff) - background[1]);
        const int b = std::abs(int(p & 0xff) - background[2]);
        return std::max(r, std::max(g, b)) >= least;
    }
};

QuickTest quickTest(const InkModel &model)
{
    QuickTest t;
    for (int i = 0; i < 3; ++i)
        t.background[i] = int(std::lround(model.background[i]));
    t.least = std::max(0, int(std::floor(kSolid * std::sqrt(model.weightedLength2))) - 1);
    return t;
}

// Whether any of the 16 pixels from `row` may hold ink, by the quick test on all their channels at once.
#if defined(__SSE2__)
struct PaperTest {
    __m128i paper;
    __m128i below; // the least difference less one, in every colour byte; nought in the alpha bytes
    explicit PaperTest(const QuickTest &t)
    {
        const std::uint32_t p =
            std::uint32_t(t.background[0]) << 16 | std::uint32_t(t.background[1]) << 8 | std::uint32_t(t.background[2]);
        const int b = std::clamp(t.least - 1, 0, 254);
        paper = _mm_set1_epi32(int(p));
        below = _mm_set1_epi32(b << 16 | b << 8 | b);
    }
    [[nodiscard]] bool anyOf16(const std::uint32_t *row) const
    {
        const __m128i colours = _mm_set1_epi32(0x00ffffff);
        __m128i over = _mm_setzero_si128();
        for (int k = 0; k < 4; ++k) {
            const __m128i v = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(row + 4 * k)), colours);
            const __m128i difference = _mm_or_si128(_mm_subs_epu8(v, paper), _mm_subs_epu8(paper, v));
            over = _mm_or_si128(over, _mm_subs_epu8(difference, below));
        }
        return _mm_movemask_epi8(_mm_cmpeq_epi8(over, _mm_setzero_si128())) != 0xffff;
    }
};
#else
struct PaperTest {
    QuickTest quick;
    explicit PaperTest(const QuickTest &t)
        : quick(t)
    {}
    [[nodiscard]] bool anyOf16(const std::uint32_t *row) const
    {
        bool any = false;
        for (int k = 0; k < 16; ++k)
            any |= quick.mayHoldInk(row[k]);
        return any;
    }
};
#endif

// The runs of ink on row `y`, appended to `runs`; with `ink`, the runs of the pixels that hold the colour by
// their darkness alone, appended to `dark`.
void rowRuns(const PixelView &picture, const InkModel &model, const MarkerInk *ink, const QuickTest &quick,
             const PaperTest &paper, int y, std::vector<InkRunOnRow> &runs, std::vector<InkRunOnRow> &dark)
{
    const std::uint32_t *row = picture.pixels + qsizetype(y) * picture.stride;
    int x = 0;
    const int width = picture.width;
    while (x < width) {
        // Sixteen pixels at a time over the paper.
        while (x + 16 <= width && !paper.anyOf16(row + x))
            x += 16;
        if (x >= width)
            break;
        if (!quick.mayHoldInk(row[x])) {
            ++x;
            continue;
        }
        if (model.ink(row[x]) < kSolid) {
            if (ink && ink->darkness.diluted(row[x]) >= kSolid) {
                if (!dark.empty() && dark.back().y == y && dark.back().x1 == x - 1)
                    dark.back().x1 = x;
                else
                    dark.push_back({y, x, x});
            }
            ++x;
            continue;
        }
        const int start = x;
        while (x + 1 < width && model.ink(row[x + 1]) >= kSolid)
            ++x;
        runs.push_back({y, start, x});
        ++x;
    }
}

// The pieces the runs make, in order of rows and then x, no two on a row touching.
std::vector<InkComponent> componentsOf(const std::vector<InkRunOnRow> &runs, int largest)
{
    std::vector<InkComponent> out;
    Forest forest;
    forest.parent.resize(runs.size());
    std::iota(forest.parent.begin(), forest.parent.end(), 0);
    std::size_t previousBegin = 0;
    std::size_t previousEnd = 0;
    for (std::size_t begin = 0; begin < runs.size();) {
        const int y = runs[begin].y;
        std::size_t end = begin;
        while (end < runs.size() && runs[end].y == y)
            ++end;
        if (previousEnd > previousBegin && runs[previousBegin].y != y - 1)
            previousBegin = previousEnd;
        // Runs of neighbouring rows touch when they overlap or meet at a corner; both lists are in order of x.
        std::size_t j = previousBegin;
        for (std::size_t i = begin; i < end; ++i) {
            while (j < previousEnd && runs[j].x1 < runs[i].x0 - 1)
                ++j;
            for (std::size_t k = j; k < previousEnd && runs[k].x0 <= runs[i].x1 + 1; ++k)
                forest.join(int(i), int(k));
        }
        previousBegin = begin;
        previousEnd = end;
        begin = end;
    }
    std::vector<int> slot(runs.size(), -1);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const int root = forest.find(int(i));
        int &s = slot[std::size_t(root)];
        if (s < 0) {
            s = int(out.size());
            out.emplace_back();
        }
        InkComponent &c = out[std::size_t(s)];
        const InkRunOnRow &r = runs[i];
        c.bounds |= QRect(r.x0, r.y, r.x1 - r.x0 + 1, 1);
        c.pixels += r.x1 - r.x0 + 1;
        c.runs.push_back(r);
    }
    for (InkComponent &c : out) {
        if (c.bounds.width() > largest || c.bounds.height() > largest)
            std::vector<InkRunOnRow>().swap(c.runs);
    }
    return out;
}

// The runs of both lists in order of rows and then x, those that meet on a row made one.
std::vector<InkRunOnRow> merged(const std::vector<InkRunOnRow> &a, const std::vector<InkRunOnRow> &b)
{
    std::vector<InkRunOnRow> all;
    all.reserve(a.size() + b.size());
    std::merge(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(all),
               [](const InkRunOnRow &p, const InkRunOnRow &q) { return p.y < q.y || (p.y == q.y && p.x0 < q.x0); });
    std::vector<InkRunOnRow> out;
    for (const InkRunOnRow &r : all) {
        if (!out.empty() && out.back().y == r.y && out.back().x1 + 1 >= r.x0)
            out.back().x1 = std::max(out.back().x1, r.x1);
        else
            out.push_back(r);
    }
    return out;
}

struct Scan {
    std::vector<InkRunOnRow> runs;
    std::vector<InkRunOnRow> dark;
};

Scan scan(const PixelView &picture, const InkModel &model, const MarkerInk *ink)
{
    Scan s;
    if (!findsInk(model) || picture.width <= 0 || picture.height <= 0)
        return s;
    // The paper is passed over as for the line of mixtures alone: a pixel with half the colour's darkness that
    // kept some of it has gone nearly as far in one channel.
    const QuickTest quick = quickTest(model);
    const PaperTest paper(quick);
    for (int y = 0; y < picture.height; ++y)
        rowRuns(picture, model, ink && ink->darkness.usable ? ink : nullptr, quick, paper, y, s.runs, s.dark);
    return s;
}

} // namespace

std::vector<InkComponent> inkComponents(const PixelView &picture, const InkModel &model, int largest)
{
    return componentsOf(scan(picture, model, nullptr).runs, largest);
}

MarkerComponents inkComponents(const PixelView &picture, const MarkerInk &ink, int largest)
{
    const Scan s = scan(picture, ink.model, &ink);
    MarkerComponents out;
    out.subsampled = !s.dark.empty() && showsChromaSubsampling(picture, ink.darkness, s.dark);
    out.pieces = componentsOf(out.subsampled ? merged(s.runs, s.dark) : s.runs, largest);
    return out;
}

std::vector<InkComponent> joinedFragments(std::vector<InkComponent> pieces)
{
    std::erase_if(pieces, [](const InkComponent &c) { return c.runs.empty(); });
    std::sort(pieces.begin(), pieces.end(),
              [](const InkComponent &a, const InkComponent &b) { return a.bounds.left() < b.bounds.left(); });
    Forest forest;
    forest.parent.resize(pieces.size());
    std::iota(forest.parent.begin(), forest.parent.end(), 0);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const QRect grown = pieces[i].bounds.adjusted(-2, -2, 2, 2); // a pixel of paper between
        for (std::size_t j = i + 1; j < pieces.size() && pieces[j].bounds.left() <= grown.right(); ++j) {
            if (grown.intersects(pieces[j].bounds))
                forest.join(int(i), int(j));
        }
    }
    std::vector<InkComponent> out;
    std::vector<int> slot(pieces.size(), -1);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        int &s = slot[std::size_t(forest.find(int(i)))];
        if (s < 0) {
            s = int(out.size());
            out.emplace_back();
        }
        InkComponent &c = out[std::size_t(s)];
        c.bounds |= pieces[i].bounds;
        c.pixels += pieces[i].pixels;
        c.runs.insert(c.runs.end(), pieces[i].runs.begin(), pieces[i].runs.end());
    }
    return out;
}
