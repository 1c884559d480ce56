#include "trace/marker_cover.h"

#include "trace/colour_match.h"
#include "trace/marker_patch.h"
#include "trace/union_find.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Less of the colour than this in a pixel inside a marker is its paper.
constexpr float kFaintInside = 0.2f;
// Ink this far from the paper or farther is dark.
constexpr float kDarkInk = 100;
// How wide a line of another colour over a marker may be, its soft edges included.
constexpr int kWidestCover = 5;
// Pieces that another colour's ink parts join up into bounds no longer than this for their width.
constexpr double kMostJoinedElongation = 1.5;
// A pixel that holds this much of the colour joins the marker's pixels to the ink over them.
constexpr float kFaintShare = 0.1f;
// At least this many pixels of another colour's ink within two pixels of a marker's bounds cover it ...
constexpr int kCoverNear = 2;
constexpr int kLeastCover = 2;
// ... where they are at least this far from the marker's colour.
constexpr float kLeastApart = 85;

// Another colour's ink, or the soft edge where it meets the colour.
bool passable(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper, int x, int y)
{
    if (otherInk(picture, ink, paper, x, y))
        return true;
    if (ink.ink(picture.at(x, y)) < kFaintShare)
        return false;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (otherInk(picture, ink, paper, x + dx, y + dy))
                return true;
        }
    }
    return false;
}

// Whether another colour's ink alone, or the soft edge where it meets the colour, joins `a` to `b` within the
// bounds of the two.
bool bridged(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper, const InkComponent &a,
             const InkComponent &b)
{
    const QRect area = (a.bounds | b.bounds).adjusted(-1, -1, 1, 1) & QRect(0, 0, picture.width, picture.height);
    const int w = area.width();
    const auto index = [&](int x, int y) { return std::size_t((y - area.top()) * w + (x - area.left())); };
    enum : char { Open, Reached, Goal, Blocked };
    std::vector<char> cell(std::size_t(w * area.height()), Blocked);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (passable(picture, ink, paper, x, y))
                cell[index(x, y)] = Open;
        }
    }
    std::vector<QPoint> queue;
    for (const InkRunOnRow &r : a.runs) {
        for (int x = r.x0; x <= r.x1; ++x) {
            cell[index(x, r.y)] = Reached;
            queue.emplace_back(x, r.y);
        }
    }
    for (const InkRunOnRow &r : b.runs) {
        for (int x = r.x0; x <= r.x1; ++x)
            cell[index(x, r.y)] = Goal;
    }
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const QPoint p = queue[next];
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint q = p + QPoint(dx, dy);
                if (!area.contains(q))
                    continue;
                char &c = cell[index(q.x(), q.y())];
                if (c == Goal)
                    return true;
                if (c == Open) {
                    c = Reached;
                    queue.push_back(q);
                }
            }
        }
    }
    return false;
}

} // namespace

bool otherInk(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper, int x, int y)
{
    if (!picture.contains(x, y))
        return false;
    const std::uint32_t p = picture.at(x, y);
    return p != paper && colourDistance(p, paper) > kDarkInk && ink.ink(p) < 0.5f;
}

bool paperNear(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper, QPointF at)
{
    const int x0 = int(std::floor(at.x())), y0 = int(std::floor(at.y()));
    for (int y = y0 - 1; y <= y0 + 1; ++y) {
        for (int x = x0 - 1; x <= x0 + 1; ++x) {
            if (picture.contains(x, y) && ink.ink(picture.at(x, y)) < kFaintInside &&
                !otherInk(picture, ink, paper, x, y))
                return true;
        }
    }
    return false;
}

std::vector<InkComponent> joinedAcrossOtherInk(std::vector<InkComponent> pieces, const PixelView &picture,
                                               const MarkerInk &ink, std::uint32_t paper, int largest)
{
    std::vector<std::size_t> byLeft(pieces.size());
    std::iota(byLeft.begin(), byLeft.end(), std::size_t(0));
    std::sort(byLeft.begin(), byLeft.end(),
              [&](std::size_t a, std::size_t b) { return pieces[a].bounds.left() < pieces[b].bounds.left(); });
    Forest sets(int(pieces.size()));
    std::vector<QRect> joined(pieces.size());
    for (std::size_t i = 0; i < pieces.size(); ++i)
        joined[i] = pieces[i].bounds;
    bool any = false;
    for (std::size_t k = 0; k < byLeft.size(); ++k) {
        const std::size_t i = byLeft[k];
        const QRect reach = pieces[i].bounds.adjusted(-kWidestCover, -kWidestCover, kWidestCover, kWidestCover);
        for (std::size_t l = k + 1; l < byLeft.size() && pieces[byLeft[l]].bounds.left() <= reach.right(); ++l) {
            const std::size_t j = byLeft[l];
            if (!reach.intersects(pieces[j].bounds))
                continue;
            const int ri = sets.find(int(i)), rj = sets.find(int(j));
            const QRect together = joined[std::size_t(ri)] | joined[std::size_t(rj)];
            // The halves of one marker make a marker's bounds, two markers side by side a long one.
            const int longer = std::max(together.width(), together.height());
            const int shorter = std::min(together.width(), together.height());
            if (ri == rj || longer > largest || longer > kMostJoinedElongation * shorter ||
                !bridged(picture, ink, paper, pieces[i], pieces[j]))
                continue;
            sets.join(ri, rj);
            joined[std::size_t(sets.find(ri))] = together;
            any = true;
        }
    }
    if (!any)
        return pieces;
    std::vector<InkComponent> out;
    std::vector<std::size_t> slot(pieces.size(), pieces.size());
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const std::size_t r = std::size_t(sets.find(int(i)));
        if (slot[r] == pieces.size()) {
            slot[r] = out.size();
            out.push_back({});
        }
        InkComponent &c = out[slot[r]];
        c.bounds |= pieces[i].bounds;
        c.pixels += pieces[i].pixels;
        c.runs.insert(c.runs.end(), pieces[i].runs.begin(), pieces[i].runs.end());
    }
    for (InkComponent &c : out) {
        std::sort(c.runs.begin(), c.runs.end(),
                  [](const InkRunOnRow &a, const InkRunOnRow &b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; });
    }
    return out;
}

CoverInk::CoverInk(const PixelView &picture, const MarkerInk &ink, std::uint32_t paper)
    : picture_(picture)
    , ink_(ink)
    , paper_(paper)
    , colour_(0xff000000u)
{
    for (int i = 0; i < 3; ++i) {
        const int v = std::clamp(int(std::lround(ink.model.background[i] + ink.model.towards[i])), 0, 255);
        colour_ |= std::uint32_t(v) << (16 - 8 * i);
    }
}

bool CoverInk::at(int x, int y) const
{
    return otherInk(picture_, ink_, paper_, x, y) && colourDistance(picture_.at(x, y), colour_) >= kLeastApart;
}

bool touchesCover(const CoverInk &cover, const InkComponent &piece)
{
    const QRect around = piece.bounds.adjusted(-kCoverNear, -kCoverNear, kCoverNear, kCoverNear);
    int count = 0;
    for (int y = around.top(); y <= around.bottom(); ++y) {
        for (int x = around.left(); x <= around.right(); ++x) {
            if (cover.at(x, y) && ++count >= kLeastCover)
                return true;
        }
    }
    return false;
}

bool coverWithin(const CoverInk &cover, const InkComponent &piece)
{
    Patch mine(piece.bounds);
    for (const InkRunOnRow &r : piece.runs) {
        for (int x = r.x0; x <= r.x1; ++x)
            mine.share[mine.index(x, r.y)] = 1;
    }
    const auto isMine = [&](QPoint p) { return mine.at(p.x(), p.y()) > 0; };
    // Between the first pixel of the piece and its last along a row or a column of its bounds.
    const auto coveredBetween = [&](QPoint first, QPoint step, int length) {
        int from = 0, to = length - 1;
        while (from < length && !isMine(first + from * step))
            ++from;
        while (to > from && !isMine(first + to * step))
            --to;
        for (int k = from + 1; k < to; ++k) {
            const QPoint p = first + k * step;
            if (!isMine(p) && cover.at(p.x(), p.y()))
                return true;
        }
        return false;
    };
    const QRect b = piece.bounds;
    for (int y = b.top(); y <= b.bottom(); ++y) {
        if (coveredBetween(QPoint(b.left(), y), QPoint(1, 0), b.width()))
            return true;
    }
    for (int x = b.left(); x <= b.right(); ++x) {
        if (coveredBetween(QPoint(x, b.top()), QPoint(0, 1), b.height()))
            return true;
    }
    return false;
}
