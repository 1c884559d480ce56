#include "trace/marker_opening.h"

#include "trace/tile_grid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <utility>

#include <QPointF>

namespace {

// Pieces whose tiles and those round them hold more pixels than this are left alone: a filled area.
constexpr long long kMostArea = 16'000'000;
// The thickest line markers are found on, in pixels holding half of the colour or more.
constexpr int kThickestLine = 5;

// The farthest the opening and the look round its markers reach from a pixel of the piece: the square's
// half side, and twice that and two more to the nearest marker, and one more.
constexpr int kMostReach = 2 * ((kThickestLine + 2) / 2) + 3;

// A piece's pixels as a mask over its bounds, from (0, 0), kept on the tiles within a tile of them: all that is
// looked at lies within reach of a pixel of the piece.
using Mask = TileGrid<unsigned char>;
static_assert(kMostReach + 2 <= Mask::kSide);

Mask maskOf(const InkComponent &piece)
{
    Mask m(QRect(QPoint(0, 0), piece.bounds.size()), 0);
    for (const InkRunOnRow &r : piece.runs) {
        for (int x = r.x0; x <= r.x1; ++x)
            m.set(x - piece.bounds.left(), r.y - piece.bounds.top(), 1);
    }
    m.keepAround(1);
    return m;
}

// The commonest thickness of the piece: at each pixel, the shorter of its runs along the row and the column.
int usualThickness(const Mask &m)
{
    constexpr int kLongest = 63;
    TileGrid<unsigned char> across(m, 0);
    for (int y = 0; y < m.area().height(); ++y) {
        for (const auto &[from, to] : m.stretches(y)) {
            for (int x = from; x <= to;) {
                int end = x;
                while (m.at(end, y))
                    ++end;
                for (int k = x; k < end; ++k)
                    across(k, y) = (unsigned char)std::min(end - x, kLongest);
                x = std::max(end, x + 1);
            }
        }
    }
    // Down the columns a row at a time: each column's run ends where its pixel is off, which is on a kept tile.
    std::array<long long, kLongest + 1> count{};
    std::vector<int> runFrom(std::size_t(m.area().width()), -1);
    const auto close = [&](int x, int y) {
        int &from = runFrom[std::size_t(x)];
        for (int k = from; k < y; ++k)
            ++count[std::size_t(std::min({y - from, int(across.at(x, k)), kLongest}))];
        from = -1;
    };
    for (int y = 0; y < m.area().height(); ++y) {
        for (const auto &[from, to] : m.stretches(y)) {
            for (int x = from; x <= to; ++x) {
                if (m.at(x, y) && runFrom[std::size_t(x)] < 0)
                    runFrom[std::size_t(x)] = y;
                else if (!m.at(x, y) && runFrom[std::size_t(x)] >= 0)
                    close(x, y);
            }
        }
    }
    for (int x = 0; x < m.area().width(); ++x) {
        if (runFrom[std::size_t(x)] >= 0)
            close(x, m.area().height());
    }
    // Among the thin: markers of one size, squares above all, may hold more pixels of their own width.
    return int(std::max_element(count.begin() + 1, count.begin() + kThickestLine + 1) - count.begin());
}

// The mask kept (`keep`) or grown (not `keep`) by a square of side 2 r + 1: a pixel stays where the whole square
// around it is on, or comes on where any of it is.
Mask filtered(const Mask &in, int r, bool keep)
{
    const int full = 2 * r + 1;
    const auto decide = [&](int on) -> unsigned char { return keep ? on == full : on > 0; };
    Mask rows(in, 0), out(in, 0);
    // Along each row: how many of the window's pixels are on, slid along it.
    for (int y = 0; y < in.area().height(); ++y) {
        for (const auto &[from, to] : in.stretches(y)) {
            int on = 0;
            for (int k = from - r - 1; k < from + r; ++k)
                on += in.at(k, y);
            for (int x = from; x <= to; ++x) {
                on += in.at(x + r, y) - in.at(x - r - 1, y);
                rows(x, y) = decide(on);
            }
        }
    }
    // Down the columns, a row of tiles at a time.
    for (int top = 0; top < in.area().height(); top += Mask::kSide) {
        const int bottom = std::min(in.area().height(), top + Mask::kSide);
        for (const auto &[from, to] : in.stretches(top)) {
            for (int x = from; x <= to; ++x) {
                int on = 0;
                for (int k = top - r - 1; k < top + r; ++k)
                    on += rows.at(x, k);
                for (int y = top; y < bottom; ++y) {
                    on += rows.at(x, y + r) - rows.at(x, y - r - 1);
                    out(x, y) = decide(on);
                }
            }
        }
    }
    return out;
}

// Labels the 8-connected pieces of `on`, from 1; 0 off them.
int labelled(const Mask &on, TileGrid<int> &label)
{
    label = TileGrid<int>(on, 0);
    int count = 0;
    std::vector<QPoint> stack;
    on.forEachKept([&](int x, int y) {
        if (!on.at(x, y) || label.at(x, y))
            return;
        label(x, y) = ++count;
        stack.push_back({x, y});
        while (!stack.empty()) {
            const QPoint p = stack.back();
            stack.pop_back();
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int qx = p.x() + dx;
                    const int qy = p.y() + dy;
                    if (on.at(qx, qy) && !label.at(qx, qy)) {
                        label(qx, qy) = count;
                        stack.push_back({qx, qy});
                    }
                }
            }
        }
    });
    return count;
}

// The parts of sorted, separate stretches `a` that lie in sorted, separate stretches `b`.
std::vector<std::pair<int, int>> common(const std::vector<std::pair<int, int>> &a,
                                        const std::vector<std::pair<int, int>> &b)
{
    std::vector<std::pair<int, int>> out;
    for (std::size_t i = 0, j = 0; i < a.size() && j < b.size();) {
        const int from = std::max(a[i].first, b[j].first);
        const int to = std::min(a[i].second, b[j].second);
        if (from <= to)
            out.emplace_back(from, to);
        if (a[i].second < b[j].second)
            ++i;
        else
            ++j;
    }
    return out;
}

// The distance (chessboard) of the pixels of the mask's area from the nearest blob pixel, and that blob, where it
// is `reach` at most; farther pixels hold more. Only the rows' stretches within reach of a blob are swept: a
// distance up to `reach` comes from pixels nearer still, in the same order as over the whole area.
struct Nearest {
    TileGrid<int> distance;
    TileGrid<int> blob;
};

Nearest nearestBlob(const TileGrid<int> &blob, int reach)
{
    const int w = blob.area().width();
    const int h = blob.area().height();
    Nearest n{TileGrid<int>(blob, 1 << 20), blob};
    // Each blob's bounds, widened by the reach, give the stretches of the rows to sweep.
    std::vector<QRect> bounds;
    blob.forEachKept([&](int x, int y) {
        if (const int b = blob.at(x, y)) {
            n.distance(x, y) = 0;
            if (bounds.size() < std::size_t(b))
                bounds.resize(std::size_t(b));
            bounds[std::size_t(b - 1)] |= QRect(x, y, 1, 1);
        }
    });
    std::vector<std::vector<std::pair<int, int>>> swept(static_cast<std::size_t>(h));
    for (const QRect &b : bounds) {
        if (b.isNull())
            continue;
        for (int y = std::max(0, b.top() - reach); y <= std::min(h - 1, b.bottom() + reach); ++y)
            swept[std::size_t(y)].emplace_back(std::max(0, b.left() - reach), std::min(w - 1, b.right() + reach));
    }
    for (int y = 0; y < h; ++y) {
        std::vector<std::pair<int, int>> &row = swept[std::size_t(y)];
        std::sort(row.begin(), row.end());
        std::vector<std::pair<int, int>> merged;
        for (const auto &s : row) {
            if (!merged.empty() && s.first <= merged.back().second + 1)
                merged.back().second = std::max(merged.back().second, s.second);
            else
                merged.push_back(s);
        }
        // Beyond the kept tiles every pixel lies farther than the reach.
        row = common(merged, blob.stretches(y));
    }
    const auto relax = [&](int x, int y, int dx, int dy) {
        const int qx = x + dx, qy = y + dy;
        if (qx < 0 || qy < 0 || qx >= w || qy >= h)
            return;
        const int through = n.distance.at(qx, qy) + 1;
        if (through < n.distance.at(x, y)) {
            n.distance(x, y) = through;
            n.blob(x, y) = n.blob.at(qx, qy);
        }
    };
    for (int y = 0; y < h; ++y) {
        for (const auto &[from, to] : swept[std::size_t(y)]) {
            for (int x = from; x <= to; ++x)
                relax(x, y, -1, -1), relax(x, y, 0, -1), relax(x, y, 1, -1), relax(x, y, -1, 0);
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        for (auto s = swept[std::size_t(y)].rbegin(); s != swept[std::size_t(y)].rend(); ++s) {
            for (int x = s->second; x >= s->first; --x)
                relax(x, y, 1, 1), relax(x, y, 0, 1), relax(x, y, -1, 1), relax(x, y, 1, 0);
        }
    }
    return n;
}

// A stretch of the line between markers, far from them: its axis, reaching out at either end.
struct Stretch {
    QPointF mean;
    QPointF way{1, 0};
    double from = 0, to = 0; // along the way, from the mean
    QRect bounds;
    int blob = 0; // the marker it runs into
};

// Each stretch's end within `reach` of a marker's bounds, as a stretch of its own: the line's way into the
// marker is where it runs just outside it, not that of the whole stretch (a word drawn over the line between
// two markers bends it). Its axis is that of its pixels within `within` of a first fit.
std::vector<Stretch> stretchEndsOf(const TileGrid<int> &label, const std::vector<QRect> &blobBounds, int reach,
                                   double within)
{
    // The markers near each cell of the area, for the pixels to look them up by.
    constexpr int kCell = 64;
    const int cellsX = label.area().width() / kCell + 1;
    std::vector<std::vector<int>> nearCell(std::size_t(cellsX) * std::size_t(label.area().height() / kCell + 1));
    for (std::size_t b = 0; b < blobBounds.size(); ++b) {
        const QRect around =
            blobBounds[b].adjusted(-reach, -reach, reach, reach) & QRect(QPoint(0, 0), label.area().size());
        for (int cy = around.top() / kCell; cy <= around.bottom() / kCell; ++cy) {
            for (int cx = around.left() / kCell; cx <= around.right() / kCell; ++cx)
                nearCell[std::size_t(cy) * std::size_t(cellsX) + std::size_t(cx)].push_back(int(b) + 1);
        }
    }
    std::map<std::pair<int, int>, std::size_t> endOf; // (stretch, blob) to the end's index
    std::vector<Stretch> out;
    std::vector<std::pair<std::size_t, QPointF>> pixels;
    label.forEachKept([&](int x, int y) {
        const int l = label.at(x, y);
        if (!l)
            return;
        for (const int b : nearCell[std::size_t(y / kCell) * std::size_t(cellsX) + std::size_t(x / kCell)]) {
            if (!blobBounds[std::size_t(b - 1)].adjusted(-reach, -reach, reach, reach).contains(x, y))
                continue;
            const auto [at, added] = endOf.try_emplace({l, b}, out.size());
            if (added) {
                out.emplace_back();
                out.back().blob = b;
            }
            pixels.emplace_back(at->second, QPointF(x + 0.5, y + 0.5));
        }
    });
    // Each end's axis through the pixels `keeps` takes.
    const auto fit = [&](auto &&keeps) {
        std::vector<double> n(out.size()), sxx(out.size()), syy(out.size()), sxy(out.size());
        std::vector<QPointF> mean(out.size());
        std::vector<char> kept(pixels.size());
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            const auto &[k, p] = pixels[i];
            kept[i] = keeps(out[k], p);
            if (kept[i]) {
                mean[k] += p;
                n[k] += 1;
            }
        }
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            const auto &[k, p] = pixels[i];
            if (!kept[i])
                continue;
            const QPointF d = p - mean[k] / n[k];
            sxx[k] += d.x() * d.x();
            syy[k] += d.y() * d.y();
            sxy[k] += d.x() * d.y();
        }
        for (std::size_t k = 0; k < out.size(); ++k) {
            if (n[k] < 2)
                continue;
            const double angle = 0.5 * std::atan2(2 * sxy[k], sxx[k] - syy[k]);
            out[k].mean = mean[k] / n[k];
            out[k].way = QPointF(std::cos(angle), std::sin(angle));
        }
    };
    fit([](const Stretch &, QPointF) { return true; });
    // Fitted again to the pixels near that axis: letters the line runs into within reach lie off it.
    fit([&](const Stretch &s, QPointF p) {
        const QPointF d = p - s.mean;
        return std::abs(d.x() * s.way.y() - d.y() * s.way.x()) <= within;
    });
    for (const auto &[k, p] : pixels) {
        Stretch &s = out[k];
        s.bounds |= QRect(int(p.x()), int(p.y()), 1, 1);
        const double t = QPointF::dotProduct(p - s.mean, s.way);
        s.from = std::min(s.from, t);
        s.to = std::max(s.to, t);
    }
    return out;
}

} // namespace

std::vector<InkComponent> piecesOffLine(const InkComponent &piece, int largest)
{
    if (piece.runs.empty() || tiledArea(piece.runs, piece.bounds) > kMostArea)
        return {};
    const Mask m = maskOf(piece);
    // A square one pixel wider than the line is thick fits nowhere in it.
    const int r = (usualThickness(m) + 2) / 2;
    const Mask opened = filtered(filtered(m, r, true), r, false);
    TileGrid<int> blob(m, 0);
    const int blobs = labelled(opened, blob);
    // What the opening took near a marker is its rim or tip, unless it lies on the way of a stretch of line
    // farther out: the line going on into the marker.
    const int near = 2 * r + 2;
    const Nearest nearest = nearestBlob(blob, near + 1);
    Mask far(m, 0);
    m.forEachKept(
        [&](int x, int y) { far(x, y) = m.at(x, y) && !opened.at(x, y) && nearest.distance.at(x, y) > near; });
    TileGrid<int> stretchLabel(m, 0);
    labelled(far, stretchLabel);
    std::vector<QRect> blobBounds(static_cast<std::size_t>(blobs));
    blob.forEachKept([&](int x, int y) {
        if (const int b = blob.at(x, y))
            blobBounds[std::size_t(b - 1)] |= QRect(x, y, 1, 1);
    });
    const double halfWidth = r; // the line is no thicker than the square's side less one
    const std::vector<Stretch> stretches = stretchEndsOf(stretchLabel, blobBounds, 5 * near / 2, halfWidth + 1);
    const auto ownerAt = [&](int x, int y) {
        if (const int b = blob.at(x, y))
            return b;
        if (!m.at(x, y) || nearest.distance.at(x, y) > near || !nearest.blob.at(x, y))
            return 0;
        const QPointF p(x + 0.5, y + 0.5);
        for (const Stretch &s : stretches) {
            if (s.blob != nearest.blob.at(x, y) ||
                !s.bounds.adjusted(-3 * near, -3 * near, 3 * near, 3 * near).contains(x, y))
                continue;
            const QPointF d = p - s.mean;
            const double t = QPointF::dotProduct(d, s.way);
            const double off = std::abs(d.x() * s.way.y() - d.y() * s.way.x());
            if (off <= halfWidth && t >= s.from - 2 * near && t <= s.to + 2 * near)
                return 0;
        }
        return nearest.blob.at(x, y);
    };
    std::vector<InkComponent> out(static_cast<std::size_t>(blobs));
    for (int y = 0; y < m.area().height(); ++y) {
        for (const auto &[from, to] : m.stretches(y)) {
            for (int x = from; x <= to;) {
                const int b = ownerAt(x, y);
                int end = x + 1;
                while (b && ownerAt(end, y) == b)
                    ++end;
                if (b) {
                    InkComponent &c = out[std::size_t(b - 1)];
                    const InkRunOnRow run{y + piece.bounds.top(), x + piece.bounds.left(),
                                          end - 1 + piece.bounds.left()};
                    c.runs.push_back(run);
                    c.bounds |= QRect(run.x0, run.y, run.x1 - run.x0 + 1, 1);
                    c.pixels += run.x1 - run.x0 + 1;
                }
                x = end;
            }
        }
    }
    std::erase_if(out, [&](const InkComponent &c) {
        return c.runs.empty() || c.bounds.width() > largest || c.bounds.height() > largest;
    });
    return out;
}
