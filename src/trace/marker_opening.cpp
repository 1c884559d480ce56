#include "trace/marker_opening.h"

#include <algorithm>
#include <array>
#include <cmath>

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
    std::array<long long, 64> count{};
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h;) {
            int end = y;
            while (end < h && m.at(x, end))
                ++end;
            for (int k = y; k < end; ++k)
                ++count[std::size_t(std::min({end - y, across[m.index(x, k)], 63}))];
            y = std::max(end, y + 1);
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
    std::vector<unsigned char> rows(in.size()), out(in.size());
    const auto pass = [&](const std::vector<unsigned char> &from, std::vector<unsigned char> &to, bool alongRow) {
        const int n = alongRow ? w : h;
        const int lines = alongRow ? h : w;
        for (int line = 0; line < lines; ++line) {
            const auto idx = [&](int k) { return alongRow ? m.index(k, line) : m.index(line, k); };
            // How many of the window's pixels are on, slid along the line.
            int on = 0;
            for (int k = -r; k < r && k < n; ++k)
                on += k >= 0 ? from[idx(k)] : 0;
            for (int k = 0; k < n; ++k) {
                if (k + r < n)
                    on += from[idx(k + r)];
                if (k - r - 1 >= 0)
                    on -= from[idx(k - r - 1)];
                to[idx(k)] = keep ? (on == 2 * r + 1) : (on > 0);
            }
        }
    };
    pass(in, rows, true);
    pass(rows, out, false);
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

// The distance (chessboard) of every pixel of the mask's area from the nearest blob pixel, and that blob.
struct Nearest {
    std::vector<int> distance;
    std::vector<int> blob;
};

Nearest nearestBlob(const Mask &m, const std::vector<int> &blob)
{
    const int w = m.area.width();
    const int h = m.area.height();
    Nearest n{std::vector<int>(blob.size(), 1 << 20), blob};
    for (std::size_t i = 0; i < blob.size(); ++i) {
        if (blob[i])
            n.distance[i] = 0;
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
        for (int x = 0; x < w; ++x) {
            relax(x, y, -1, -1), relax(x, y, 0, -1), relax(x, y, 1, -1), relax(x, y, -1, 0);
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        for (int x = w - 1; x >= 0; --x) {
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
    const auto each = [&](auto &&f) {
        for (int y = 0; y < m.area.height(); ++y) {
            for (int x = 0; x < m.area.width(); ++x) {
                if (const int l = label[m.index(x, y)])
                    f(out[std::size_t(l - 1)], std::size_t(l - 1), QPointF(x + 0.5, y + 0.5));
            }
        }
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
    const Nearest nearest = nearestBlob(m, blob);
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
