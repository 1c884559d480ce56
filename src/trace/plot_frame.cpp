#include "trace/plot_frame.h"

#include <algorithm>

namespace {

// A frame or an axis runs across most of the piece...
constexpr double kAcrossMost = 0.8;
// ... which spans this share of the picture at least, both ways.
constexpr double kLeastSpan = 0.25;
// Of what the frame closes in, no more than this is ink.
constexpr double kMostInkWithin = 0.5;

} // namespace

std::optional<QRect> frameInside(const std::vector<InkComponent> &pieces, QSize picture)
{
    std::optional<QRect> inside;
    for (const InkComponent &p : pieces) {
        const QRect b = p.bounds;
        if (b.width() < kLeastSpan * picture.width() || b.height() < kLeastSpan * picture.height())
            continue;
        if (inside && b.width() * b.height() <= inside->width() * inside->height())
            continue;
        std::vector<int> inRow(std::size_t(b.height()), 0), inColumn(std::size_t(b.width()), 0);
        for (const InkRunOnRow &r : p.runs) {
            inRow[std::size_t(r.y - b.top())] += r.x1 - r.x0 + 1;
            for (int x = r.x0; x <= r.x1; ++x)
                ++inColumn[std::size_t(x - b.left())];
        }
        const auto longRows = [&](const std::vector<int> &counts, int length, int from) {
            std::optional<std::pair<int, int>> span;
            for (std::size_t i = 0; i < counts.size(); ++i) {
                if (counts[i] < kAcrossMost * length)
                    continue;
                const int at = from + int(i);
                span = span ? std::pair(std::min(span->first, at), std::max(span->second, at)) : std::pair(at, at);
            }
            return span;
        };
        const auto rows = longRows(inRow, b.width(), b.top());
        const auto columns = longRows(inColumn, b.height(), b.left());
        if (!rows || !columns)
            continue;
        // One axis each way: the plot lies on the side of each away from the piece's near edge.
        const auto between = [](std::pair<int, int> lines, int first, int last) {
            if (lines.first != lines.second)
                return std::pair(lines.first + 1, lines.second - 1);
            return lines.first - first < last - lines.first ? std::pair(lines.first + 1, last)
                                                            : std::pair(first, lines.first - 1);
        };
        const auto [left, right] = between(*columns, b.left(), b.right());
        const auto [top, bottom] = between(*rows, b.top(), b.bottom());
        if (right <= left || bottom <= top)
            continue;
        const QRect within(QPoint(left, top), QPoint(right, bottom));
        // A frame closes in paper, grid lines and all; a block filled or shaded in the colour (a bar) is ink
        // through and through.
        long long inkWithin = 0;
        for (const InkRunOnRow &r : p.runs) {
            if (r.y >= top && r.y <= bottom)
                inkWithin += std::max(0, std::min(r.x1, right) - std::max(r.x0, left) + 1);
        }
        if (inkWithin <= kMostInkWithin * double(within.width()) * double(within.height()))
            inside = within;
    }
    return inside;
}
