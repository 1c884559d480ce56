#include "trace/dot_walk.h"

#include "trace/ink_pieces.h"
#include "trace/vector_length.h"
#include "trace/walk_heading.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// How far past a dot the next is looked for: the longest gap and a dot.
constexpr int kReach = 16;
constexpr double kLongestGap = 13;
// The most the way may turn from one dot to the next, beyond the bend it had.
constexpr double kWidestTurn = 0.5;
// How far back along the dots the way is fitted: three hops, and at least this.
constexpr double kBendSpan = 12;
constexpr float kNoise = 0.04f;

double turnBetween(QPointF a, QPointF b)
{
    return std::atan2(a.x() * b.y() - a.y() * b.x(), QPointF::dotProduct(a, b));
}

// A dot: about as long as wide, and no longer than a little more than the stroke is wide.
bool isDot(const InkPiece &piece, double width)
{
    const QPointF c = piece.centroid();
    double xx = 0, yy = 0, xy = 0;
    for (const QPointF &p : piece.pixels) {
        const QPointF d = p - c;
        if (length(d) > 0.75 * width + 2)
            return false;
        xx += d.x() * d.x();
        yy += d.y() * d.y();
        xy += d.x() * d.y();
    }
    // Of two or three pixels, what a thin dot's anti-aliasing or JPEG leaves solid, only the length tells.
    if (piece.pixels.size() < 4)
        return true;
    const double n = double(piece.pixels.size());
    const double mean = (xx + yy) / (2 * n);
    const double spread = std::hypot((xx - yy) / (2 * n), xy / n);
    return (mean + spread + 1.0 / 12) / (std::max(mean - spread, 0.0) + 1.0 / 12) < 4;
}

// The ink-weighted middle of a dot, its soft edge included.
QPointF middleOf(const PixelView &picture, const InkModel &model, const InkPiece &piece)
{
    QPoint lo(picture.width, picture.height), hi(-1, -1);
    for (const QPointF &p : piece.pixels) {
        lo = QPoint(std::min(lo.x(), int(p.x())), std::min(lo.y(), int(p.y())));
        hi = QPoint(std::max(hi.x(), int(p.x())), std::max(hi.y(), int(p.y())));
    }
    double mass = 0;
    QPointF sum;
    for (int y = std::max(0, lo.y() - 1); y <= std::min(picture.height - 1, hi.y() + 1); ++y) {
        for (int x = std::max(0, lo.x() - 1); x <= std::min(picture.width - 1, hi.x() + 1); ++x) {
            bool near = false;
            for (const QPointF &p : piece.pixels)
                near = near || (std::abs(int(p.x()) - x) <= 1 && std::abs(int(p.y()) - y) <= 1);
            const float a = near ? model.ink(picture.at(x, y)) : 0;
            if (a < kNoise)
                continue;
            mass += a;
            sum += a * QPointF(x + 0.5, y + 0.5);
        }
    }
    return mass > 0 ? sum / mass : piece.centroid();
}

struct Dot {
    QPointF middle;
    std::size_t pixels = 0;
};

class DotWalk {
public:
    DotWalk(const PixelView &picture, const InkModel &model, double width, std::size_t pixels)
        : m_picture(picture)
        , m_model(model)
        , m_width(width)
        , m_pixels(pixels)
    {}

    // The dots after `from` going along `way`.
    std::vector<QPointF> onFrom(QPointF from, QPointF way, const std::vector<QPointF> &behind) const
    {
        std::vector<QPointF> dots{from};
        double bend = 0;
        Heading fitted{way, 0};
        const int most = 4 * (m_picture.width + m_picture.height);
        for (int hops = 0; hops < most; ++hops) {
            const std::optional<QPointF> next = nextDot(dots.back(), way, bend, fitted);
            if (!next || seen(*next, dots) || seen(*next, behind))
                break;
            const QPointF step = *next - dots.back();
            const QPointF newWay = step / length(step);
            bend = turnBetween(way, newWay) / std::max(1.0, length(step));
            way = newWay;
            dots.push_back(*next);
            fitted = headingAt(dots, way, std::max(kBendSpan, 3 * length(step)));
        }
        dots.erase(dots.begin());
        return dots;
    }

private:
    const PixelView &m_picture;
    const InkModel &m_model;
    double m_width;
    std::size_t m_pixels; // of the first dot

    static bool seen(QPointF p, const std::vector<QPointF> &dots)
    {
        return std::any_of(dots.begin(), dots.end(), [&](QPointF d) { return length(d - p) < 1.5; });
    }

    // The way on is the last hop's bent as the hop before bent it or, where dots on whole pixels make hops turn
    // back and forth by a third of a radian while the curve turns little, the way fitted to the last few dots.
    std::optional<QPointF> nextDot(QPointF last, QPointF way, double bend, const Heading &fitted) const
    {
        const QPointF middle = last + way * (kReach / 2.0);
        const QPoint c(int(std::floor(middle.x())), int(std::floor(middle.y())));
        std::optional<QPointF> best;
        double nearest = kLongestGap + 0.75 * m_width + 2;
        for (const InkPiece &piece :
             inkPiecesIn(m_picture, m_model, QRect(c.x() - kReach, c.y() - kReach, 2 * kReach + 1, 2 * kReach + 1))) {
            if (piece.pixels.size() * 3 < m_pixels || piece.pixels.size() > 3 * m_pixels + 4 || !isDot(piece, m_width))
                continue;
            const QPointF m = middleOf(m_picture, m_model, piece);
            const QPointF to = m - last;
            const double distance = length(to);
            if (distance < 1.5 || distance >= nearest)
                continue;
            // The way bent as it bent from the dot before, over the hop.
            const double angle = bend * distance;
            const QPointF expected(way.x() * std::cos(angle) - way.y() * std::sin(angle),
                                   way.x() * std::sin(angle) + way.y() * std::cos(angle));
            if (std::abs(turnBetween(expected, to / distance)) > kWidestTurn &&
                std::abs(turnBetween(tangentOnArc(fitted, distance / 2), to / distance)) > kWidestTurn)
                continue;
            nearest = distance;
            best = m;
        }
        return best;
    }
};

} // namespace

std::vector<QPointF> dotCentres(const PixelView &picture, const InkModel &model, QPointF at, QPointF direction,
                                double width)
{
    const QPoint c(int(std::floor(at.x())), int(std::floor(at.y())));
    const std::vector<InkPiece> pieces = inkPiecesIn(picture, model, QRect(c.x() - 4, c.y() - 4, 9, 9));
    const InkPiece *own = nullptr;
    double nearestOwn = 2;
    for (const InkPiece &piece : pieces) {
        for (const QPointF &p : piece.pixels) {
            if (length(p - at) < nearestOwn) {
                nearestOwn = length(p - at);
                own = &piece;
            }
        }
    }
    // A piece cut off by the little square looked at is no dot.
    if (!own || !isDot(*own, width))
        return {};
    for (const QPointF &p : own->pixels) {
        if (std::abs(p.x() - (c.x() + 0.5)) >= 4 || std::abs(p.y() - (c.y() + 0.5)) >= 4)
            return {};
    }
    const QPointF first = middleOf(picture, model, *own);
    const DotWalk walk(picture, model, width, own->pixels.size());
    const std::vector<QPointF> ahead = walk.onFrom(first, direction, {});
    const std::vector<QPointF> behind = walk.onFrom(first, -direction, ahead);
    // A dot alone, or two, is no dotted curve.
    if (ahead.size() + behind.size() < 2)
        return {};
    std::vector<QPointF> dots(behind.rbegin(), behind.rend());
    dots.push_back(first);
    dots.insert(dots.end(), ahead.begin(), ahead.end());
    return dots;
}

std::vector<QPointF> curveThroughDots(const std::vector<QPointF> &dots)
{
    std::vector<QPointF> out;
    if (dots.empty())
        return out;
    out.push_back(dots.front());
    const std::size_t n = dots.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        // Catmull-Rom: the tangent at a dot is along the chord of its neighbours.
        const QPointF p0 = dots[i == 0 ? 0 : i - 1];
        const QPointF p1 = dots[i];
        const QPointF p2 = dots[i + 1];
        const QPointF p3 = dots[i + 2 < n ? i + 2 : n - 1];
        const int pieces = std::max(1, int(std::ceil(length(p2 - p1))));
        for (int k = 1; k <= pieces; ++k) {
            const double t = double(k) / pieces;
            const double t2 = t * t;
            const double t3 = t2 * t;
            out.push_back(0.5 * (2 * p1 + (p2 - p0) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t2 +
                                 (3 * p1 - p0 - 3 * p2 + p3) * t3));
        }
    }
    return out;
}
