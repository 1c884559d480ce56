#include "trace/stroke_walk.h"

#include "trace/gap_search.h"
#include "trace/stroke_centre.h"
#include "trace/vector_length.h"
#include "trace/walk_heading.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr double kLongestGap = 13;     // pixels without ink along the way
constexpr double kGapPastCrossing = 5; // the same, right behind ink too wide for the stroke
constexpr double kLongestBridge = 40;  // pixels past the last trusted centre, crossings included
// How much farther off the way a centre may lie for each pixel past the last trusted one: a bend that grows,
// as it does towards the crest of a wave, is foreseen too little.
constexpr double kSpread = 0.12;
// The most a curve may turn across a gap, from the way it had, to the piece it goes on with.
constexpr double kWidestTurn = 0.6;
// How far back the way is fitted over the dashes behind a gap.
constexpr double kWayOverDashes = 40;
// The most what comes after a gap may turn from the way the curve went before it.
constexpr double kTrialTurn = 0.7;
// The same past a crossing, where it goes on straight.
constexpr double kCrossingTurn = 0.35;

double majorOf(CrossAxis axis, QPointF p)
{
    return axis == CrossAxis::Column ? p.x() : p.y();
}

double minorOf(CrossAxis axis, QPointF p)
{
    return axis == CrossAxis::Column ? p.y() : p.x();
}

// A cross-section the walk looks at: the column or row `line`, where the way planned from the last trusted
// centre crosses it at `place`.
struct Probe {
    CrossAxis axis = CrossAxis::Column;
    int line = 0;
    double arc = 0; // along the way from the last trusted centre
    QPointF place;
    QPointF tangent;
    [[nodiscard]] double cosine() const { return std::abs(majorOf(axis, tangent)); }
    [[nodiscard]] double expected() const { return minorOf(axis, place); }
};

// What a cross-section shows where the stroke is expected: its centre; ink too wide for it (a crossing, an
// axis along the cross-section); a part of it (a cut end, a dot, where something covers the rest); nothing.
enum class Seen { Centre, Ink, Part, Nothing };

struct Look {
    Seen seen = Seen::Nothing;
    QPointF centre;
    QPointF expected;
    double width = 0;   // across the way, in pixels
    double mass = 0;    // along the cross-section
    double offset = 0;  // of the centre from where it was expected, across the way, in pixels
    bool exact = false; // the middle of a whole piece, which no cut end can move
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
        Look first;
        first.seen = Seen::Centre;
        first.centre = start.at;
        first.width = start.width;
        first.exact = true;
        trust(first);
        m_cursor.axis = axisAcross(start.direction);
        m_cursor.line = int(std::floor(majorOf(m_cursor.axis, start.at)));
        m_cursor.place = start.at;
        m_cursor.tangent = start.direction;
        // A start off the centre line may be at a cut end: its piece is taken as any other.
        m_fresh = !start.solid;
    }

    Walk run()
    {
        const double longest = 4.0 * (m_picture.width + m_picture.height);
        int advance = m_fewest;
        double gap = 0;
        double longestGap = kLongestGap;
        std::optional<QPointF> aimedAt; // the piece across the gap the walk makes for
        // However the way turns, a walk looks at no more cross-sections than a few times round the picture.
        for (int looks = 0; looks < 4 * int(longest) && m_travelled < longest && !m_walk.closed && !m_over; ++looks) {
            const std::optional<Probe> probe = plan(advance);
            if (!probe || !inside(*probe) || probe->arc > kLongestBridge)
                break;
            const bool steady = !m_trial && m_piece.size() > 1;
            const auto slack = [&](const Probe &p) {
                return steady ? 0.8 + 0.25 * advance : 1.0 + 0.3 * m_width + kSpread * p.arc;
            };
            // Past a crossing the curve goes on straight: what lies off that way is the other curve.
            const bool pastCrossing = m_trial && !m_trialAcrossGap;
            const auto allowedAt = [&](const Probe &p) {
                return steady         ? 0.4 + 0.15 * m_width + 0.1 * advance + m_stairs
                       : pastCrossing ? 0.6 + 0.2 * m_width + 0.08 * p.arc + m_stairs
                                      : 0.8 + 0.3 * m_width + kSpread * p.arc + m_stairs;
            };
            const Look look = lookAt(*probe, slack(*probe));
            const double stepped = length(probe->place - m_cursor.place);
            m_cursor = *probe;
            const double allowed = allowedAt(*probe);
            // The centre of a part of the stroke (a cut end, a dot) may stand off the line by up to half its width.
            const bool onWay = look.offset <= allowed + (look.seen == Seen::Part ? 0.5 * m_width + 0.5 : 0);

            if ((look.seen == Seen::Centre || look.seen == Seen::Part) && onWay) {
                gap = 0;
                longestGap = kLongestGap;
                aimedAt.reset();
                inPiece(look, *probe);
                // Longer strides only along a long unbroken stretch, and no longer than its bend allows.
                const bool longStretch = length(m_piece.back().centre - m_piece.front().centre) >= 16;
                advance = look.seen == Seen::Centre && look.offset < 0.4 && !m_trial
                              ? std::min({2 * advance, longStretch ? m_most : 3, straightFor()})
                              : m_fewest;
                continue;
            }
            if (steady && advance > m_fewest) {
                // A nearer look first: the way is known better there.
                m_cursor = m_lastInPiece;
                advance = m_fewest;
                continue;
            }
            const bool left = !m_piece.empty();
            endPiece();
            if (left && look.seen == Seen::Nothing) {
                const std::optional<QPointF> next = aimAcrossGap();
                if (!next)
                    break;
                // The walk goes on as far as the piece it makes for, which its faint ends may set farther off.
                longestGap = std::max(kLongestGap, gap + stepped + length(*next - m_cursor.place) + 2);
                aimedAt = next;
            }
            advance = m_fewest;
            // Ink too wide where the piece made for begins is that piece crossing something (a grid line).
            if (look.seen == Seen::Ink && !(aimedAt && length(probe->place - *aimedAt) <= m_width + 3))
                m_pastInk = true;
            else
                gap += stepped;
            // A curve crossing an axis or another curve goes on right behind it; a gap there means it ended on
            // it, and what lies beyond (tick marks, numbers) is not its.
            if (gap > (m_pastInk ? kGapPastCrossing : longestGap))
                break;
        }
        finish();
        return std::move(m_walk);
    }

private:
    const PixelView &m_picture;
    const InkModel &m_model;
    StrokeStart m_start;
    Walk m_walk;
    std::vector<double> m_widths; // of each trusted centre
    std::vector<bool> m_exact;
    double m_width;
    double m_stairs; // how far a centre may stand off the line for the stroke's pixels being whole
    int m_fewest, m_most;
    double m_travelled = 0;
    // The way planned from the last centre measured (trusted or not): the best guess of where the stroke goes.
    QPointF m_anchor;
    Heading m_heading;
    Probe m_cursor;                  // the last cross-section looked at
    Probe m_lastInPiece;             // the last one that showed the stroke
    std::optional<Look> m_lastWhole; // the last centre measured
    // The piece of stroke under the probes now: every look at it, and the centres waiting to be trusted until
    // the walk is far enough from the piece's ends for no cut end to move them.
    std::vector<Look> m_piece;
    std::vector<Look> m_pending;
    std::vector<QPointF> m_track; // room for aimOn()
    double m_turn = 0;            // the bend last taken, radians a pixel
    QPointF m_turnAt;             // where
    bool m_turnStale = true;
    std::optional<QPointF> m_solidFrom; // where the centres of the piece began; none for the start's own
    bool m_fresh = false;               // the next centre begins them
    bool m_pieceTrusted = false;
    bool m_gapBehind = false; // the next centre trusted comes after a gap
    // After a gap or a crossing, what comes next is on trial until three centres are trusted.
    // It must also go the way the curve went before, not across (a tick mark, a letter).
    bool m_trial = false;
    std::size_t m_trialFrom = 0;
    QPointF m_trialAnchor;
    Heading m_trialHeading;
    bool m_trialAcrossGap = false; // past a gap, not only past ink too wide
    bool m_over = false;           // what came after a gap went another way: the curve ended there
    bool m_pastInk = false;        // ink too wide for the stroke was seen since the last trusted centre

    bool inside(const Probe &p) const
    {
        const int across = p.axis == CrossAxis::Column ? m_picture.width : m_picture.height;
        const int along = p.axis == CrossAxis::Column ? m_picture.height : m_picture.width;
        return p.line >= 0 && p.line < across && p.expected() >= 0 && p.expected() < along;
    }

    // How many lines on a straight piece between two centres stays within a twentieth of a pixel of the bend.
    int straightFor() const
    {
        const double bend = std::max(std::abs(m_turn), 1e-4);
        return std::max(m_fewest, int(std::sqrt(0.4 / bend)));
    }

    // How far along the way the end of a stroke cut square, or rounded, spoils the cross-sections.
    double cutLength(QPointF tangent) const
    {
        const CrossAxis axis = axisAcross(tangent);
        const double slope = std::abs(minorOf(axis, tangent)) / std::abs(majorOf(axis, tangent));
        return m_width * std::max(slope, 0.5) + 0.5;
    }

    // The next cross-section `advance` lines on from the cursor, where the arc of the heading from the anchor
    // crosses it: across the axis the way runs closest to there, or the other one where the arc bends away.
    std::optional<Probe> plan(int advance) const { return plan(advance, m_heading); }

    std::optional<Probe> plan(int advance, const Heading &heading) const
    {
        const double cursorArc = std::max(0.0, QPointF::dotProduct(m_cursor.place - m_anchor, heading.tangent));
        const CrossAxis ahead = axisAcross(tangentOnArc(heading, cursorArc + advance));
        const CrossAxis other = ahead == CrossAxis::Column ? CrossAxis::Row : CrossAxis::Column;
        if (std::optional<Probe> p = planAcross(ahead, advance, cursorArc, heading))
            return p;
        return planAcross(other, advance, cursorArc, heading);
    }

    std::optional<Probe> planAcross(CrossAxis axis, int advance, double cursorArc, const Heading &heading) const
    {
        const QPointF tangent = tangentOnArc(heading, cursorArc);
        const double along = majorOf(axis, tangent);
        if (std::abs(along) < 0.2)
            return std::nullopt;
        const int sign = along > 0 ? 1 : -1;
        const double cursorMajor = majorOf(axis, m_cursor.place);
        int line =
            axis == m_cursor.axis ? m_cursor.line + sign * advance : int(std::floor(cursorMajor + sign * advance));
        if ((line + 0.5 - cursorMajor) * sign < 0.5)
            line += sign;
        // Always on along the way: where the axis changes, the first line may still lie behind the cursor.
        for (int tries = 0; tries < 4; ++tries, line += sign) {
            std::optional<Probe> p = probeOn(axis, line, cursorArc + (line + 0.5 - cursorMajor) / along, heading);
            if (!p)
                return std::nullopt;
            if (p->arc >= cursorArc + 0.5)
                return p;
        }
        return std::nullopt;
    }

    // Where the arc of `heading` from the anchor meets the centre of `line`, by Newton's method from `arc`.
    std::optional<Probe> probeOn(CrossAxis axis, int line, double arc, const Heading &heading) const
    {
        const double target = line + 0.5;
        double miss = 1;
        for (int i = 0; i < 5 && std::abs(miss) > 0.005; ++i) {
            const double slope = majorOf(axis, tangentOnArc(heading, arc));
            if (std::abs(slope) < 0.2)
                return std::nullopt;
            miss = majorOf(axis, onArc(m_anchor, heading, arc)) - target;
            arc -= miss / slope;
        }
        if (arc <= 0 || std::abs(majorOf(axis, onArc(m_anchor, heading, arc)) - target) > 0.01)
            return std::nullopt;
        Probe p;
        p.axis = axis;
        p.line = line;
        p.arc = arc;
        p.place = onArc(m_anchor, heading, arc);
        p.tangent = tangentOnArc(heading, arc);
        return p;
    }

    Look lookAt(const Probe &p, double slack) const
    {
        Look look;
        const double cosine = p.cosine();
        const double reach = 0.5 * m_width / cosine + 0.7 + slack;
        const int extendBy = int(std::ceil((1.6 * m_width + 3) / cosine));
        const CrossSection cs = inkRuns(m_picture, m_model, p.axis, p.line, int(std::floor(p.expected() - reach)),
                                        int(std::floor(p.expected() + reach)), extendBy);
        const InkRun *best = nullptr;
        for (int i = 0; i < cs.count; ++i) {
            const InkRun &r = cs.runs[std::size_t(i)];
            if (!best || std::abs(r.centre - p.expected()) < std::abs(best->centre - p.expected()))
                best = &r;
        }
        if (!best)
            return look;
        // A faint line along the cross-section (a grid line that a JPEG copy tints towards the colour) draws the
        // run out on both sides without widening the stroke: the run is measured again over its solid pixels.
        CrossSection solid;
        const double stair = m_stairs > 0 ? cosine : 0;
        if ((best->last - best->first + 1) * cosine > m_width + 2 + stair &&
            (best->solidLast - best->solidFirst + 1) * cosine <= m_width + 2 + stair) {
            solid = inkRuns(m_picture, m_model, p.axis, p.line, best->solidFirst, best->solidLast, 0);
            if (solid.count == 1) {
                solid.runs[0].open = best->open; // the search was cut short on purpose
                best = &solid.runs[0];
            }
        }
        look.width = best->mass * cosine;
        look.mass = best->mass;
        look.centre = placeOnLine(p.axis, p.line, best->centre);
        look.expected = p.place;
        look.offset = std::abs(best->centre - p.expected()) * cosine;
        // Wider than the stroke: a crossing, or something it runs into; its centre is not the stroke's either.
        // A hard-edged stroke's staircase may take a whole pixel more.
        const bool wide = best->open || look.width > 1.2 * m_width + 0.3 + stair ||
                          (best->last - best->first + 1) * cosine > m_width + 2 + stair;
        const bool faint = best->peak < kStrokePeak;
        const bool part = look.width < 0.75 * m_width - 0.25 || faint;
        // A faint line along the cross-section (a grid line) is no crossing: the stroke is just not there.
        look.seen = wide ? (faint ? Seen::Nothing : Seen::Ink) : part ? Seen::Part : Seen::Centre;
        return look;
    }

    void inPiece(const Look &look, const Probe &probe)
    {
        m_lastInPiece = probe;
        if (look.seen == Seen::Centre)
            m_lastWhole = look;
        m_piece.push_back(look);
        const double cut = cutLength(probe.tangent);
        // Those far enough behind the probe can no longer be near a cut end.
        std::size_t kept = 0;
        for (const Look &p : m_pending) {
            if (length(p.centre - probe.place) >= cut) {
                trust(p);
                m_pieceTrusted = true;
            } else {
                m_pending[kept++] = p;
            }
        }
        m_pending.resize(kept);
        // A part of the stroke within a piece is a cut as much as its ends are.
        if (m_fresh || look.seen == Seen::Part)
            m_solidFrom = look.centre;
        m_fresh = false;
        if (look.seen == Seen::Part) {
            m_pending.clear();
            return;
        }
        if (!m_solidFrom || length(look.centre - *m_solidFrom) >= cut) {
            m_pending.push_back(look);
            aimOn(true);
        }
    }

    // The piece ends: one seen whole without a trusted centre gives its ink-weighted middle; centres near its
    // end are dropped.
    void endPiece()
    {
        if (m_piece.empty())
            return;
        const double cut = cutLength(m_heading.tangent);
        // A dash whose centres were all too near a cut (its own ends, noise taken for a part) gives its middle
        // too, which lies off its centre line only by the sag of its bend.
        // A piece thinner than a wide stroke all along is something else (a letter's stroke); a hair line's
        // faint dots are as thin as it is.
        const bool whole = m_width < 2 || std::any_of(m_piece.begin(), m_piece.end(),
                                                      [](const Look &l) { return l.seen == Seen::Centre; });
        if (!m_pieceTrusted && whole && length(m_piece.back().centre - m_piece.front().centre) <= 3 * (2 * cut + 2)) {
            const Look whole = middleOf(m_piece);
            const double arc = length(whole.centre - m_anchor);
            if (whole.offset <= 0.8 + 0.3 * m_width + kSpread * arc + m_stairs)
                trust(whole);
        }
        m_piece.clear();
        m_pending.clear();
        m_pieceTrusted = false;
        m_fresh = true;
        m_turnStale = true;
        m_gapBehind = true;
        aimOn(false);
        if (!m_trial) {
            m_trial = true;
            m_trialFrom = m_walk.centres.size();
            m_trialAnchor = m_anchor;
            m_trialHeading = m_heading;
            m_trialAcrossGap = false;
        }
    }

    // Past the end of a piece, the walk makes for the piece of ink that goes on straightest, or ends.
    std::optional<QPointF> aimAcrossGap()
    {
        const QPointF end = m_walk.centres.back();
        // The gap is counted from where the ink ended, which the last trusted centre lies a cut behind.
        const double reach = kLongestGap + length(m_lastInPiece.place - end) + m_width + 2;
        std::optional<QPointF> next = pieceAcrossGap(m_picture, m_model, end, m_heading, m_width, reach, kWidestTurn);
        // The way at the end of a short dash is a rough one: round a bend, the way the walk went over the dashes
        // before it tells better where the curve goes.
        if (!next && m_walk.centres.size() >= 4 && gapWithin(kWayOverDashes)) {
            const Heading along = headingAt(m_walk.centres, m_heading.tangent, kWayOverDashes, m_heading.turn);
            next = pieceAcrossGap(m_picture, m_model, end, along, m_width, reach, kWidestTurn);
        }
        if (!next)
            return std::nullopt;
        m_anchor = end;
        m_heading = {(*next - end) / length(*next - end), 0};
        // What comes next is judged against the way across the gap.
        m_trialAnchor = m_anchor;
        m_trialHeading = m_heading;
        m_trialAcrossGap = true;
        return next;
    }

    // Whether the walk crossed a gap (or a crossing) within its last `span` pixels.
    bool gapWithin(double span) const
    {
        const QPointF end = m_walk.centres.back();
        for (std::size_t i = m_walk.centres.size(); i-- > 1 && length(m_walk.centres[i] - end) < span;) {
            if (m_walk.pastGap[i])
                return true;
        }
        return false;
    }

    // Plans the way on from the centres trusted and, with `measured`, those still waiting.
    void aimOn(bool measured)
    {
        std::vector<QPointF> &track = m_track;
        track.clear();
        const double span = std::max(24.0, 6 * m_width);
        std::size_t first = m_walk.centres.size() - 1;
        while (first > 0 && length(m_walk.centres.back() - m_walk.centres[first]) < span)
            --first;
        track.assign(m_walk.centres.begin() + std::ptrdiff_t(first), m_walk.centres.end());
        if (measured) {
            for (const Look &l : m_pending)
                track.push_back(l.centre);
        }
        m_anchor = track.back();
        // The bend from a dozen pixels, or twice as many where it is slight; taken again only once the walk
        // has gone a pixel, since it changes slowly.
        if (m_turnStale || length(m_anchor - m_turnAt) >= 1) {
            double turn = headingAt(track, m_start.direction, std::max(12.0, 3 * m_width)).turn;
            if (std::abs(turn) * 12 < 0.25)
                turn = headingAt(track, m_start.direction, span).turn;
            m_turn = turn;
            m_turnAt = m_anchor;
            m_turnStale = false;
        }
        // The tangent from the last few pixels, where the bend has not changed yet: twice as many where the
        // centres stand on whole pixels.
        const double near = m_stairs > 0 ? std::max(12.0, 3 * m_width) : std::max(6.0, 2 * m_width);
        m_heading = headingAt(track, m_start.direction, near, m_turn, false);
        m_heading.turn = m_turn;
    }

    Look middleOf(const std::vector<Look> &piece) const
    {
        Look whole;
        QPointF centre, expected;
        for (const Look &l : piece) {
            whole.mass += l.mass;
            centre += l.mass * l.centre;
            expected += l.mass * l.expected;
        }
        whole.seen = Seen::Centre;
        whole.centre = centre / whole.mass;
        whole.expected = expected / whole.mass;
        whole.width = m_width;
        whole.offset = length(whole.centre - whole.expected);
        whole.exact = true;
        return whole;
    }

    void trust(const Look &look)
    {
        if (!m_walk.centres.empty())
            m_travelled += length(look.centre - m_walk.centres.back());
        m_walk.centres.push_back(look.centre);
        m_walk.pastGap.push_back(m_gapBehind || look.exact);
        m_gapBehind = false;
        m_widths.push_back(look.exact ? m_width : look.width);
        m_exact.push_back(look.exact);
        if (!look.exact)
            m_width = 0.9 * m_width + 0.1 * look.width;
        aimOn(true);
        m_pastInk = false;
        if (m_trial)
            judgeTrial();
        if (m_travelled > 6 * std::max(5.0, m_width) && length(look.centre - m_start.at) < 1.5 + 0.5 * m_width)
            m_walk.closed = true;
    }

    void judgeTrial()
    {
        const QPointF first = m_walk.centres[m_trialFrom];
        const QPointF last = m_walk.centres.back();
        const double span = length(last - first);
        if (m_walk.centres.size() < m_trialFrom + 3 || span < std::max(5.0, 2 * m_width))
            return;
        const QPointF middle = (first + last) / 2;
        const double arc = QPointF::dotProduct(middle - m_trialAnchor, m_trialHeading.tangent);
        const QPointF expected = tangentOnArc(m_trialHeading, std::max(0.0, arc));
        const QPointF way = (last - first) / span;
        const double turn =
            std::abs(std::atan2(expected.x() * way.y() - expected.y() * way.x(), QPointF::dotProduct(expected, way)));
        m_trial = false;
        m_over = turn > (m_trialAcrossGap ? kTrialTurn : kCrossingTurn) + (m_stairs > 0 ? 0.15 : 0);
        if (m_over)
            m_trial = true; // so that finish() undoes it
    }

    // The walk is over: what is still on trial was not the curve going on, and centres next to the end whose
    // width tells of something touching it go, where the edges are soft enough for the width to tell.
    void finish()
    {
        m_pending.clear();
        if (m_trial)
            shrinkTo(std::max<std::size_t>(1, m_trialFrom));
        if (m_walk.closed)
            return;
        const QPointF end = m_walk.centres.back();
        while (m_stairs == 0 && m_walk.centres.size() > 1 && !m_exact.back() &&
               length(m_walk.centres.back() - end) < 2 * m_width + 2) {
            const double w = m_widths.back();
            if (w >= 0.9 * m_width - 0.1 && w <= 1.15 * m_width + 0.3)
                break;
            shrinkTo(m_walk.centres.size() - 1);
        }
        reachEnd();
    }

    // The centres near the end were left out for the cut there; the last cross-section that held the whole
    // stroke still tells how far it goes: the line is drawn on to there along the way, unless the way passes
    // it by half a pixel or more, where the stroke bends tighter than the way foresees.
    void reachEnd()
    {
        if (!m_lastWhole || m_walk.centres.size() < 2)
            return;
        aimOn(false);
        const QPointF end = m_walk.centres.back();
        const QPointF to = m_lastWhole->centre - end;
        const double along = QPointF::dotProduct(to, m_heading.tangent);
        const double across = std::abs(m_heading.tangent.x() * to.y() - m_heading.tangent.y() * to.x());
        if (along > 0.3 && along <= cutLength(m_heading.tangent) + 2 && across < 0.5) {
            m_walk.centres.push_back(onArc(end, m_heading, along));
            m_walk.pastGap.push_back(false);
            m_widths.push_back(m_width);
            m_exact.push_back(false);
        }
    }

    void shrinkTo(std::size_t size)
    {
        m_walk.centres.resize(size);
        m_walk.pastGap.resize(size);
        m_widths.resize(size);
        m_exact.resize(size);
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
