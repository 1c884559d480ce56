#include "trace/ink_pieces.h"

namespace {

constexpr float kSolid = 0.5f;

} // namespace

QPointF InkPiece::centroid() const
{
    QPointF sum;
    for (const QPointF &p : pixels)
        sum += p;
    return pixels.empty() ? sum : sum / double(pixels.size());
}

bool InkPiece::holds(QPoint pixel) const
{
    const QPointF centre(pixel.x() + 0.5, pixel.y() + 0.5);
    for (const QPointF &p : pixels) {
        if (p == centre)
            return true;
    }
    return false;
}

std::vector<InkPiece> inkPiecesIn(const PixelView &picture, const InkModel &model, QRect area)
{
    const QRect box = area & QRect(0, 0, picture.width, picture.height);
    std::vector<InkPiece> pieces;
    if (box.isEmpty())
        return pieces;
    const int w = box.width();
    // -1: not ink; 0: ink not yet reached; n > 0: in piece n - 1.
    std::vector<int> label(std::size_t(w) * std::size_t(box.height()), -1);
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (model.ink(picture.at(x, y)) >= kSolid)
                label[std::size_t((y - box.top()) * w + (x - box.left()))] = 0;
        }
    }
    std::vector<QPoint> stack;
    for (std::size_t start = 0; start < label.size(); ++start) {
        if (label[start] != 0)
            continue;
        pieces.emplace_back();
        const int id = int(pieces.size());
        label[start] = id;
        stack.assign(1, QPoint(int(start % std::size_t(w)), int(start / std::size_t(w))));
        while (!stack.empty()) {
            const QPoint p = stack.back();
            stack.pop_back();
            pieces.back().pixels.push_back(QPointF(p.x() + box.left() + 0.5, p.y() + box.top() + 0.5));
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
    return pieces;
}
