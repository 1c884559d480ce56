#include "trace/marker_shape.h"

#include "trace/line_fit.h"
#include "trace/marker_patch.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// The least share the pixels of an outline's side reach.
constexpr double kSideCore = 0.4;
// How much more ink than the fit of a filled triangle's rows a row may hold, for its pixels, and still be the
// triangle's alone.
constexpr double kStubInk = 0.8;
// A pixel of a marker's anti-aliased edge holds this much of the colour or more where the shape covers a good
// part of it.
constexpr float kFaint = 0.2f;

// Triangles up to this many pixels across have too few whole pixels for their own ink to tell their shape.
constexpr int kFewPixels = 7;
// Outlined triangles up to this many pixels across have too few rows to fit their sides; the third moment's
// measure below holds for their outlines, a pixel wide at that size.
constexpr int kThinOutlines = 11;

// How far the middle of a row of a marker may lie from the others' and still be the marker's alone.
constexpr double kRowMiddleSpread = 0.75;

// How far a triangle's middle lies from its centroid towards its tip, from the third moment of its rows'
// ink, which blurring it (anti-aliasing, the pixels) leaves as it is, and which a line through it hardly
// moves. A filled triangle's ink grows in proportion to the distance from its tip: the third moment is
// -h^3/135, and the middle lies h/6 from the centroid, 0.855 times the moment's cube root. A thin outline's
// ink lies more evenly along its height, with its base's below, which puts the middle nearer: about 0.7 times.
double triangleOffset(const InkShape &shape)
{
    const double thirdMoment = std::abs(shape.skewY) * std::pow(shape.varianceY, 1.5);
    return (shape.hollow ? 0.7 : 0.855) * std::cbrt(thirdMoment);
}

InkShape shapeOf(const Patch &p)
{
    InkShape s;
    double sx = 0, sy = 0;
    for (int y = p.area.top(); y <= p.area.bottom(); ++y) {
        for (int x = p.area.left(); x <= p.area.right(); ++x) {
            const double a = p.at(x, y);
            s.mass += a;
            sx += a * (x + 0.5);
            sy += a * (y + 0.5);
        }
    }
    if (s.mass <= 0)
        return s;
    s.centroid = QPointF(sx / s.mass, sy / s.mass);
    QRect faint;
    for (int y = p.area.top(); y <= p.area.bottom(); ++y) {
        for (int x = p.area.left(); x <= p.area.right(); ++x) {
            if (p.at(x, y) >= kFaint)
                faint |= QRect(x, y, 1, 1);
        }
    }
    s.faintExtent = std::max(faint.width(), faint.height());
    double m3 = 0;
    for (int y = p.area.top(); y <= p.area.bottom(); ++y) {
        for (int x = p.area.left(); x <= p.area.right(); ++x) {
            const double a = p.at(x, y);
            const double dx = x + 0.5 - s.centroid.x();
            const double dy = y + 0.5 - s.centroid.y();
            s.varianceX += a * dx * dx;
            s.varianceY += a * dy * dy;
            s.covariance += a * dx * dy;
            m3 += a * dy * dy * dy;
        }
    }
    s.varianceX /= s.mass;
    s.varianceY /= s.mass;
    s.covariance /= s.mass;
    s.skewY = s.varianceY > 0 ? (m3 / s.mass) / std::pow(s.varianceY, 1.5) : 0;
    const double mean = (s.varianceX + s.varianceY) / 2;
    const double spread = std::hypot((s.varianceX - s.varianceY) / 2, s.covariance);
    const double big = mean + spread;
    const double small = std::max(mean - spread, 1.0 / 12);
    s.elongation = std::sqrt(big / small);
    const double angle = 0.5 * std::atan2(2 * s.covariance, s.varianceX - s.varianceY);
    s.longAxis = QPointF(std::cos(angle), std::sin(angle));
    s.hollow = p.at(int(std::floor(s.centroid.x())), int(std::floor(s.centroid.y()))) < 0.5f;
    return s;
}

// The rows' ink of a filled triangle grows in proportion to the distance from its tip: a line through the
// ink of its inner rows meets nought at the tip, and the whole ink fixes the base from there.
std::optional<double> filledTriangleMiddle(const Patch &p, bool tipUp)
{
    std::vector<QPointF> rows; // (distance from the tip's side of the patch, ink of the row)
    for (int y = p.area.top(); y <= p.area.bottom(); ++y) {
        double ink = 0;
        for (int x = p.area.left(); x <= p.area.right(); ++x)
            ink += p.at(x, y);
        const double from = tipUp ? y + 0.5 - p.area.top() : p.area.bottom() + 0.5 - y;
        rows.push_back({from, ink});
    }
    // The inner rows only, between the tip and the fullest row (the base): those at either end hold parts
    // of pixels.
    std::sort(rows.begin(), rows.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
    const auto fullest = std::max_element(rows.begin(), rows.end(), [](QPointF a, QPointF b) { return a.y() < b.y(); });
    std::vector<QPointF> inner;
    for (auto r = rows.begin(); r != fullest; ++r) {
        if (r->y() > 0.15 * fullest->y())
            inner.push_back(*r);
    }
    // A line through the marker only adds ink to the rows it crosses: rows well above the fit are left out
    // of it, and count with no more than the fit allows.
    std::optional<FittedLine> l = fittedLine(inner);
    const auto allowed = [&](QPointF r) { return std::max(0.0, l->a + l->b * r.x()) + kStubInk; };
    for (int round = 0; round < 3 && l; ++round) {
        const auto kept = std::remove_if(inner.begin(), inner.end(), [&](QPointF r) { return r.y() > allowed(r); });
        if (kept == inner.end())
            break;
        inner.erase(kept, inner.end());
        l = fittedLine(inner);
    }
    if (!l || l->b <= 0)
        return std::nullopt;
    double mass = 0;
    for (const QPointF &r : rows)
        mass += std::min(r.y(), allowed(r));
    const double tip = -l->a / l->b;
    const double height = std::sqrt(2 * mass / l->b);
    const double middle = tip + height / 2;
    return tipUp ? p.area.top() + middle : p.area.bottom() + 1 - middle;
}

// An outlined triangle: lines through the centres of its two sides meet at its tip's corner, and the centre
// of its base lies across its middle columns: half way between the two, whatever the joins of the outline.
std::optional<double> outlinedTriangleMiddle(const Patch &p, bool tipUp)
{
    std::vector<QPointF> left, right; // (y, x of the side's centre on that row)
    for (int y = p.area.top(); y <= p.area.bottom(); ++y) {
        // The runs of the row, by their ink-weighted centres.
        struct Run {
            double mass = 0, moment = 0, peak = 0;
        };
        std::vector<Run> runs;
        bool inRun = false;
        for (int x = p.area.left(); x <= p.area.right() + 1; ++x) {
            const double a = p.at(x, y);
            if (a > 0) {
                if (!inRun)
                    runs.emplace_back();
                inRun = true;
                runs.back().mass += a;
                runs.back().moment += a * (x + 0.5);
                runs.back().peak = std::max(runs.back().peak, a);
            } else {
                inRun = false;
            }
        }
        // Two faint runs (the edge of the base, broken where its pixels join) are no sides.
        if (runs.size() == 2 && runs[0].peak >= kSideCore && runs[1].peak >= kSideCore) {
            left.push_back({y + 0.5, runs[0].moment / runs[0].mass});
            right.push_back({y + 0.5, runs[1].moment / runs[1].mass});
        }
    }
    const std::optional<FittedLine> l = fittedLine(left);
    const std::optional<FittedLine> r = fittedLine(right);
    if (left.size() < 3 || !l || !r || std::abs(l->b - r->b) < 1e-6)
        return std::nullopt;
    const double tip = (r->a - l->a) / (l->b - r->b);
    // The base: the ink-weighted row of the rows past the last two-run row, over the middle columns.
    const double pastSides = tipUp ? left.back().x() : left.front().x();
    const double middleX = (l->a + l->b * pastSides + r->a + r->b * pastSides) / 2;
    const double halfSpan = std::abs((r->a + r->b * pastSides) - (l->a + l->b * pastSides)) / 4;
    double mass = 0, moment = 0;
    for (int y = p.area.top(); y <= p.area.bottom(); ++y) {
        if (tipUp ? y + 0.5 <= pastSides : y + 0.5 >= pastSides)
            continue;
        for (int x = int(std::floor(middleX - halfSpan)); x <= int(std::floor(middleX + halfSpan)); ++x) {
            const double a = p.at(x, y);
            mass += a;
            moment += a * (y + 0.5);
        }
    }
    if (mass <= 0)
        return std::nullopt;
    return (tip + moment / mass) / 2;
}

enum class Across { Rows, Columns };

// The middle of a piece across its rows (its x) or its columns (its y): the ink-weighted middle of those whose own
// middles lie near the others', so that the rows a line through it widens on one side are left out; `fallback`
// where none are.
double middleAcross(const Patch &p, Across across, double fallback)
{
    const bool rows = across == Across::Rows;
    const int lines = rows ? p.area.height() : p.area.width();
    const int length = rows ? p.area.width() : p.area.height();
    const int first = rows ? p.area.left() : p.area.top();
    std::vector<QPointF> middles; // (middle, ink) of each line
    for (int j = 0; j < lines; ++j) {
        double mass = 0, moment = 0;
        for (int i = 0; i < length; ++i) {
            const double a = rows ? p.at(first + i, p.area.top() + j) : p.at(p.area.left() + j, first + i);
            mass += a;
            moment += a * (first + i + 0.5);
        }
        if (mass > 0)
            middles.push_back({moment / mass, mass});
    }
    if (middles.size() < 3)
        return fallback;
    std::vector<double> at;
    for (const QPointF &m : middles)
        at.push_back(m.x());
    std::nth_element(at.begin(), at.begin() + std::ptrdiff_t(at.size() / 2), at.end());
    const double median = at[at.size() / 2];
    double mass = 0, moment = 0;
    for (const QPointF &m : middles) {
        if (std::abs(m.x() - median) <= kRowMiddleSpread) {
            mass += m.y();
            moment += m.y() * m.x();
        }
    }
    return mass > 0 ? moment / mass : fallback;
}

} // namespace

InkShape inkShape(const PixelView &picture, const MarkerInk &ink, const InkComponent &piece)
{
    return shapeOf(patchOf(picture, ink, piece));
}

std::optional<bool> triangleTipUp(const InkShape &shape)
{
    // Circles, squares, diamonds and crosses have a skew of nought, small ones a third at most for their
    // pixels; a triangle's is near ±0.57 filled, ±0.47 outlined, with more ink towards the base.
    if (std::abs(shape.skewY) < 0.4)
        return std::nullopt;
    return shape.skewY < 0;
}

QPointF markerCentre(const PixelView &picture, const MarkerInk &ink, const InkComponent &piece, const InkShape &shape,
                     std::optional<bool> seriesTipUp)
{
    std::optional<bool> own = triangleTipUp(shape);
    if (!own && !seriesTipUp)
        return shape.centroid;
    const bool tipUp = own ? *own : *seriesTipUp;
    const int across = std::max(piece.bounds.width(), piece.bounds.height());
    // A few whole pixels of a small circle may stand as a triangle's do: only its series tells.
    if (across <= kFewPixels && seriesTipUp != tipUp)
        return shape.centroid;
    const Patch p = patchOf(picture, ink, piece);
    const double x = middleAcross(p, Across::Rows, shape.centroid.x());
    if (!shape.hollow || across <= kThinOutlines)
        return {x, shape.centroid.y() + (tipUp ? -1 : 1) * triangleOffset(shape)};
    std::optional<double> y = outlinedTriangleMiddle(p, tipUp);
    // A triangle's middle lies a sixth of its height or less from its centroid; more is a fit gone wrong.
    const auto plausible = [&](const std::optional<double> &v) {
        return v && std::abs(*v - shape.centroid.y()) < 0.25 * piece.bounds.height();
    };
    if (!plausible(y))
        y = filledTriangleMiddle(p, tipUp);
    if (!plausible(y))
        y = shape.centroid.y();
    return {x, *y};
}

QPointF middleOffLine(const PixelView &picture, const MarkerInk &ink, const InkComponent &piece, const InkShape &shape)
{
    const Patch p = patchOf(picture, ink, piece);
    return {middleAcross(p, Across::Rows, shape.centroid.x()), middleAcross(p, Across::Columns, shape.centroid.y())};
}

Halves halvesOf(const PixelView &picture, const MarkerInk &ink, const InkComponent &piece, const InkShape &shape)
{
    const Patch p = patchOf(picture, ink, piece);
    Halves h;
    QPointF sum[2];
    // A pixel the split runs through goes to both sides, as much as lies on each.
    const auto share = [&](QPointF at) {
        return std::clamp(QPointF::dotProduct(at - shape.centroid, shape.longAxis) + 0.5, 0.0, 1.0);
    };
    for (int y = p.area.top(); y <= p.area.bottom(); ++y) {
        for (int x = p.area.left(); x <= p.area.right(); ++x) {
            const double a = p.at(x, y);
            const QPointF at(x + 0.5, y + 0.5);
            const double second = share(at);
            h.mass[0] += a * (1 - second);
            sum[0] += a * (1 - second) * at;
            h.mass[1] += a * second;
            sum[1] += a * second * at;
        }
    }
    for (int i = 0; i < 2; ++i)
        h.centroid[i] = h.mass[i] > 0 ? sum[i] / h.mass[i] : shape.centroid;
    for (int y = p.area.top(); y <= p.area.bottom(); ++y) {
        for (int x = p.area.left(); x <= p.area.right(); ++x) {
            const double a = p.at(x, y);
            const QPointF at(x + 0.5, y + 0.5);
            const double second = share(at);
            for (int i = 0; i < 2; ++i) {
                const QPointF d = at - h.centroid[i];
                h.spread[i] += a * (i == 0 ? 1 - second : second) * QPointF::dotProduct(d, d) / 2;
            }
        }
    }
    for (int i = 0; i < 2; ++i)
        h.spread[i] = h.mass[i] > 0 ? h.spread[i] / h.mass[i] : 0;
    return h;
}
