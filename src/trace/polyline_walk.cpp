#include "trace/polyline_walk.h"

#include "trace/corner_turn.h"
#include "trace/stroke_walk.h"
#include "trace/vector_length.h"

#include <algorithm>
#include <cmath>

namespace {

// Straight pieces beside a corner get a point this often, so that they are joined straight, not bent.
constexpr double kStraightStep = 2;

void add(PolylineWalk &walk, const Walk &piece)
{
    const bool after = !walk.centres.empty();
    walk.centres.insert(walk.centres.end(), piece.centres.begin(), piece.centres.end());
    walk.pastGap.insert(walk.pastGap.end(), piece.pastGap.begin(), piece.pastGap.end());
    // Round a corner, the piece begins right after the straight piece leading to it.
    if (after && !piece.centres.empty())
        walk.pastGap[walk.centres.size() - piece.centres.size()] = false;
    walk.fixed.resize(walk.centres.size(), false);
}

// Points on the straight piece from the last centre to `to`, `to` included.
void addStraight(PolylineWalk &walk, QPointF to, bool last)
{
    const QPointF from = walk.centres.back();
    const int pieces = std::max(1, int(std::ceil(length(to - from) / kStraightStep)));
    for (int k = 1; k <= pieces; ++k) {
        if (k == pieces && !last)
            break;
        walk.centres.push_back(from + (to - from) * (double(k) / pieces));
        walk.pastGap.push_back(false);
        walk.fixed.push_back(true);
    }
}

} // namespace

PolylineWalk walkPolyline(const PixelView &picture, const InkModel &model, const StrokeStart &start,
                          int mostPixelsPerCentre)
{
    PolylineWalk walk;
    const Walk first = walkStroke(picture, model, start, 1, mostPixelsPerCentre);
    add(walk, first);
    walk.closed = first.closed;
    if (walk.closed)
        return walk;
    // However many corners, no longer than a few times round the picture.
    const double longest = 4.0 * (picture.width + picture.height);
    double travelled = 0;
    std::vector<QPointF> corners;
    while (travelled < longest) {
        const std::optional<Corner> corner = cornerAfter(picture, model, walk.centres, start.width);
        if (!corner)
            break;
        // Round to a corner already passed: the polyline is closed.
        if (std::any_of(corners.begin(), corners.end(), [&](QPointF c) { return length(c - corner->at) < 2; }))
            break;
        corners.push_back(corner->at);
        walk.centres.resize(corner->kept);
        walk.pastGap.resize(corner->kept);
        walk.fixed.resize(corner->kept);
        StrokeStart next = start;
        next.at = corner->start;
        next.direction = corner->way;
        next.solid = true;
        Walk piece = walkStroke(picture, model, next, 1, mostPixelsPerCentre);
        if (corner->bend.empty()) {
            addStraight(walk, cornerBetween(walk.centres, piece.centres, corner->at, start.width), true);
            addStraight(walk, corner->start, false);
        } else {
            walk.centres.insert(walk.centres.end(), corner->bend.begin(), corner->bend.end());
            walk.pastGap.resize(walk.centres.size(), false);
            walk.fixed.resize(walk.centres.size(), true);
            // The piece on goes from where the bend was measured to.
            std::size_t skip = 0;
            while (skip < piece.centres.size() &&
                   QPointF::dotProduct(piece.centres[skip] - corner->bend.back(), corner->way) < 0.5)
                ++skip;
            piece.centres.erase(piece.centres.begin(), piece.centres.begin() + std::ptrdiff_t(skip));
            piece.pastGap.erase(piece.pastGap.begin(), piece.pastGap.begin() + std::ptrdiff_t(skip));
        }
        for (std::size_t i = 1; i < piece.centres.size(); ++i)
            travelled += length(piece.centres[i] - piece.centres[i - 1]);
        add(walk, piece);
    }
    return walk;
}
