#include "trace/stroke_walk.h"

#include "trace/stroke_centre.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr double kLongestGap = 13;    // pixels without ink along the way
constexpr double kLongestBridge = 40; // pixels without a trusted centre, crossings included
constexpr double kMostTurn = 0.2;     // radians a pixel

struct Heading {
    QPointF tangent; // unit, the way the walk goes
    double turn = 0; // radians a pixel, positive towards +y from +x
};

QPointF rotated(QPointF v, double angle)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return {v.x() * c - v.y() * s, v.x() * s + v.y() * c};
}

double length(QPointF v)
{
    return std::hypot(v.x(), v.y());
}

// The tangent and bend at the last centre, from a parabola fitted to the centres of the last few pixels in
// the frame of their chord; `fallback` while there are too few of them.
Heading headingAt(const std::vector<QPointF> &centres, QPointF fallback, double span)
{
    const QPointF last = centres.back();
    std::size_t first = centres.size() - 1;
    while (first > 0 && length(last - centres[first]) < span)
        --first;
    const QPointF chord = last - centres[first];
    const double chordLength = length(chord);
    if (chordLength < 2)
        return {fallback, 0};
    const QPointF u = chord / chordLength;
    const QPointF n(-u.y(), u.x());
    // v = a + b t + c t^2 by least squares, t along the chord from the last centre.
    double s[5] = {0, 0, 0, 0, 0}, r[3] = {0, 0, 0};
    for (std::size_t i = first; i < centres.size(); ++i) {
        const QPointF d = centres[i] - last;
        const double t = QPointF::dotProduct(d, u);
        const double v = QPointF::dotProduct(d, n);
        double tp = 1;
        for (int k = 0; k < 5; ++k) {
            s[k] += tp;
            if (k < 3)
                r[k] += tp * v;
            tp *= t;
        }
    }
    const std::size_t count = centres.size() - first;
    double b = 0, c = 0;
    // A bend is believed only from enough centres over most of the span; noise in a few would make one up.
    if (count >= 5 && chordLength >= 0.6 * span) {
        // Normal equations of the parabola, solved by Cramer's rule.
        const double m[3][3] = {{s[0], s[1], s[2]}, {s[1], s[2], s[3]}, {s[2], s[3], s[4]}};
        const auto det3 = [](const double a[3][3]) {
            return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
                   a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
                   a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
        };
        const double det = det3(m);
        if (std::abs(det) > 1e-9) {
            double mb[3][3], mc[3][3];
            for (int i = 0; i < 3; ++i) {
                for (int j = 0; j < 3; ++j) {
                    mb[i][j] = j == 1 ? r[i] : m[i][j];
                    mc[i][j] = j == 2 ? r[i] : m[i][j];
                }
            }
            b = det3(mb) / det;
            c = det3(mc) / det;
        }
    } else if (count >= 2) {
        const double det = s[0] * s[2] - s[1] * s[1];
        if (std::abs(det) > 1e-9)
            b = (s[0] * r[1] - s[1] * r[0]) / det;
    }
    QPointF tangent = u + b * n;
    tangent /= length(tangent);
    // Over a short stretch the way it began with is the better guess.
    if (chordLength < span && !fallback.isNull()) {
        const double trust = chordLength / span;
        tangent = trust * tangent + (1 - trust) * fallback;
        tangent /= length(tangent);
    }
    const double turn = std::clamp(2 * c / std::pow(1 + b * b, 1.5), -kMostTurn, kMostTurn);
    return {tangent, turn};
}

// A cross-section the walk looks at next: the column or row `line`, where the stroke is expected at
// `expected`.
struct Probe {
    CrossAxis axis = CrossAxis::Column;
    int line = 0;
    double expected = 0;
    double cosine = 1; // of the angle between the way and the axis the probe steps along
    double arc = 0;    // pixels along the way from where the probe was planned
    QPointF place;
    QPointF tangent; // the way at the probe
};

double majorOf(CrossAxis axis, QPointF p)
{
    return axis == CrossAxis::Column ? p.x() : p.y();
}

double minorOf(CrossAxis axis, QPointF p)
{
    return axis == CrossAxis::Column ? p.y() : p.x();
}

// The next column or row about `advance` pixels ahead of `from` along an arc of the heading.
Probe probeAhead(QPointF from, const Heading &h, int advance)
{
    const auto axisOf = [](QPointF d) {
        return std::abs(d.x()) >= std::abs(d.y()) ? CrossAxis::Column : CrossAxis::Row;
    };
    const double roughArc = advance / std::max(0.7, std::abs(majorOf(axisOf(h.tangent), h.tangent)));
    const QPointF chord = rotated(h.tangent, h.turn * roughArc / 2);
    Probe p;
    p.axis = axisOf(chord);
    const double cm = majorOf(p.axis, chord);
    const double sign = cm > 0 ? 1 : -1;
    const double fromMajor = majorOf(p.axis, from);
    p.line = int(std::floor(fromMajor + sign * advance));
    if ((p.line + 0.5 - fromMajor) * sign < 0.5)
        p.line += int(sign);
    const double target = p.line + 0.5;
    p.expected = minorOf(p.axis, from) + minorOf(p.axis, chord) / cm * (target - fromMajor);
    p.cosine = std::abs(cm);
    p.arc = std::abs(target - fromMajor) / p.cosine;
    p.place = placeOnLine(p.axis, p.line, p.expected);
    p.tangent = rotated(h.tangent, h.turn * p.arc);
    return p;
}

enum class Seen { Centre, Ink, Nothing };

struct Look {
    Seen seen = Seen::Nothing;
    QPointF centre;
    double width = 0;
    double offset = 0; // of the centre from where it was expected, across the way, in pixels
};

class Walker {
public:
    Walker(const PixelView &picture, const InkModel &model, const StrokeStart &start, int fewest, int most)
        : m_picture(picture)
        , m_model(model)
        , m_start(start)
        , m_width(start.width)
        , m_stairs(start.hardEdged ? 0.5 : 0)
        , m_fewest(fewest)
        , m_most(most)
    {
        m_walk.centres.push_back(start.at);
        m_widths.push_back(start.width);
    }

    Walk run()
    {
        const double longest = 4.0 * (m_picture.width + m_picture.height);
        int advance = m_fewest;
        while (m_travelled < longest && !m_walk.closed) {
            const Heading h = heading();
            const Probe probe = probeAhead(m_walk.centres.back(), h, advance);
            const Look look = lookAt(probe, 0.8 + 0.25 * advance);
            if (look.seen == Seen::Centre && look.offset <= 0.7 + 0.15 * m_width + 0.1 * advance + m_stairs) {
                accept(look);
                advance = look.offset < 0.4 ? std::min(advance + 1, m_most) : look.offset > 0.7 ? m_fewest : advance;
                continue;
            }
            if (advance > m_fewest) {
                advance = m_fewest; // a nearer look first: the way is known better there
                continue;
            }
            if (!bridge(h))
                break;
            advance = m_fewest;
        }
        trimEnd();
        return std::move(m_walk);
    }

private:
    const PixelView &m_picture;
    const InkModel &m_model;
    StrokeStart m_start;
    Walk m_walk;
    std::vector<double> m_widths; // of each centre
    double m_width;
    double m_stairs; // how far a centre may stand off the line for the stroke's pixels being whole
    int m_fewest, m_most;
    double m_travelled = 0;

    Heading heading() const { return headingAt(m_walk.centres, m_start.direction, std::max(12.0, 3 * m_width)); }

    bool inside(const Probe &p) const
    {
        const int across = p.axis == CrossAxis::Column ? m_picture.width : m_picture.height;
        const int along = p.axis == CrossAxis::Column ? m_picture.height : m_picture.width;
        return p.line >= 0 && p.line < across && p.expected >= 0 && p.expected < along;
    }

    Look lookAt(const Probe &p, double slack) const
    {
        Look look;
        if (!inside(p))
            return look;
        const double halfExtent = 0.5 * m_width / p.cosine + 0.7;
        const double reach = halfExtent + slack;
        const int extendBy = int(std::ceil((1.6 * m_width + 3) / p.cosine));
        const CrossSection cs = inkRuns(m_picture, m_model, p.axis, p.line, int(std::floor(p.expected - reach)),
                                        int(std::floor(p.expected + reach)), extendBy);
        const InkRun *best = nullptr;
        for (int i = 0; i < cs.count; ++i) {
            const InkRun &r = cs.runs[std::size_t(i)];
            if (r.peak < kStrokePeak)
                continue;
            if (!best || std::abs(r.centre - p.expected) < std::abs(best->centre - p.expected))
                best = &r;
        }
        if (!best)
            return look;
        look.width = best->mass * p.cosine;
        const bool wide = best->open || look.width > 1.45 * m_width + 0.8 ||
                          (best->last - best->first + 1) * p.cosine > m_width + 2.5;
        // Part of the stroke: its end, or where something of another colour covers the rest. Its centre is
        // not the stroke's.
        const bool narrow = look.width < 0.75 * m_width - 0.25;
        if (narrow)
            return look;
        look.seen = wide ? Seen::Ink : Seen::Centre;
        look.centre = placeOnLine(p.axis, p.line, best->centre);
        look.offset = std::abs(best->centre - p.expected) * p.cosine;
        return look;
    }

    void accept(const Look &look)
    {
        const QPointF last = m_walk.centres.back();
        m_travelled += length(look.centre - last);
        m_walk.centres.push_back(look.centre);
        m_widths.push_back(look.width);
        m_width = 0.9 * m_width + 0.1 * look.width;
        if (m_travelled > 6 * std::max(5.0, m_width) && length(look.centre - m_start.at) < 1.5 + 0.5 * m_width)
            m_walk.closed = true;
    }

    // Where a stroke ends, the last cross-sections cut its end at a slant, or take in a little of what it ends
    // against: their centres are off the line. Those within the end's slant go, and so do those whose width
    // tells of a cut or of something touching, where the edges are soft enough for the width to tell.
    void trimEnd()
    {
        if (m_walk.closed || m_walk.centres.size() < 2)
            return;
        const Heading h = heading();
        const CrossAxis axis = std::abs(h.tangent.x()) >= std::abs(h.tangent.y()) ? CrossAxis::Column : CrossAxis::Row;
        const double slant = m_width * std::abs(minorOf(axis, h.tangent)) + 0.5;
        const double end = majorOf(axis, m_walk.centres.back());
        const auto off = [&] {
            const double w = m_widths.back();
            const bool cut = std::abs(majorOf(axis, m_walk.centres.back()) - end) < slant;
            return cut || (m_stairs == 0 && (w < 0.9 * m_width - 0.1 || w > 1.15 * m_width + 0.3));
        };
        while (m_walk.centres.size() > 1 && off()) {
            m_walk.centres.pop_back();
            m_widths.pop_back();
        }
    }

    // Past a gap or a crossing: goes on along the arc of `h` from the last centre, one pixel at a time, until
    // a few centres lie on it again (taken, true) or the gap or the bridge grows too long (the end, false).
    bool bridge(const Heading &h)
    {
        QPointF place = m_walk.centres.back();
        Heading along = h;
        double travelled = 0;
        double empty = 0;
        std::vector<Look> found;
        while (travelled < kLongestBridge) {
            const Probe probe = probeAhead(place, along, 1);
            travelled += probe.arc;
            place = probe.place;
            along.tangent = probe.tangent;
            if (!inside(probe))
                return false;
            const Look look = lookAt(probe, 1.0 + 0.3 * m_width + 0.08 * travelled);
            if (look.seen == Seen::Centre && look.offset <= 0.8 + 0.3 * m_width + 0.05 * travelled + m_stairs) {
                found.push_back(look);
                empty = 0;
                if (found.size() >= 3 &&
                    length(found.back().centre - found.front().centre) >= std::max(3.0, 1.5 * m_width)) {
                    for (const Look &l : found)
                        accept(l);
                    return true;
                }
                continue;
            }
            if (look.seen == Seen::Ink) {
                found.clear();
                empty = 0;
                continue;
            }
            empty += probe.arc;
            if (empty > kLongestGap)
                return false;
        }
        return false;
    }
};

} // namespace

Walk walkStroke(const PixelView &picture, const InkModel &model, const StrokeStart &start, int fewestPixelsPerCentre,
                int mostPixelsPerCentre)
{
    return Walker(picture, model, start, std::max(1, fewestPixelsPerCentre),
                  std::max(fewestPixelsPerCentre, mostPixelsPerCentre))
        .run();
}
