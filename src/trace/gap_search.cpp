#include "trace/gap_search.h"

#include <QRect>

#include <cmath>
#include <vector>

namespace {

constexpr float kSolid = 0.5f;

struct Piece {
    std::vector<QPointF> pixels; // centres
    double nearest = 1e300;      // distance of its nearest pixel from the end
};

double length(QPointF v)
{
    return std::sqrt(v.x() * v.x() + v.y() * v.y());
}

} // namespace

std::optional<QPointF> pieceAcrossGap(const PixelView &picture, const InkModel &model, QPointF end,
                                      const Heading &heading, double width, double reach, double widestTurn)
{
    const QPointF middle = end + heading.tangent * (reach / 2);
    const int half = int(std::ceil(reach / 2 + reach / 2 + 1));
    const QRect box =
        QRect(int(std::floor(middle.x())) - half, int(std::floor(middle.y())) - half, 2 * half + 1, 2 * half + 1) &
        QRect(0, 0, picture.width, picture.height);
    if (box.isEmpty())
        return std::nullopt;
    const int w = box.width();
    // -1: not ink; 0: ink not yet labelled; n > 0: the piece it belongs to.
    std::vector<int> label(std::size_t(w) * std::size_t(box.height()), -1);
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (model.ink(picture.at(x, y)) >= kSolid)
                label[std::size_t((y - box.top()) * w + (x - box.left()))] = 0;
        }
    }
    const QPoint endPixel(int(std::floor(end.x())), int(std::floor(end.y())));
    std::vector<Piece> pieces(1);
    int own = -1; // the piece the stroke at `end` belongs to
    std::vector<QPoint> stack;
    for (std::size_t start = 0; start < label.size(); ++start) {
        if (label[start] != 0)
            continue;
        const int id = int(pieces.size());
        pieces.emplace_back();
        label[start] = id;
        stack.assign(1, QPoint(int(start % std::size_t(w)), int(start / std::size_t(w))));
        while (!stack.empty()) {
            const QPoint p = stack.back();
            stack.pop_back();
            const QPoint at = p + box.topLeft();
            const QPointF centre(at.x() + 0.5, at.y() + 0.5);
            pieces.back().pixels.push_back(centre);
            pieces.back().nearest = std::min(pieces.back().nearest, length(centre - end));
            if ((at - endPixel).manhattanLength() <= 1)
                own = id;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const QPoint q = p + QPoint(dx, dy);
                    if (q.x() < 0 || q.y() < 0 || q.x() >= w || q.y() >= box.height())
                        continue;
                    int &l = label[std::size_t(q.y() * w + q.x())];
                    if (l == 0) {
                        l = id;
                        stack.push_back(q);
                    }
                }
            }
        }
    }
    std::optional<QPointF> best;
    double straightest = widestTurn;
    for (std::size_t id = 1; id < pieces.size(); ++id) {
        const Piece &piece = pieces[id];
        if (int(id) == own || piece.nearest > reach)
            continue;
        // Its beginning: a whole dot, the first pixels of a dash or of the curve going on.
        QPointF sum;
        int count = 0;
        for (const QPointF &p : piece.pixels) {
            if (length(p - end) <= piece.nearest + 2 * width + 3) {
                sum += p;
                ++count;
            }
        }
        const QPointF centre = sum / count;
        const QPointF to = centre - end;
        const double distance = length(to);
        if (distance < 1)
            continue;
        // The way at the piece, bent as the heading bends over half the distance, against the way to it.
        const QPointF expected = tangentOnArc(heading, distance / 2);
        const double turn =
            std::abs(std::atan2(expected.x() * to.y() - expected.y() * to.x(), QPointF::dotProduct(expected, to)));
        if (turn < straightest) {
            straightest = turn;
            best = centre;
        }
    }
    return best;
}
