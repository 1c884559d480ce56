#include "trace/marker_find.h"

#include "trace/background.h"
#include "trace/colour_groups.h"
#include "trace/colour_match.h"
#include "trace/ink_components.h"
#include "trace/marker_cover.h"
#include "trace/marker_crossings.h"
#include "trace/marker_hidden.h"
#include "trace/marker_holes.h"
#include "trace/marker_opening.h"
#include "trace/marker_patch.h"
#include "trace/marker_shape.h"
#include "trace/plot_frame.h"
#include "trace/runs_by_row.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Markers are 3 to 20 pixels across; their anti-aliased edges add a pixel each side.
constexpr int kLargestMarker = 22;
// Pieces up to this many pixels across keep their pixels, so that markers on a line can be found in them.
constexpr int kLookedAtWhole = 8192;
constexpr int kSmallestMarker = 1;
// A marker is no longer than twice its width; a dash or a piece of line is.
constexpr double kMostElongation = 2.0;
// Two markers side by side that touch are no longer than this.
constexpr double kLongestPair = 3.2;
// How far a thin cross's arms reach from its middle, for its legend sample.
constexpr int kCrossReach = 5;
// Words: three pieces or more in a row, close together, not all alike.
constexpr int kFewestLetters = 3;
// Letters a line of their colour runs through join it: the word goes on across as many as this, by their height.
constexpr int kLettersAcrossLine = 3;
// A legend box's frame runs on for this many pixels at least; a letter's stroke does not.
constexpr int kFrameRun = 20;
// How far past the paper it closes in an outline reaches, its soft edge included.
constexpr int kOutlineReach = 4;
// The skew of the insides of the outlines of a series, below which they are no triangles'.
constexpr double kMostHoleSkew = 0.3;
// The skew down the rows that tells a series of outlined triangles of at least this many pixels across, their
// faint edge included.
constexpr double kLeastSeriesSkew = 0.25;
constexpr double kLeastSkewedExtent = 4;
// Of the colour the most colourful markers kept through JPEG, a marker of theirs keeps this share at least.
constexpr float kLeastOfMostColourful = 0.65f;
// ... and what it kept points its way, within about 17 degrees.
constexpr float kMostTurn = 0.3f;
// A marker that another colour's ink touches and that holds this share of an uncovered one's ink shows it whole.
constexpr double kWholeShare = 0.97;
// The fewest markers shown whole that tell what their series looks like, and as many as it takes.
constexpr std::size_t kFewestLooks = 2;
constexpr std::size_t kMostLooks = 8;
// Where too few markers show whole, at least this many, some hidden in part, tell each other's centres.
constexpr std::size_t kFewestPartLooks = 3;

struct Candidate {
    const InkComponent *piece = nullptr;
    InkShape shape;
    bool text = false;
    bool otherColour = false;
    bool offLine = false;
    bool covered = false; // ink of another colour lies over it
};

std::uint32_t paperOf(const PixelView &picture)
{
    const double area = double(picture.width) * picture.height;
    const int spacing = std::max(1, int(std::sqrt(area / 20000)));
    return commonestColour(picture, QRect(0, 0, picture.width, picture.height), spacing);
}

bool alike(const QRect &a, const QRect &b)
{
    const auto near = [](int p, int q) { return std::abs(p - q) <= std::max(1, std::max(p, q) / 5); };
    return near(a.width(), b.width()) && near(a.height(), b.height());
}

// Marks the candidates that stand in rows like letters of a word: side by side on a common band, each less
// than its height from the next or with the ink of a line between, and not all alike (a row of equal markers
// stays).
void markWords(std::vector<Candidate> &candidates, RunsByRow &lines)
{
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate &a, const Candidate &b) { return a.piece->bounds.left() < b.piece->bounds.left(); });
    std::vector<std::vector<std::size_t>> rows;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const QRect r = candidates[i].piece->bounds;
        bool placed = false;
        for (auto &row : rows) {
            const QRect last = candidates[row.back()].piece->bounds;
            const int top = std::max(r.top(), last.top());
            const int overlap = std::min(r.bottom(), last.bottom()) - top + 1;
            const int gap = r.left() - last.right() - 1;
            const int height = std::max(r.height(), last.height());
            const auto acrossLine = [&] {
                return gap < kLettersAcrossLine * height && lines.inkWithin(QRect(last.right() + 1, top, gap, overlap));
            };
            if (overlap >= std::min(r.height(), last.height()) / 2 && gap >= -1 && (gap < height || acrossLine())) {
                row.push_back(i);
                placed = true;
                break;
            }
        }
        if (!placed)
            rows.push_back({i});
    }
    for (const auto &row : rows) {
        if (int(row.size()) < kFewestLetters)
            continue;
        bool allAlike = true;
        for (std::size_t k = 1; k < row.size(); ++k)
            allAlike = allAlike && alike(candidates[row[k]].piece->bounds, candidates[row[0]].piece->bounds);
        if (!allAlike) {
            for (std::size_t i : row)
                candidates[i].text = true;
        }
    }
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
    return v[v.size() / 2];
}

bool single(const Candidate &c)
{
    const QRect b = c.piece->bounds;
    return b.width() <= kLargestMarker && b.height() <= kLargestMarker && c.shape.elongation <= kMostElongation;
}

// In a JPEG copy the markers of a near colour (a darker or greyer red beside red ones, an orange) lose their
// colour as the markers do, and hold the colour by their darkness as they do; but around them, shaped alike, they
// keep less of it than the markers for their darkness, or some of another hue. The markers are taken to be the
// most colourful of the single pieces.
void markOtherColours(std::vector<Candidate> &candidates, const PixelView &picture, const DarknessInk &darkness,
                      const CoverInk &cover)
{
    std::vector<float> kept(candidates.size());
    std::vector<float> singles;
    // Another colour's ink over a marker, and its soft edge, would turn the colour it kept.
    const auto covering = [&](int x, int y) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (cover.at(x + dx, y + dy))
                    return true;
            }
        }
        return false;
    };
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const KeptColour k = keptColour(picture, darkness, candidates[i].piece->bounds.adjusted(-2, -2, 2, 2),
                                        candidates[i].covered ? covering : std::function<bool(int, int)>());
        // JPEG noise turns a marker's colour by up to a couple of pixels' worth.
        const bool turned = k.aside > kMostTurn * k.along + 2;
        kept[i] = k.darkness > 0 && !turned ? k.along / k.darkness : 0;
        if (!candidates[i].text && !candidates[i].covered && single(candidates[i]))
            singles.push_back(kept[i]);
    }
    if (singles.empty())
        return;
    const auto upperQuartile = singles.begin() + std::ptrdiff_t(singles.size() * 3 / 4);
    std::nth_element(singles.begin(), upperQuartile, singles.end());
    for (std::size_t i = 0; i < candidates.size(); ++i)
        candidates[i].otherColour = kept[i] < kLeastOfMostColourful * *upperQuartile;
}

struct Typical {
    double mass = 0;
    double size = 0;
    double spread = 0;
    QPointF offset; // of the centre from the centroid
};

// Two markers side by side that touch: twice as long as wide, their halves each holding as much ink as a
// typical marker, spread as much, and a marker's size apart. A legend's sample line through a marker is not:
// its halves hold a line each, which spreads them.
bool pair(const Candidate &c, const Halves &h, const Typical &typical)
{
    if (typical.mass <= 0 || c.shape.elongation < 1.5 || c.shape.elongation > kLongestPair)
        return false;
    const auto near = [](double v, double typicalValue) { return v > 0.7 * typicalValue && v < 1.3 * typicalValue; };
    const QPointF apart = h.centroid[1] - h.centroid[0];
    const double distance = std::hypot(apart.x(), apart.y());
    return near(h.mass[0], typical.mass) && near(h.mass[1], typical.mass) && near(h.spread[0], typical.spread) &&
           near(h.spread[1], typical.spread) && distance > 0.8 * typical.size && distance < 1.35 * typical.size;
}

// A legend's sample: a marker in a box, with its name written beside it on the right. On a chart drawn in the
// markers' colour (`drawnInTheColour`), the box and the name have it too.
bool inLegend(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper, const QRect &b,
              bool drawnInTheColour)
{
    const auto legendInk = [&](int x, int y) {
        return otherInk(picture, ink, paper, x, y) ||
               (drawnInTheColour && picture.contains(x, y) && ink.ink(picture.at(x, y)) >= 0.5f);
    };
    const int size = std::max(b.width(), b.height());
    const int cy = b.center().y();
    // The box, looked for first as it is told by fewer pixels: a line of that ink a little above and below the
    // marker, running across its column.
    const auto frameAt = [&](int step) {
        for (int k = size / 2 + 2; k <= 3 * size + 20; ++k) {
            const int y = cy + step * k;
            if (!legendInk(b.center().x(), y))
                continue;
            int run = 1;
            for (int x = b.center().x() + 1; run < kFrameRun && legendInk(x, y); ++x)
                ++run;
            for (int x = b.center().x() - 1; run < kFrameRun && legendInk(x, y); --x)
                ++run;
            return run >= kFrameRun;
        }
        return false;
    };
    if (!frameAt(-1) || !frameAt(1))
        return false;
    // Letters: ink in several columns with paper between some of them, within a few marker sizes. A row with a
    // long run of ink is the box's frame, not letters.
    const int band = std::max(4, size * 2 / 3);
    const int from = b.right() + 2;
    const int to = from + std::max(40, 4 * size);
    std::vector<bool> frameRow(std::size_t(2 * band + 1));
    for (int y = cy - band; y <= cy + band; ++y) {
        int run = 0;
        for (int x = from; x <= to && run < kFrameRun; ++x)
            run = legendInk(x, y) ? run + 1 : 0;
        frameRow[std::size_t(y - cy + band)] = run >= kFrameRun;
    }
    int columns = 0;
    int groups = 0;
    bool last = false;
    for (int x = from; x <= to; ++x) {
        bool any = false;
        for (int y = cy - band; y <= cy + band && !any; ++y)
            any = !frameRow[std::size_t(y - cy + band)] && legendInk(x, y);
        columns += any ? 1 : 0;
        groups += any && !last ? 1 : 0;
        last = any;
    }
    return columns >= 6 && groups >= 3;
}

// The marker round an inside: its outline and that outline's soft edge.
QRect outlineAround(const Hole &h)
{
    return h.bounds.adjusted(-kOutlineReach, -kOutlineReach, kOutlineReach, kOutlineReach);
}

// The insides of the markers of a series are alike: much less paper than a typical one is a scrap, much more
// is something else.
bool ofSeriesArea(const Hole &h, double typicalArea)
{
    return h.area >= 0.5 * typicalArea && h.area <= 1.6 * typicalArea;
}

// The insides of outlined markers on a line, alike as the markers of a series are.
template <typename InLegend> std::vector<Hole> seriesHoles(std::vector<Hole> found, const InLegend &inLegend)
{
    // Pieces of one outline that broke up may each close in its inside: the one that closes in most of it.
    std::sort(found.begin(), found.end(), [](const Hole &a, const Hole &b) { return a.area > b.area; });
    std::vector<Hole> holes;
    for (Hole &h : found) {
        if (std::none_of(holes.begin(), holes.end(), [&](const Hole &o) { return o.bounds.intersects(h.bounds); }))
            holes.push_back(std::move(h));
    }
    std::vector<double> areas, skews;
    for (const Hole &h : holes) {
        areas.push_back(h.area);
        skews.push_back(h.skew);
    }
    // The insides of triangles, which all widen the same way: their middles are no markers' centres.
    if (std::abs(median(skews)) > kMostHoleSkew)
        return {};
    const double typicalArea = median(areas);
    std::vector<Hole> series;
    for (const Hole &h : holes) {
        if (ofSeriesArea(h, typicalArea) && !inLegend(outlineAround(h)))
            series.push_back(h);
    }
    return series;
}

// A piece a centre was found for.
struct Taken {
    QRect bounds;
    std::size_t centre; // its index
    bool offLine;
};

// A filled triangle whose base lies under another colour: only its tip is known.
struct TipOnly {
    std::size_t centre; // its index
    double tip;
    bool up;
};

// Where thin crosses' arms meet a line: not at a marker found otherwise, where a line enters an outline or runs
// into a piece, and not in the legend. What the opening left of a cross whose arms were a little thicker than
// the line stands near its middle, and the meeting of its arms tells that middle better.
template <typename InLegend>
void addCrossingsOnLines(std::vector<QPointF> &centres, const std::vector<QPointF> &crossings,
                         const std::vector<Taken> &taken, const std::vector<Hole> &holes, const InLegend &inLegend)
{
    std::vector<bool> replaced(centres.size(), false), dropped(centres.size(), false);
    for (const QPointF &p : crossings) {
        const auto within = [&](const QRect &r) { return QRectF(r.adjusted(-2, -2, 2, 2)).contains(p); };
        if (std::any_of(holes.begin(), holes.end(), [&](const Hole &h) { return within(outlineAround(h)); }))
            continue;
        bool near = false, placed = false;
        for (const Taken &t : taken) {
            if (!within(t.bounds))
                continue;
            near = true;
            // The opening may leave a cross in pieces: one takes the middle, the others go.
            if (t.offLine && !replaced[t.centre]) {
                if (!placed)
                    centres[t.centre] = p;
                else
                    dropped[t.centre] = true;
                replaced[t.centre] = true;
                placed = true;
            }
        }
        const QPoint pixel(int(std::floor(p.x())), int(std::floor(p.y())));
        if (!near &&
            !inLegend(QRect(pixel - QPoint(kCrossReach, kCrossReach), QSize(2 * kCrossReach + 1, 2 * kCrossReach + 1))))
            centres.push_back(p);
    }
    for (std::size_t i = dropped.size(); i-- > 0;) {
        if (dropped[i])
            centres.erase(centres.begin() + std::ptrdiff_t(i));
    }
}

// What the opening left of the outlines of markers on a line goes, and their insides' centres stand for them.
void addOutlinedOnLines(std::vector<QPointF> &centres, const std::vector<Hole> &series)
{
    for (const Hole &h : series) {
        const QRectF around(outlineAround(h));
        std::erase_if(centres, [&](QPointF c) { return around.contains(c); });
        centres.push_back(h.centre);
    }
}

// A marker of a series, and whether it may tell what the series looks like: nothing covers it, or another
// colour's ink lies only beside it.
struct SeriesMarker {
    const InkComponent *piece;
    QPointF centre;
    double mass;
    bool covered;
    bool clean;
};

// The look of the markers that show whole: those nothing covers, and those beside another colour's ink that hold
// as much ink as an uncovered one (`wholeMass`) or, where too few tell that, as the fullest marker (not one half
// of a marker that ink parts).
SeriesLook seriesLook(const PixelView &picture, const MarkerInk &ink, const std::vector<SeriesMarker> &markers,
                      double wholeMass)
{
    double fullest = 0;
    for (const SeriesMarker &m : markers)
        fullest = std::max(fullest, m.mass);
    const double whole = wholeMass > 0 ? wholeMass : fullest;
    SeriesLook look;
    for (const SeriesMarker &l : markers) {
        if (look.size() < kMostLooks && l.clean && (!l.covered || l.mass >= kWholeShare * whole))
            look.add(patchOf(picture, ink, *l.piece), l.centre);
    }
    return look;
}

struct HiddenInPart {
    std::size_t centre; // its place among the centres
    const InkComponent *piece;
};

// Where enough of their series show whole, the markers another colour's ink hides in part lie where they look
// most like them. Where too few do, each lies where it looks most like the others, by what shows of them: the
// ink hides different parts of different markers.
void placeByTheirLook(std::vector<QPointF> &centres, const std::vector<HiddenInPart> &hidden, const SeriesLook &whole,
                      const PixelView &picture, const MarkerInk &ink, std::uint32_t paper)
{
    if (whole.size() + hidden.size() < kFewestPartLooks)
        return;
    std::vector<ShownInk> shown;
    for (const HiddenInPart &h : hidden)
        shown.push_back(shownBesideOtherInk(picture, ink, paper, *h.piece));
    if (whole.size() >= kFewestLooks) {
        for (std::size_t k = 0; k < hidden.size(); ++k)
            centres[hidden[k].centre] = centreByLook(shown[k], centres[hidden[k].centre], whole);
        return;
    }
    SeriesLook all = whole;
    for (std::size_t k = 0; k < hidden.size() && all.size() < kMostLooks; ++k)
        all.add(shown[k].shows, centres[hidden[k].centre], shown[k].hidden);
    for (std::size_t k = 0; k < hidden.size(); ++k) {
        const std::size_t member = whole.size() + k;
        centres[hidden[k].centre] =
            centreByLook(shown[k], centres[hidden[k].centre], member < all.size() ? all.without(member) : all);
    }
}

} // namespace

std::vector<QPointF> findMarkers(const PixelView &picture, std::uint32_t argb, const TraceSettings &settings)
{
    const std::uint32_t paper = paperOf(picture);
    MarkerInk ink{inkModel(argb, paper, settings.colourTolerance), darknessInk(argb, paper, settings.colourTolerance)};
    std::vector<InkComponent> small, offLines;
    std::vector<Hole> holes;
    std::vector<QPointF> crossings;
    MarkerComponents found = inkComponents(picture, ink, kLookedAtWhole);
    ink.subsampled = found.subsampled; // the pieces are measured by the same ink they were found by
    // Two series of near colours within the tolerance of the one picked: the markers are of the nearer. In a JPEG
    // copy the colours of thin strokes spread too far to tell.
    if (!ink.subsampled)
        dropFartherColours(found.pieces, picture, ink, argb);
    // Where the frame has the markers' colour, so have the tick labels and the title: only what lies inside the
    // frame is looked at.
    const std::optional<QRect> plot = frameInside(found.pieces, QSize(picture.width, picture.height));
    const auto inPlot = [&](QPointF p) { return !plot || QRectF(*plot).contains(p); };
    const auto markerSized = [](const InkComponent &c) {
        return c.bounds.width() <= 2 * kLargestMarker && c.bounds.height() <= 2 * kLargestMarker;
    };
    RunsByRow lineRuns;
    const auto lookOffLine = [&](const InkComponent &c) {
        lineRuns.add(c.runs);
        for (InkComponent &p : piecesOffLine(c, kLargestMarker))
            offLines.push_back(std::move(p));
        for (const Hole &h : markerHoles(picture, ink, c, kLargestMarker))
            holes.push_back(h);
        for (const QPointF &p : thinCrossMiddles(picture, ink, c))
            crossings.push_back(p);
    };
    for (InkComponent &c : found.pieces) {
        if (markerSized(c))
            small.push_back(std::move(c));
        else
            lookOffLine(c);
    }
    std::vector<InkComponent> pieces;
    std::vector<InkShape> shapes; // of each of the pieces
    // A thin line through the markers that a JPEG copy broke into pieces joins up again with them: it is looked
    // at as an unbroken one is, and so is a marker at the line's end with a stub of it, longer than two markers
    // side by side.
    for (InkComponent &c :
         joinedAcrossOtherInk(joinedFragments(std::move(small)), picture, ink, paper, kLargestMarker)) {
        if (!markerSized(c)) {
            lookOffLine(c);
            continue;
        }
        const InkShape shape = inkShape(picture, ink, c);
        if (shape.elongation > kLongestPair) {
            lookOffLine(c);
            continue;
        }
        pieces.push_back(std::move(c));
        shapes.push_back(shape);
    }
    const std::size_t firstOffLine = pieces.size();
    for (InkComponent &p : offLines) {
        shapes.push_back(inkShape(picture, ink, p));
        pieces.push_back(std::move(p));
    }
    const CoverInk cover(picture, ink, paper);
    std::vector<Candidate> candidates;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const QRect b = pieces[i].bounds;
        if (pieces[i].runs.empty() || std::max(b.width(), b.height()) < kSmallestMarker + 1 ||
            std::min(b.width(), b.height()) < kSmallestMarker || !inPlot(QRectF(b).center()))
            continue;
        candidates.push_back({&pieces[i], shapes[i], false, false, i >= firstOffLine, touchesCover(cover, pieces[i])});
    }
    markWords(candidates, lineRuns);
    if (ink.subsampled)
        markOtherColours(candidates, picture, ink.darkness, cover);
    // What a typical single marker is like: the markers of a series are alike. Scraps of a pixel or two (of JPEG noise,
    // of a faint outline) tell nothing of a typical marker, unless nearly every piece is that small: the cores of
    // markers of three or four pixels are.
    const auto typicalOf = [](const Candidate &c, int least) {
        return !c.text && !c.otherColour && single(c) &&
               std::max(c.piece->bounds.width(), c.piece->bounds.height()) >= least;
    };
    const int least =
        std::count_if(candidates.begin(), candidates.end(), [&](const Candidate &c) { return typicalOf(c, 3); }) >= 3
            ? 3
            : 2;
    // A series of triangles shows it in most of its markers, whatever a line through some of them does. Those
    // that another colour's ink covers in part tell it only where too few others are left.
    const bool enoughUncovered = std::count_if(candidates.begin(), candidates.end(), [&](const Candidate &c) {
                                     return typicalOf(c, least) && !c.covered;
                                 }) >= 3;
    int tipsUp = 0, tipsDown = 0, typicalCount = 0;
    std::vector<double> skews, extents;
    for (const Candidate &c : candidates) {
        if (!typicalOf(c, least) || (enoughUncovered && c.covered))
            continue;
        ++typicalCount;
        const std::optional<bool> up = triangleTipUp(c.shape);
        tipsUp += up && *up ? 1 : 0;
        tipsDown += up && !*up ? 1 : 0;
        skews.push_back(c.shape.skewY);
        extents.push_back(c.shape.faintExtent);
    }
    std::optional<bool> seriesTipUp = 2 * tipsUp > typicalCount     ? std::optional<bool>(true)
                                      : 2 * tipsDown > typicalCount ? std::optional<bool>(false)
                                                                    : std::nullopt;
    // Small outlined triangles skew less, some hardly at all for their pixels, but a series of them skews
    // one way, where symmetric markers do not; below four pixels an outline is a blob either way.
    if (!seriesTipUp && !skews.empty() && median(extents) >= kLeastSkewedExtent &&
        std::abs(median(skews)) >= kLeastSeriesSkew)
        seriesTipUp = median(skews) < 0;
    // What a marker that nothing covers holds, where enough of them tell it.
    std::vector<double> uncoveredMasses;
    for (const Candidate &c : candidates) {
        if (enoughUncovered && typicalOf(c, least) && !c.covered)
            uncoveredMasses.push_back(c.shape.mass);
    }
    const double wholeMass = median(uncoveredMasses);
    std::vector<double> masses, sizes, spreads, dx, dy;
    for (const Candidate &c : candidates) {
        if (!typicalOf(c, least))
            continue;
        masses.push_back(c.shape.mass);
        // Measured over its faint edge too: the tips of a small cross hold less than half the colour. That
        // edge adds about a pixel, on average a little less.
        sizes.push_back(c.shape.faintExtent - 0.6);
        spreads.push_back((c.shape.varianceX + c.shape.varianceY) / 2);
        // How far its centre lies from its centroid (below a triangle's tip, by a sixth of its height): the
        // two halves of a pair have it as a single marker does.
        const QPointF d = markerCentre(picture, ink, *c.piece, c.shape, seriesTipUp) - c.shape.centroid;
        dx.push_back(d.x());
        dy.push_back(d.y());
    }
    const Typical typical{median(masses), median(sizes), median(spreads), QPointF(median(dx), median(dy))};
    std::erase_if(holes, [&](const Hole &h) { return !inPlot(h.centre); });
    std::erase_if(crossings, [&](QPointF p) { return !inPlot(p); });
    const std::vector<Hole> series =
        seriesHoles(holes, [&](const QRect &b) { return inLegend(picture, ink, paper, b, plot.has_value()); });
    // Where the markers lie on a line, the scraps the opening left can make the typical marker; a marker is
    // larger than the paper its outline closes in.
    std::vector<double> insides, seriesAreas;
    for (const Hole &h : series) {
        insides.push_back(std::max(h.bounds.width(), h.bounds.height()));
        seriesAreas.push_back(h.area);
    }
    const double leastExtent = series.size() >= 2 ? median(insides) : 0;
    const double seriesArea = median(seriesAreas);
    // Filled markers on a line close in no inside: beside them, a piece standing apart that does is a letter.
    const auto offLineCount = [&](bool hollow) {
        return std::count_if(candidates.begin(), candidates.end(),
                             [&](const Candidate &c) { return c.offLine && c.shape.hollow == hollow; });
    };
    const bool filledOnALine = series.size() < 2 && offLineCount(false) >= 2 && offLineCount(true) == 0;
    std::vector<Hole> ends;
    std::vector<QPointF> centres;
    std::vector<Taken> taken;
    std::vector<double> triangleHeights;
    std::vector<TipOnly> baseHidden;
    std::vector<SeriesMarker> seriesMarkers;
    std::vector<HiddenInPart> hiddenInPart;
    for (const Candidate &c : candidates) {
        if (c.text || c.otherColour || inLegend(picture, ink, paper, c.piece->bounds, plot.has_value()))
            continue;
        if (c.shape.elongation > 1.5) {
            const Halves h = halvesOf(picture, ink, *c.piece, c.shape);
            if (pair(c, h, typical)) {
                centres.push_back(h.centroid[0] + typical.offset);
                centres.push_back(h.centroid[1] + typical.offset);
                continue;
            }
            // Two outlines that touch, where no single marker tells what one is like (the others lie on a
            // line): two alike holes.
            const std::vector<Hole> two = markerHoles(picture, ink, *c.piece, kLargestMarker);
            if (two.size() == 2 && std::min(two[0].area, two[1].area) > 0.75 * std::max(two[0].area, two[1].area) &&
                std::max(std::abs(two[0].skew), std::abs(two[1].skew)) <= kMostHoleSkew) {
                centres.push_back(two[0].centre);
                centres.push_back(two[1].centre);
                continue;
            }
            // Two crosses that touch, their arms in one: where each one's arms meet.
            const std::vector<QPointF> meetings = thinCrossMiddles(picture, ink, *c.piece);
            if (meetings.size() == 2) {
                centres.insert(centres.end(), meetings.begin(), meetings.end());
                continue;
            }
        }
        // The markers of a series are alike: much less ink than a typical one is a scrap (of a letter, of
        // JPEG noise), much more is something else.
        // Where the series' markers are outlines on a line, one standing apart closes in an inside as theirs do
        // too; letters of a word written over the line, as large as the markers, do not.
        std::optional<std::vector<Hole>> own; // the piece's insides, found once
        const auto ownHoles = [&]() -> const std::vector<Hole> & {
            if (!own)
                own = markerHoles(picture, ink, *c.piece, kLargestMarker);
            return *own;
        };
        const auto closesInAnInside = [&] {
            return std::any_of(ownHoles().begin(), ownHoles().end(),
                               [&](const Hole &h) { return ofSeriesArea(h, seriesArea); });
        };
        if (single(c) && c.shape.mass > 0.5 * typical.mass && c.shape.mass < 1.6 * typical.mass &&
            c.shape.faintExtent >= leastExtent && (series.size() < 2 || c.covered || c.offLine || closesInAnInside()) &&
            !(filledOnALine && !c.covered && !c.offLine && !ownHoles().empty())) {
            // What shows of a marker another colour covers in part does not tell its shape: its series does.
            const std::optional<bool> tipUp = seriesTipUp ? seriesTipUp
                                              : c.covered ? std::nullopt
                                                          : triangleTipUp(c.shape);
            const bool triangle = tipUp.has_value();
            QPointF centre = c.covered && !triangle   ? c.shape.centroid
                             : c.offLine && !triangle ? middleOffLine(picture, ink, *c.piece, c.shape)
                                                      : markerCentre(picture, ink, *c.piece, c.shape, seriesTipUp);
            // A marker drawn over another colour's line only touches it, and shows its ink whole.
            if (c.covered && !(wholeMass > 0 && c.shape.mass >= kWholeShare * wholeMass)) {
                // Its middle may lie under the other colour, which does not make it hollow: paper there does.
                const bool filled = !c.shape.hollow || !paperNear(picture, ink, paper, c.shape.centroid);
                const HiddenCentre behind = centreBesideOtherInk(picture, ink, paper, *c.piece, centre, tipUp, filled);
                centre = behind.centre;
                if (behind.tip && behind.height)
                    triangleHeights.push_back(*behind.height);
                else if (behind.tip)
                    baseHidden.push_back({centres.size(), *behind.tip, *tipUp});
                hiddenInPart.push_back({centres.size(), c.piece});
            }
            if (!c.offLine)
                seriesMarkers.push_back(
                    {c.piece, centre, c.shape.mass, c.covered, !c.covered || !coverWithin(cover, *c.piece)});
            centres.push_back(centre);
            taken.push_back({c.piece->bounds, centres.size() - 1, c.offLine});
            // The first or last marker on a line, with a stub of it: by its inside, as the others are.
            if (series.size() >= 2) {
                for (const Hole &h : ownHoles()) {
                    const auto same = [&](const Hole &other) { return other.bounds.intersects(h.bounds); };
                    if (ofSeriesArea(h, seriesArea) && std::abs(h.skew) <= kMostHoleSkew &&
                        std::none_of(series.begin(), series.end(), same) &&
                        std::none_of(ends.begin(), ends.end(), same))
                        ends.push_back(h);
                }
            }
        }
    }
    // Triangles whose bases lie under another colour: their series tells how tall they are.
    if (!triangleHeights.empty()) {
        const double height = median(triangleHeights);
        for (const TipOnly &t : baseHidden)
            centres[t.centre].setY(t.tip + (t.up ? 0.5 : -0.5) * height);
    }
    if (!hiddenInPart.empty())
        placeByTheirLook(centres, hiddenInPart, seriesLook(picture, ink, seriesMarkers, wholeMass), picture, ink,
                         paper);
    addCrossingsOnLines(centres, crossings, taken, holes,
                        [&](const QRect &b) { return inLegend(picture, ink, paper, b, plot.has_value()); });
    addOutlinedOnLines(centres, series);
    addOutlinedOnLines(centres, ends);
    // A marker's centre is found from its ink, and where ink of another colour hides part of it, from what shows.
    // One that lands off the picture came from a piece that was no marker.
    const QRectF whole(0, 0, picture.width, picture.height);
    std::erase_if(centres, [&](QPointF p) { return !whole.contains(p); });
    std::sort(centres.begin(), centres.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
    return centres;
}
