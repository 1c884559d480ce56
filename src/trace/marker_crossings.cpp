#include "trace/marker_crossings.h"

#include "trace/rect_cells.h"

#include <QRect>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// The rings that find the meetings: each wide enough to part a line from an arm 45 degrees off it for strokes
// up to some width, the smallest within the arms of the smallest crosses.
constexpr double kFindingRings[] = {2.5, 3.5, 5, 7};
// The largest marker's inside lies within this of its outline's meeting with a line.
constexpr int kEnclosedReach = 24;
// A meeting's point lies this close to where its pixels are.
constexpr double kFarthestMove = 4;
// The rings the arms are followed out on, past the longest arm of the largest marker: two lines that cross
// leave the last one four ways too.
constexpr double kRings[] = {2.5, 3, 3.5, 4, 4.5, 5, 6, 7, 8, 9, 10, 11, 12, 13};
constexpr int kFewestWays = 4;
// A way out of a meeting is no longer than this many times its shortest: two strokes that leave it together.
constexpr double kThinWays = 3;
// A sample of the ring holding this much of the colour lies on a way out.
constexpr float kOnWay = 0.35f;
// Its soft edges hold more than this.
constexpr float kEdgeInk = 0.02f;
// The edges around a meeting run in ways this far apart at least: the smaller over the mean of the two
// principal values of their tensor.
constexpr double kLeastSpread = 0.2;
// The pixels this close to a meeting, where its strokes run into one another, tell nothing of where they point.
constexpr double kMiddleLeftOut = 1.5;
// An arm's end spoils this much of the arm below the last ring that sees it.
constexpr double kArmEnd = 1;
// Edges that point at a meeting less well than this (a share of their fall: a cross's arms leave about a
// tenth, from the stroke's width, and the edges round a marker's body half) meet nowhere.
constexpr double kMostMisfit = 0.3;
// Meeting places closer than this are one meeting.
constexpr int kOneMeeting = 2;

float inkAt(const PixelView &picture, const MarkerInk &ink, int x, int y)
{
    return picture.contains(x, y) ? ink.ink(picture.at(x, y)) : 0.0f;
}

// Between pixel centres, bilinearly.
float inkAt(const PixelView &picture, const MarkerInk &ink, QPointF p)
{
    const double fx = p.x() - 0.5;
    const double fy = p.y() - 0.5;
    const int x = int(std::floor(fx));
    const int y = int(std::floor(fy));
    const float ax = float(fx - x);
    const float ay = float(fy - y);
    return (1 - ay) * ((1 - ax) * inkAt(picture, ink, x, y) + ax * inkAt(picture, ink, x + 1, y)) +
           ay * ((1 - ax) * inkAt(picture, ink, x, y + 1) + ax * inkAt(picture, ink, x + 1, y + 1));
}

// One way out of a ring: the angle at which the ink of an arc of it lies on the whole.
struct Way {
    double angle = 0;
};

// A ring of samples around a place: their ways from it.
struct Ring {
    double radius = 0;
    std::vector<QPointF> unit;
    std::vector<QPoint> pixel; // the pixel each sample falls in, from the one whose centre the ring is around
};

Ring ringOf(double radius, int samples)
{
    Ring ring{radius, {}, {}};
    for (int k = 0; k < samples; ++k) {
        const double angle = 2 * M_PI * k / samples;
        ring.unit.emplace_back(std::cos(angle), std::sin(angle));
        ring.pixel.emplace_back(int(std::floor(0.5 + radius * std::cos(angle))),
                                int(std::floor(0.5 + radius * std::sin(angle))));
    }
    return ring;
}

// Rings of the radii given, `perPixel` samples to a pixel of their length.
template <std::size_t N> std::vector<Ring> ringsOf(const double (&radii)[N], int perPixel)
{
    std::vector<Ring> out;
    for (const double r : radii)
        out.push_back(ringOf(r, int(std::ceil(2 * perPixel * M_PI * r))));
    return out;
}

// The rings that find the meetings, a sample a pixel, and those that follow the arms out, four a pixel.
const std::vector<Ring> &findingRings()
{
    static const std::vector<Ring> rings = ringsOf(kFindingRings, 1);
    return rings;
}

const std::vector<Ring> &armRings()
{
    static const std::vector<Ring> rings = ringsOf(kRings, 4);
    return rings;
}

// The ways out of a ring, from the ink `a` of its samples; none where the ring holds ink all round. An
// arc is where the ring holds a good share of the colour; its middle is taken over the soft edges on both sides
// too, down to where the ink stops falling off, so that a stroke standing a fraction of a pixel off the pixel grid
// has its middle where it is.
std::vector<Way> waysOut(const Ring &ring, const std::vector<float> &a)
{
    const std::size_t n = a.size();
    const auto paper = std::find_if(a.begin(), a.end(), [](float v) { return v < kOnWay; });
    if (paper == a.end())
        return {};
    const std::size_t first = std::size_t(paper - a.begin());
    const auto at = [&](std::size_t i) { return (first + i) % n; }; // from the first paper sample on
    std::vector<std::pair<std::size_t, std::size_t>> arcs;          // [from, to] past `first`
    for (std::size_t i = 1; i < n; ++i) {
        if (a[at(i)] < kOnWay)
            continue;
        if (!arcs.empty() && arcs.back().second + 1 == i)
            arcs.back().second = i;
        else
            arcs.push_back({i, i});
    }
    std::vector<Way> ways;
    for (std::size_t k = 0; k < arcs.size(); ++k) {
        const std::size_t lowest = k > 0 ? arcs[k - 1].second + 1 : 0;
        const std::size_t highest = k + 1 < arcs.size() ? arcs[k + 1].first - 1 : n;
        std::size_t from = arcs[k].first, to = arcs[k].second;
        while (from > lowest && a[at(from - 1)] > kEdgeInk && a[at(from - 1)] <= a[at(from)])
            --from;
        while (to < highest && a[at(to + 1)] > kEdgeInk && a[at(to + 1)] <= a[at(to)])
            ++to;
        Way way;
        QPointF sum;
        for (std::size_t i = from; i <= to; ++i)
            sum += double(a[at(i)]) * ring.unit[at(i)];
        way.angle = std::atan2(sum.y(), sum.x());
        ways.push_back(way);
    }
    return ways;
}

// The ways out of `ring` around `c`, sampled between pixels.
std::vector<Way> waysOut(const PixelView &picture, const MarkerInk &ink, const Ring &ring, QPointF c)
{
    std::vector<float> a(ring.unit.size());
    for (std::size_t k = 0; k < a.size(); ++k)
        a[k] = inkAt(picture, ink, c + ring.radius * ring.unit[k]);
    return waysOut(ring, a);
}

// How far the arms reach from `c`: the largest ring on which they still leave it four ways or more. From the
// largest ring in, which in a shaded area, where ink leaves every ring many ways, is the only one looked at.
double armsReach(const PixelView &picture, const MarkerInk &ink, QPointF c)
{
    const std::vector<Ring> &rings = armRings();
    for (auto ring = rings.rbegin(); ring != rings.rend(); ++ring) {
        if (waysOut(picture, ink, *ring, c).size() >= kFewestWays)
            return ring->radius;
    }
    return 0;
}

struct Meeting {
    QPointF at;
    double misfit = 1; // the share of the edges' fall that runs along the way to it: small where they meet
};

// The point the edges of the strokes within `reach` of `c` all point at, by least squares: at every edge of an
// arm or of the line, running straight out from the middle, the ink falls off across the way to it. The arms'
// ends, whose edges run across, lie farther out.
std::optional<Meeting> meetingPoint(const PixelView &picture, const MarkerInk &ink, QPointF c, double reach)
{
    // The ink of the box round the ring and a pixel beyond, once, for the gradients of both sums.
    const int left = int(std::floor(c.x() - reach)) - 1, top = int(std::floor(c.y() - reach)) - 1;
    const int side = int(std::floor(c.x() + reach)) + 2 - left;
    const int high = int(std::floor(c.y() + reach)) + 2 - top;
    std::vector<float> box(std::size_t(side) * std::size_t(high));
    for (int y = 0; y < high; ++y) {
        for (int x = 0; x < side; ++x)
            box[std::size_t(y) * std::size_t(side) + std::size_t(x)] = inkAt(picture, ink, left + x, top + y);
    }
    const auto boxed = [&](int x, int y) {
        return box[std::size_t(y - top) * std::size_t(side) + std::size_t(x - left)];
    };
    std::vector<std::pair<QPointF, QPointF>> edges; // each pixel's centre and the fall of the ink across it
    for (int y = int(std::floor(c.y() - reach)); y <= int(std::floor(c.y() + reach)); ++y) {
        for (int x = int(std::floor(c.x() - reach)); x <= int(std::floor(c.x() + reach)); ++x) {
            const QPointF p(x + 0.5, y + 0.5);
            const double r = std::hypot(p.x() - c.x(), p.y() - c.y());
            if (r <= reach && r >= kMiddleLeftOut)
                edges.emplace_back(p,
                                   QPointF(boxed(x + 1, y) - boxed(x - 1, y), boxed(x, y + 1) - boxed(x, y - 1)) / 2);
        }
    }
    const auto eachEdge = [&](const auto &f) {
        for (const auto &[p, g] : edges)
            f(p, g);
    };
    double a[3] = {0, 0, 0}, b[2] = {0, 0};
    eachEdge([&](QPointF p, QPointF g) {
        a[0] += g.x() * g.x();
        a[1] += g.x() * g.y();
        a[2] += g.y() * g.y();
        const double along = QPointF::dotProduct(g, p);
        b[0] += g.x() * along;
        b[1] += g.y() * along;
    });
    const double det = a[0] * a[2] - a[1] * a[1];
    const double trace = a[0] + a[2];
    // Edges all one way (a straight line) point at no one place.
    if (trace <= 0 || det < kLeastSpread * trace * trace / 4)
        return std::nullopt;
    const QPointF m((a[2] * b[0] - a[1] * b[1]) / det, (a[0] * b[1] - a[1] * b[0]) / det);
    double along = 0, all = 0;
    eachEdge([&](QPointF p, QPointF g) {
        along += std::pow(QPointF::dotProduct(g, p - m), 2);
        all += QPointF::dotProduct(g, g) * QPointF::dotProduct(p - m, p - m);
    });
    return Meeting{m, all > 0 ? along / all : 1};
}

// Whether the paper between every two neighbouring ways out at `c` is open, as between a cross's arms, and
// none of it an inside closed in by an outline that the line enters there.
bool openBetweenWays(const PixelView &picture, const MarkerInk &ink, QPointF c)
{
    const Ring &ring = armRings()[2];
    const double r = ring.radius;
    const std::vector<Way> ways = waysOut(picture, ink, ring, c);
    const QPoint middle(int(std::floor(c.x())), int(std::floor(c.y())));
    const QRect box(middle - QPoint(kEnclosedReach, kEnclosedReach),
                    QSize(2 * kEnclosedReach + 1, 2 * kEnclosedReach + 1));
    std::vector<char> seen(std::size_t(box.width()) * std::size_t(box.height()), 0);
    const auto index = [&](QPoint p) {
        return std::size_t(p.y() - box.top()) * std::size_t(box.width()) + std::size_t(p.x() - box.left());
    };
    for (std::size_t k = 0; k < ways.size(); ++k) {
        const Way &a = ways[k];
        const Way &b = ways[(k + 1) % ways.size()];
        double between = b.angle - a.angle;
        while (between <= 0)
            between += 2 * M_PI;
        const double angle = a.angle + between / 2;
        const QPoint from(int(std::floor(c.x() + r * std::cos(angle))), int(std::floor(c.y() + r * std::sin(angle))));
        if (!box.contains(from) || seen[index(from)] || inkAt(picture, ink, from.x(), from.y()) >= kOnWay)
            continue;
        // Paper 4-connected to there, within the box: an inside stays clear of the box's edge.
        bool open = false;
        std::vector<QPoint> stack{from};
        seen[index(from)] = 1;
        while (!stack.empty() && !open) {
            const QPoint p = stack.back();
            stack.pop_back();
            for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                const QPoint q = p + d;
                if (!box.contains(q)) {
                    open = true;
                    break;
                }
                if (!seen[index(q)] && inkAt(picture, ink, q.x(), q.y()) < 0.5f) {
                    seen[index(q)] = 1;
                    stack.push_back(q);
                }
            }
        }
        if (!open)
            return false;
    }
    return true;
}

} // namespace

std::vector<QPointF> thinCrossMiddles(const PixelView &picture, const MarkerInk &ink, const InkComponent &piece)
{
    // The piece's pixels, every other one, where a ring around leaves the ink four ways or more: a meeting holds
    // a few. The smallest ring that parts the ways of the thinnest strokes, larger ones for thicker strokes.
    // Four ways or more, every way thin, as arms and the line are, not the edge of a marker's body: told by the
    // arcs' lengths alone, as this looks at every other pixel of the piece.
    std::vector<float> a;
    const auto meets = [&](QPoint pixel) {
        for (const Ring &ring : findingRings()) {
            const std::size_t n = ring.pixel.size();
            a.resize(n);
            for (std::size_t k = 0; k < n; ++k)
                a[k] = inkAt(picture, ink, pixel.x() + ring.pixel[k].x(), pixel.y() + ring.pixel[k].y());
            const auto paper = std::find_if(a.begin(), a.end(), [](float v) { return v < kOnWay; });
            if (paper == a.end())
                continue;
            const std::size_t first = std::size_t(paper - a.begin());
            int arcs = 0, length = 0, shortest = int(n), longest = 0;
            for (std::size_t i = 1; i <= n; ++i) {
                if (a[(first + i) % n] >= kOnWay) {
                    ++length;
                    continue;
                }
                if (length > 0) {
                    ++arcs;
                    shortest = std::min(shortest, length);
                    longest = std::max(longest, length);
                    length = 0;
                }
            }
            if (arcs >= kFewestWays && longest <= kThinWays * shortest)
                return true;
        }
        return false;
    };
    // Each place joins the first meeting within reach, looked for in the cells round it: a shaded area holds
    // thousands.
    const auto reach = [](QRect r) { return r.adjusted(-kOneMeeting, -kOneMeeting, kOneMeeting, kOneMeeting); };
    std::vector<QRect> meetings;
    std::vector<QPointF> sums;
    std::vector<int> counts;
    RectCells cells(reach(piece.bounds));
    for (const InkRunOnRow &r : piece.runs) {
        for (int x = r.x0 + (r.x0 + r.y) % 2; x <= r.x1; x += 2) {
            if (!meets(QPoint(x, r.y)))
                continue;
            const QPointF at(x + 0.5, r.y + 0.5);
            const QRect pixel(x, r.y, 1, 1);
            std::size_t k = meetings.size();
            cells.forEachAround(pixel, [&](std::size_t m) {
                if (m < k && reach(meetings[m]).intersects(pixel))
                    k = m;
            });
            if (k == meetings.size()) {
                meetings.push_back(pixel);
                sums.emplace_back();
                counts.push_back(0);
                cells.add(k, reach(pixel));
            } else {
                const QRect before = reach(meetings[k]);
                meetings[k] |= pixel;
                cells.add(k, reach(meetings[k]), before);
            }
            sums[k] += at;
            ++counts[k];
        }
    }
    // Each meeting's point, found again from there until it settles; of two parts of one meeting, the one whose
    // edges point at its point best.
    std::vector<Meeting> out;
    for (std::size_t k = 0; k < meetings.size(); ++k) {
        const QPointF found = sums[k] / counts[k];
        std::optional<Meeting> m = Meeting{found};
        for (int i = 0; i < 3 && m; ++i) {
            const double arms = armsReach(picture, ink, m->at);
            const double reach = arms - kArmEnd;
            m = reach >= kMiddleLeftOut + 1 && arms < armRings().back().radius
                    ? meetingPoint(picture, ink, m->at, reach)
                    : std::nullopt;
            if (m && std::hypot(m->at.x() - found.x(), m->at.y() - found.y()) > kFarthestMove)
                m.reset();
        }
        // A corner of a marker's body with the line leaving it points edges at one place too, but leaves it
        // fewer ways than a cross does.
        if (!m || m->misfit > kMostMisfit || !meets(QPoint(int(std::floor(m->at.x())), int(std::floor(m->at.y())))) ||
            !openBetweenWays(picture, ink, m->at))
            continue;
        const auto same = std::find_if(out.begin(), out.end(), [&](const Meeting &o) {
            return std::hypot(o.at.x() - m->at.x(), o.at.y() - m->at.y()) <= kOneMeeting;
        });
        if (same == out.end())
            out.push_back(*m);
        else if (m->misfit < same->misfit)
            *same = *m;
    }
    std::vector<QPointF> points;
    for (const Meeting &m : out)
        points.push_back(m.at);
    return points;
}
