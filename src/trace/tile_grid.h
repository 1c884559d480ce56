#pragma once

#include "trace/ink_run.h"

#include <QRect>

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <utility>
#include <vector>

// Values over an area of which only some square tiles are kept: a line across a large chart touches a small
// share of its bounds, and arrays over all of them cost more to clear and first touch than the work on them.
// Everywhere else, and outside the area, a grid reads `blank`.
template <typename T> class TileGrid {
public:
    static constexpr int kSide = 16;
    using Stretch = std::pair<int, int>; // first and last x, inclusive

    TileGrid(QRect area, T blank)
        : m_area(area)
        , m_tilesX((area.width() + kSide - 1) / kSide)
        , m_tilesY((area.height() + kSide - 1) / kSide)
        , m_blank(blank)
        , m_slot(std::size_t(m_tilesX) * std::size_t(m_tilesY), -1)
    {}
    // Over the same tiles as `like`.
    template <typename U>
    TileGrid(const TileGrid<U> &like, T blank)
        : TileGrid(like.area(), blank)
    {
        std::vector<std::pair<int, int>> tiles;
        like.forEachKeptTile([&](int tx, int ty) { tiles.emplace_back(tx, ty); });
        keepTiles(tiles);
    }

    [[nodiscard]] const QRect &area() const { return m_area; }

    [[nodiscard]] T at(int x, int y) const
    {
        const int s = slotAt(x, y);
        return s < 0 ? m_blank : m_values[offset(s, x, y)];
    }
    [[nodiscard]] bool kept(int x, int y) const { return slotAt(x, y) >= 0; }
    // Only on a kept tile; a tile kept later may move it.
    [[nodiscard]] T &operator()(int x, int y)
    {
        const int s = slotAt(x, y);
        assert(s >= 0);
        return m_values[offset(s, x, y)];
    }
    // Keeps the tile first where need be; inside the area.
    void set(int x, int y, T value)
    {
        keepTile((x - m_area.left()) / kSide, (y - m_area.top()) / kSide);
        (*this)(x, y) = value;
    }
    // Keeps every tile within `reach` tiles of a kept one, corners too.
    void keepAround(int reach)
    {
        std::vector<unsigned char> wanted(m_slot.size(), 0);
        forEachKeptTile([&](int tx, int ty) {
            for (int v = std::max(0, ty - reach); v <= std::min(m_tilesY - 1, ty + reach); ++v) {
                for (int u = std::max(0, tx - reach); u <= std::min(m_tilesX - 1, tx + reach); ++u)
                    wanted[std::size_t(v) * std::size_t(m_tilesX) + std::size_t(u)] = 1;
            }
        });
        std::vector<std::pair<int, int>> tiles;
        for (int ty = 0; ty < m_tilesY; ++ty) {
            for (int tx = 0; tx < m_tilesX; ++tx) {
                if (wanted[std::size_t(ty) * std::size_t(m_tilesX) + std::size_t(tx)])
                    tiles.emplace_back(tx, ty);
            }
        }
        keepTiles(tiles);
    }
    // The kept stretches of row y, in order along it, within the area.
    [[nodiscard]] const std::vector<Stretch> &stretches(int y) const
    {
        if (m_stretches.empty())
            findStretches();
        return m_stretches[std::size_t((y - m_area.top()) / kSide)];
    }
    // Calls f(x, y) for every kept pixel, row by row, in order along each.
    template <typename F> void forEachKept(F &&f) const
    {
        for (int y = m_area.top(); y <= m_area.bottom(); ++y) {
            for (const auto &[from, to] : stretches(y)) {
                for (int x = from; x <= to; ++x)
                    f(x, y);
            }
        }
    }
    template <typename F> void forEachKeptTile(F &&f) const
    {
        for (int ty = 0; ty < m_tilesY; ++ty) {
            for (int tx = 0; tx < m_tilesX; ++tx) {
                if (m_slot[std::size_t(ty) * std::size_t(m_tilesX) + std::size_t(tx)] >= 0)
                    f(tx, ty);
            }
        }
    }

private:
    [[nodiscard]] int slotAt(int x, int y) const
    {
        const int u = x - m_area.left(), v = y - m_area.top();
        if (u < 0 || v < 0 || u >= m_area.width() || v >= m_area.height())
            return -1;
        return m_slot[std::size_t(v / kSide) * std::size_t(m_tilesX) + std::size_t(u / kSide)];
    }
    [[nodiscard]] std::size_t offset(int slot, int x, int y) const
    {
        const int u = x - m_area.left(), v = y - m_area.top();
        return std::size_t(slot) * kSide * kSide + std::size_t(v % kSide) * kSide + std::size_t(u % kSide);
    }
    void keepTile(int tx, int ty)
    {
        int &s = m_slot[std::size_t(ty) * std::size_t(m_tilesX) + std::size_t(tx)];
        if (s >= 0)
            return;
        s = int(m_values.size() / (kSide * kSide));
        m_values.resize(m_values.size() + kSide * kSide, m_blank);
        m_stretches.clear();
    }
    // Room for them all at once: a large area's values are not copied over and over as it grows.
    void keepTiles(const std::vector<std::pair<int, int>> &tiles)
    {
        m_values.reserve(m_values.size() + tiles.size() * kSide * kSide);
        for (const auto &[tx, ty] : tiles)
            keepTile(tx, ty);
    }
    void findStretches() const
    {
        m_stretches.assign(std::size_t(m_tilesY), {});
        for (int ty = 0; ty < m_tilesY; ++ty) {
            std::vector<Stretch> &row = m_stretches[std::size_t(ty)];
            for (int tx = 0; tx < m_tilesX; ++tx) {
                if (m_slot[std::size_t(ty) * std::size_t(m_tilesX) + std::size_t(tx)] < 0)
                    continue;
                const int from = m_area.left() + tx * kSide;
                const int to = std::min(m_area.right(), from + kSide - 1);
                if (!row.empty() && row.back().second + 1 == from)
                    row.back().second = to;
                else
                    row.emplace_back(from, to);
            }
        }
    }

    QRect m_area;
    int m_tilesX = 0;
    int m_tilesY = 0;
    T m_blank{};
    std::vector<int> m_slot; // per tile, row by row: where its values begin, in tiles; -1 where not kept
    std::vector<T> m_values;
    mutable std::vector<std::vector<Stretch>> m_stretches; // per row of tiles, found when first asked for
};

// How many pixels the tiles holding the runs' pixels within `bounds` cover, with a tile round each: what a grid
// kept on them takes, told before it is made.
[[nodiscard]] inline long long tiledArea(const std::vector<InkRunOnRow> &runs, QRect bounds)
{
    constexpr int side = TileGrid<unsigned char>::kSide;
    const int tilesX = (bounds.width() + side - 1) / side;
    const int tilesY = (bounds.height() + side - 1) / side;
    std::vector<unsigned char> touched(std::size_t(tilesX) * std::size_t(tilesY), 0), kept(touched.size(), 0);
    for (const InkRunOnRow &r : runs) {
        const int ty = (r.y - bounds.top()) / side;
        for (int tx = (r.x0 - bounds.left()) / side; tx <= (r.x1 - bounds.left()) / side; ++tx)
            touched[std::size_t(ty) * std::size_t(tilesX) + std::size_t(tx)] = 1;
    }
    long long tiles = 0;
    for (int ty = 0; ty < tilesY; ++ty) {
        for (int tx = 0; tx < tilesX; ++tx) {
            if (!touched[std::size_t(ty) * std::size_t(tilesX) + std::size_t(tx)])
                continue;
            for (int v = std::max(0, ty - 1); v <= std::min(tilesY - 1, ty + 1); ++v) {
                for (int u = std::max(0, tx - 1); u <= std::min(tilesX - 1, tx + 1); ++u) {
                    unsigned char &k = kept[std::size_t(v) * std::size_t(tilesX) + std::size_t(u)];
                    tiles += !k;
                    k = 1;
                }
            }
        }
    }
    return tiles * side * side;
}
