#include "trace/marker_opening.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include <QPointF>

namespace {

// Pieces whose bounds hold more pixels than this are left alone: a filled area, a picture's whole frame.
constexpr long long kMostArea = 16'000'000;
// The thickest line markers are found on, in pixels holding half of the colour or more.
constexpr int kThickestLine = 5;

// A piece's pixels as a mask over its bounds.
struct Mask {
    QRect area;
    std::vector<unsigned char> on;

    [[nodiscard]] bool at(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < area.width() && y < area.height() &&
               on[std::size_t(y) * std::size_t(area.width()) + std::size_t(x)];
    }
    [[nodiscard]] std::size_t index(int x, int y) const
    {
        return std::size_t(y) * std::size_t(area.width()) + std::size_t(x);
    }
};

Mask maskOf(const InkComponent &piece)
{
    Mask m{piece.bounds, std::vector<unsigned char>(std::size_t(piece.bounds.width()) * piece.bounds.height(), 0)};
    for (const InkRunOnRow &r : piece.runs) {
        for (int x = r.x0; x <= r.x1; ++x)
            m.on[m.index(x - m.area.left(), r.y - m.area.top())] = 1;
    }
    return m;
}

// The commonest thickness of the piece: at each pixel, the shorter of its runs along the row and the column.
int usualThickness(const Mask &m)
{
    const int w = m.area.width();
    const int h = m.area.height();
    std::vector<int> across(m.on.size(), 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w;) {
            int end = x;
            while (end < w && m.at(end, y))
                ++end;
            for (int k = x; k < end; ++k)
                across[m.index(k, y)] = end - x;
            x = std::max(end, x + 1);
        }
    }
    // Down the columns a row at a time: each column's run ends where its pixel is off.
    std::array<long long, 64> count{};
    std::vector<int> runFrom(std::size_t(w), -1);
    for (int y = 0; y <= h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool on = y < h && m.on[m.index(x, y)];
            int &from = runFrom[std::size_t(x)];
            if (on && from < 0) {
                from = y;
            } else if (!on && from >= 0) {
                for (int k = from; k < y; ++k)
                    ++count[std::size_t(std::min({y - from, across[m.index(x, k)], 63}))];
                from = -1;
            }
        }
    }
    // Among the thin: markers of one size, squares above all, may hold more pixels of their own width.
    return int(std::max_element(count.begin() + 1, count.begin() + kThickestLine + 1) - count.begin());
}

// The mask kept (`keep`) or grown (not `keep`) by a square of side 2 r + 1: a pixel stays where the whole square
// around it is on, or comes on where any of it is.
std::vector<unsigned char> filtered(const Mask &m, const std::vector<unsigned char> &in, int r, bool keep)
{
    const int w = m.area.width();
    const int h = m.area.height();
    const int full = 2 * r + 1;
    const auto decide = [&](int on) -> unsigned char { return keep ? on == full : on > 0; };
    std::vector<unsigned char> rows(in.size()), out(in.size());
    // Along each row: how many of the window's pixels are on, slid along it.
    for (int y = 0; y < h; ++y) {
        const unsigned char *from = in.data() + m.index(0, y);
        unsigned char *to = rows.data() + m.index(0, y);
        int on = 0;
        for (int k = 0; k < r && k < w; ++k)
            on += from[k];
        for (int k = 0; k < w; ++k) {
            if (k + r < w)
                on += from[k + r];
            if (k - r - 1 >= 0)
                on -= from[k - r - 1];
            to[k] = decide(on);
        }
    }
    // Down the columns, all of them at once, a row at a time.
    std::vector<int> on(std::size_t(w), 0);
    const auto add = [&](int y, int sign) {
        const unsigned char *row = rows.data() + m.index(0, y);
        for (int x = 0; x < w; ++x)
            on[std::size_t(x)] += sign * row[x];
    };
    for (int k = 0; k < r && k < h; ++k)
        add(k, 1);
    for (int y = 0; y < h; ++y) {
        if (y + r < h)
            add(y + r, 1);
        if (y - r - 1 >= 0)
            add(y - r - 1, -1);
        unsigned char *to = out.data() + m.index(0, y);
        for (int x = 0; x < w; ++x)
            to[x] = decide(on[std::size_t(x)]);
    }
    return out;
}

// Labels the 8-connected pieces of `on`, from 1; 0 off them.
int labelled(const Mask &m, const std::vector<unsigned char> &on, std::vector<int> &label)
{
    label.assign(on.size(), 0);
    int count = 0;
    std::vector<QPoint> stack;
    for (int y = 0; y < m.area.height(); ++y) {
        for (int x = 0; x < m.area.width(); ++x) {
            if (!on[m.index(x, y)] || label[m.index(x, y)])
                continue;
            label[m.index(x, y)] = ++count;
            stack.push_back({x, y});
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int qx = p.x() + dx;
                        const int qy = p.y() + dy;
                        if (qx < 0 || qy < 0 || qx >= m.area.width() || qy >= m.area.height())
                            continue;
                        const std::size_t i = m.index(qx, qy);
                        if (on[i] && !label[i]) {
                            label[i] = count;
                            stack.push_back({qx, qy});
                        }
                    }
                }
            }
        }
    }
    return count;
}

// The distance (chessboard) of the pixels of the mask's area from the nearest blob pixel, and that blob, where it
// is `reach` at most; farther pixels hold more. Only the rows' stretches within reach of a blob are swept: a
// distance up to `reach` comes from pixels nearer still, in the same order as over the whole area.
struct Nearest {
    std::vector<int> distance;
    std::vector<int> blob;
};

Nearest nearestBlob(const Mask &m, const std::vector<int> &blob, int reach)
{
    const int w = m.area.width();
    const int h = m.area.height();
    Nearest n{std::vector<int>(blob.size(), 1 << 20), blob};
    // Each blob's bounds, widened by the reach, give the stretches of the rows to sweep.
    std::vector<QRect> bounds;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (const int b = blob[m.index(x, y)]) {
                n.distance[m.index(x, y)] = 0;
                if (bounds.size() < std::size_t(b))
                    bounds.resize(std::size_t(b));
                bounds[std::size_t(b - 1)] |= QRect(x, y, 1, 1);
            }
        }
    }
    std::vector<std::vector<std::pair<int, int>>> swept(static_cast<std::size_t>(h));
    for (const QRect &b : bounds) {
        if (b.isNull())
            continue;
        for (int y = std::max(0, b.top() - reach); y <= std::min(h - 1, b.bottom() + reach); ++y)
            swept[std::size_t(y)].emplace_back(std::max(0, b.left() - reach), std::min(w - 1, b.right() + reach));
    }
    for (auto &row : swept) {
        std::sort(row.begin(), row.end());
        std::vector<std::pair<int, int>> merged;
        for (const auto &s : row) {
            if (!merged.empty() && s.first <= merged.back().second + 1)
                merged.back().second = std::max(merged.back().second, s.second);
            else
                merged.push_back(s);
        }
        row = std::move(merged);
    }
    const auto relax = [&](int x, int y, int dx, int dy) {
        const int qx = x + dx, qy = y + dy;
        if (qx < 0 || qy < 0 || qx >= w || qy >= h)
            return;
        const std::size_t i = m.index(x, y), q = m.index(qx, qy);
        if (n.distance[q] + 1 < n.distance[i]) {
            n.distance[i] = n.distance[q] + 1;
            n.blob[i] = n.blob[q];
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
};

std::vector<Stretch> stretchesOf(const Mask &m, const std::vector<int> &label, int count)
{
    std::vector<Stretch> out(static_cast<std::size_t>(count));
    std::vector<double> n(out.size()), sxx(out.size()), syy(out.size()), sxy(out.size());
    // The stretches' pixels, in order along the rows, gathered once: they are few in a large piece's bounds.
    std::vector<std::pair<std::size_t, QPointF>> pixels;
    for (int y = 0; y < m.area.height(); ++y) {
        for (int x = 0; x < m.area.width(); ++x) {
            if (const int l = label[m.index(x, y)])
                pixels.emplace_back(std::size_t(l - 1), QPointF(x + 0.5, y + 0.5));
        }
    }
    const auto each = [&](auto &&f) {
        for (const auto &[k, p] : pixels)
            f(out[k], k, p);
    };
    each([&](Stretch &s, std::size_t k, QPointF p) {
        s.mean += p;
        n[k] += 1;
        s.bounds |= QRect(int(p.x()), int(p.y()), 1, 1);
    });
    for (std::size_t k = 0; k < out.size(); ++k)
        out[k].mean /= n[k];
    each([&](Stretch &s, std::size_t k, QPointF p) {
        const QPointF d = p - s.mean;
        sxx[k] += d.x() * d.x();
        syy[k] += d.y() * d.y();
        sxy[k] += d.x() * d.y();
    });
    for (std::size_t k = 0; k < out.size(); ++k) {
        const double angle = 0.5 * std::atan2(2 * sxy[k], sxx[k] - syy[k]);
        out[k].way = QPointF(std::cos(angle), std::sin(angle));
    }
    each([&](Stretch &s, std::size_t, QPointF p) {
        const double t = QPointF::dotProduct(p - s.mean, s.way);
        s.from = std::min(s.from, t);
        s.to = std::max(s.to, t);
    });
    return out;
}

} // namespace

std::vector<InkComponent> piecesOffLine(const InkComponent &piece, int largest)
{
    if (piece.runs.empty() || (long long)piece.bounds.width() * piece.bounds.height() > kMostArea)
        return {};
    const Mask m = maskOf(piece);
    // A square one pixel wider than the line is thick fits nowhere in it.
    const int r = (usualThickness(m) + 2) / 2;
    const std::vector<unsigned char> opened = filtered(m, filtered(m, m.on, r, true), r, false);
    std::vector<unsigned char> rest(m.on.size());
    for (std::size_t i = 0; i < rest.size(); ++i)
        rest[i] = m.on[i] && !opened[i];
    std::vector<int> blob;
    const int blobs = labelled(m, opened, blob);
    // What the opening took near a marker is its rim or tip, unless it lies on the way of a stretch of line
    // farther out: the line going on into the marker.
    const int near = 2 * r + 2;
    const Nearest nearest = nearestBlob(m, blob, near + 1);
    std::vector<unsigned char> far(m.on.size());
    for (std::size_t i = 0; i < far.size(); ++i)
        far[i] = m.on[i] && !opened[i] && nearest.distance[i] > near;
    std::vector<int> stretchLabel;
    const std::vector<Stretch> stretches = stretchesOf(m, stretchLabel, labelled(m, far, stretchLabel));
    const double halfWidth = r; // the line is no thicker than the square's side less one
    const auto ownerAt = [&](int x, int y) {
        const std::size_t i = m.index(x, y);
        if (blob[i])
            return blob[i];
        if (!m.on[i] || nearest.distance[i] > near || !nearest.blob[i])
            return 0;
        const QPointF p(x + 0.5, y + 0.5);
        for (const Stretch &s : stretches) {
            if (!s.bounds.adjusted(-3 * near, -3 * near, 3 * near, 3 * near).contains(x, y))
                continue;
            const QPointF d = p - s.mean;
            const double t = QPointF::dotProduct(d, s.way);
            const double off = std::abs(d.x() * s.way.y() - d.y() * s.way.x());
            if (off <= halfWidth && t >= s.from - 2 * near && t <= s.to + 2 * near)
                return 0;
        }
        return nearest.blob[i];
    };
    std::vector<InkComponent> out(static_cast<std::size_t>(blobs));
    for (int y = 0; y < m.area.height(); ++y) {
        for (int x = 0; x < m.area.width();) {
            const int b = ownerAt(x, y);
            int end = x + 1;
            while (b && end < m.area.width() && ownerAt(end, y) == b)
                ++end;
            if (b) {
                InkComponent &c = out[std::size_t(b - 1)];
                const InkRunOnRow run{y + m.area.top(), x + m.area.left(), end - 1 + m.area.left()};
                c.runs.push_back(run);
                c.bounds |= QRect(run.x0, run.y, run.x1 - run.x0 + 1, 1);
                c.pixels += run.x1 - run.x0 + 1;
            }
            x = end;
        }
    }
    std::erase_if(out, [&](const InkComponent &c) {
        return c.runs.empty() || c.bounds.width() > largest || c.bounds.height() > largest;
    });
    return out;
}
