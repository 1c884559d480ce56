#pragma once

#include <QRect>

#include <algorithm>
#include <cstddef>
#include <vector>

// Numbered rectangles by the cells of an area they cover, so that those near a place are found without looking
// at all of them.
class RectCells {
public:
    explicit RectCells(QRect area)
        : m_area(area)
        , m_columns(area.width() / kCell + 1)
        , m_cells(area.isEmpty() ? 0 : std::size_t(m_columns) * std::size_t(area.height() / kCell + 1))
    {}
    // Rectangle `k`, which grew to `now` from `before` (none when new), to the cells it newly covers, without
    // going over those it covered: a rectangle may grow a pixel at a time.
    void add(std::size_t k, QRect now, QRect before = QRect())
    {
        now &= m_area;
        if (now.isEmpty())
            return;
        const QRect cells = cellsOf(now);
        const QRect had = cellsOf(before & m_area);
        for (int v = cells.top(); v <= cells.bottom(); ++v) {
            const bool hadRow = !had.isNull() && v >= had.top() && v <= had.bottom();
            for (int u = cells.left(); u <= cells.right(); ++u) {
                if (hadRow && u == had.left())
                    u = had.right() + 1;
                if (u <= cells.right())
                    m_cells[std::size_t(v) * std::size_t(m_columns) + std::size_t(u)].push_back(k);
            }
        }
    }
    void remove(std::size_t k, QRect bounds)
    {
        forEachCell(bounds, [&](int, int, std::vector<std::size_t> &cell) { std::erase(cell, k); });
    }
    // Every rectangle in a cell that `r` covers, some more than once.
    template <typename F> void forEachAround(QRect r, F &&f)
    {
        forEachCell(r & m_area, [&](int, int, std::vector<std::size_t> &cell) {
            for (const std::size_t k : cell)
                f(k);
        });
    }

private:
    static constexpr int kCell = 8;

    [[nodiscard]] QRect cellsOf(QRect r) const
    {
        if (r.isNull())
            return {};
        return QRect(QPoint((r.left() - m_area.left()) / kCell, (r.top() - m_area.top()) / kCell),
                     QPoint((r.right() - m_area.left()) / kCell, (r.bottom() - m_area.top()) / kCell));
    }
    // Over the part of `r` within the area.
    template <typename F> void forEachCell(QRect r, F &&f)
    {
        r &= m_area;
        if (r.isEmpty())
            return;
        const QRect cells = cellsOf(r);
        for (int v = cells.top(); v <= cells.bottom(); ++v) {
            for (int u = cells.left(); u <= cells.right(); ++u)
                f(u, v, m_cells[std::size_t(v) * std::size_t(m_columns) + std::size_t(u)]);
        }
    }

    QRect m_area;
    int m_columns = 0;
    std::vector<std::vector<std::size_t>> m_cells;
};
