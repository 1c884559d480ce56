#include "trace/runs_by_row.h"

#include <algorithm>

void RunsByRow::add(const std::vector<InkRunOnRow> &runs)
{
    m_runs.insert(m_runs.end(), runs.begin(), runs.end());
    m_sorted = runs.empty() && m_sorted;
}

bool RunsByRow::inkWithin(const QRect &area)
{
    const auto before = [](const InkRunOnRow &a, const InkRunOnRow &b) { return a.y != b.y ? a.y < b.y : a.x1 < b.x1; };
    if (!m_sorted) {
        std::sort(m_runs.begin(), m_runs.end(), before);
        m_sorted = true;
    }
    for (int y = area.top(); y <= area.bottom(); ++y) {
        // From the first run of the row that ends at the area's left edge or beyond: runs of two pieces may
        // overlap, so any later one may start within.
        auto run = std::lower_bound(m_runs.begin(), m_runs.end(), InkRunOnRow{y, 0, area.left()}, before);
        for (; run != m_runs.end() && run->y == y; ++run) {
            if (run->x0 <= area.right())
                return true;
        }
    }
    return false;
}
