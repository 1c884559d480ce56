#include "trace/gap_search.h"

#include "trace/ink_pieces.h"
#include "trace/vector_length.h"

#include <QRect>

#include <cmath>
#include <vector>

std::optional<QPointF> pieceAcrossGap(const PixelView &picture, const InkModel &model, QPointF end,
                                      const Heading &heading, double width, double reach, double widestTurn)
{
    const QPointF middle = end + heading.tangent * (reach / 2);
    const int half = int(std::ceil(reach + 1));
    const QRect box(int(std::floor(middle.x())) - half, int(std::floor(middle.y())) - half, 2 * half + 1, 2 * half + 1);
    const QPoint endPixel(int(std::floor(end.x())), int(std::floor(end.y())));
    std::optional<QPointF> best;
    double straightest = widestTurn;
    for (const InkPiece &piece : inkPiecesIn(picture, model, box)) {
        double nearest = 1e300;
        bool own = false; // the piece the stroke at `end` belongs to
        for (const QPointF &p : piece.pixels) {
            nearest = std::min(nearest, length(p - end));
            own = own || (QPoint(int(p.x()), int(p.y())) - endPixel).manhattanLength() <= 1;
        }
        if (own || nearest > reach)
            continue;
        // Its beginning: a whole dot, the first pixels of a dash or of the curve going on.
        QPointF sum;
        int count = 0;
        for (const QPointF &p : piece.pixels) {
            if (length(p - end) <= nearest + 2 * width + 3) {
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
