#pragma once

#include "trace/ink_run.h"

#include <QRect>

#include <vector>

// Runs of ink from many pieces, sorted along the rows, to ask where they lie.
class RunsByRow {
public:
    void add(const std::vector<InkRunOnRow> &runs);
    // Whether any of them holds a pixel of `area`.
    [[nodiscard]] bool inkWithin(const QRect &area);

private:
    std::vector<InkRunOnRow> m_runs;
    bool m_sorted = true;
};
