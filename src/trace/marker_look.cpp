#include "trace/marker_look.h"

#include <cmath>

void SeriesLook::add(Patch patch, QPointF centre)
{
    const QRectF reach = QRectF(patch.area).translated(-centre);
    reach_ = centres_.empty() ? reach : reach_.united(reach);
    patches_.push_back(std::move(patch));
    centres_.push_back(centre);
}

Patch SeriesLook::placedAt(QPointF centre, QRect area) const
{
    Patch placed(area);
    if (centres_.empty())
        return placed;
    const QRectF reach = reach_.translated(centre);
    const QRect over = area & QRect(QPoint(int(std::floor(reach.left())), int(std::floor(reach.top()))),
                                    QPoint(int(std::ceil(reach.right())), int(std::ceil(reach.bottom()))));
    const float each = 1.0f / float(centres_.size());
    for (int y = over.top(); y <= over.bottom(); ++y) {
        for (int x = over.left(); x <= over.right(); ++x) {
            const double ox = x + 0.5 - centre.x(), oy = y + 0.5 - centre.y();
            float sum = 0;
            for (std::size_t k = 0; k < centres_.size(); ++k)
                sum += patches_[k].around(centres_[k].x() + ox, centres_[k].y() + oy);
            placed.share[placed.index(x, y)] = sum * each;
        }
    }
    return placed;
}
