#include "trace/marker_cover.h"

#include "trace/colour_match.h"

#include <gtest/gtest.h>

#include <QRect>

#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kPaper = 0xffffffff;
constexpr std::uint32_t kRed = 0xffc82828;
constexpr std::uint32_t kBlue = 0xff143cc8;
constexpr std::uint32_t kPaleRed = 0xffeebebe; // a third of the red

// A small aliased picture of rectangles of colour on white paper.
struct Picture {
    int width = 80, height = 40;
    std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(std::size_t(width * height), kPaper);

    void fill(QRect r, std::uint32_t colour)
    {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x)
                pixels[std::size_t(y * width + x)] = colour;
        }
    }
    [[nodiscard]] PixelView view() const { return {pixels.data(), width, height, width}; }
};

std::vector<QRect> joinedBounds(const Picture &p)
{
    const MarkerInk ink{inkModel(kRed, kPaper, 40), darknessInk(kRed, kPaper, 40)};
    std::vector<QRect> bounds;
    for (const InkComponent &c :
         joinedAcrossOtherInk(inkComponents(p.view(), ink, 8192).pieces, p.view(), ink, kPaper, 22))
        bounds.push_back(c.bounds);
    std::sort(bounds.begin(), bounds.end(), [](QRect a, QRect b) { return a.left() < b.left(); });
    return bounds;
}

} // namespace

TEST(JoinedAcrossOtherInk, JoinsTheHalvesOfOneMarkerOnly)
{
    const struct {
        std::string name;
        std::vector<std::pair<QRect, std::uint32_t>> drawn; // in order
        std::vector<QRect> pieces;
    } cases[] = {
        {"a 10 px square cut by a line of another colour",
         {{QRect(20, 10, 10, 10), kRed}, {QRect(10, 14, 40, 3), kBlue}},
         {QRect(20, 10, 10, 10)}},
        {"two 6 px squares with that line between them",
         {{QRect(20, 10, 6, 6), kRed}, {QRect(29, 10, 6, 6), kRed}, {QRect(26, 2, 3, 30), kBlue}},
         {QRect(20, 10, 6, 6), QRect(29, 10, 6, 6)}},
        {"two pieces of the colour with its faint edge between them", // letters of a word
         {{QRect(20, 10, 4, 10), kRed}, {QRect(26, 10, 4, 10), kRed}, {QRect(24, 10, 2, 10), kPaleRed}},
         {QRect(20, 10, 4, 10), QRect(26, 10, 4, 10)}},
        {"halves too far apart for one marker",
         {{QRect(20, 10, 10, 10), kRed}, {QRect(20, 26, 10, 10), kRed}, {QRect(10, 20, 40, 6), kBlue}},
         {QRect(20, 10, 10, 10), QRect(20, 26, 10, 10)}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Picture p;
        for (const auto &[r, colour] : c.drawn)
            p.fill(r, colour);
        const std::vector<QRect> found = joinedBounds(p);
        ASSERT_EQ(found.size(), c.pieces.size());
        for (std::size_t i = 0; i < found.size(); ++i)
            EXPECT_EQ(found[i], c.pieces[i]) << "piece " << i;
    }
}

TEST(CoverWithin, TellsAMarkerAnotherColourHidesFromOneDrawnOverIt)
{
    const struct {
        std::string name;
        std::vector<std::pair<QRect, std::uint32_t>> drawn; // in order
        bool within;
    } cases[] = {
        {"a square a line crosses", {{QRect(20, 10, 10, 10), kRed}, {QRect(10, 14, 40, 3), kBlue}}, true},
        {"a square drawn over that line", {{QRect(10, 14, 40, 3), kBlue}, {QRect(20, 10, 10, 10), kRed}}, false},
        {"a square the line runs beside", {{QRect(20, 10, 10, 10), kRed}, {QRect(10, 20, 40, 3), kBlue}}, false},
        {"an outline the line crosses inside",
         {{QRect(20, 10, 10, 10), kRed}, {QRect(22, 12, 6, 6), kPaper}, {QRect(22, 14, 6, 2), kBlue}},
         true},
    };
    const MarkerInk ink{inkModel(kRed, kPaper, 40), darknessInk(kRed, kPaper, 40)};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Picture p;
        for (const auto &[r, colour] : c.drawn)
            p.fill(r, colour);
        const std::vector<InkComponent> pieces =
            joinedAcrossOtherInk(inkComponents(p.view(), ink, 8192).pieces, p.view(), ink, kPaper, 22);
        ASSERT_EQ(pieces.size(), 1u);
        EXPECT_EQ(coverWithin(CoverInk(p.view(), ink, kPaper), pieces[0]), c.within);
    }
}
