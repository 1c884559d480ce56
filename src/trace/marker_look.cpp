#include "trace/marker_look.h"

#include <cmath>

namespace {

// Where markers show less than this of a pixel between them, the look does not tell it.
constexpr float kLeastSeen = 0.05f;

} // namespace

void SeriesLook::add(Patch shows, QPointF centre, Patch hidden)
{
    const QRectF reach = QRectF(shows.area).translated(-centre);
    reach_ = members_.empty() ? reach : reach_.united(reach);
    members_.push_back({std::move(shows), std::move(hidden), centre});
}

SeriesLook SeriesLook::without(std::size_t member) const
{
    SeriesLook look;
    for (std::size_t k = 0; k < members_.size(); ++k) {
        if (k != member)
            look.add(members_[k].shows, members_[k].centre, members_[k].hidden);
    }
    return look;
}

Patch SeriesLook::placedAt(QPointF centre, QRect area) const
{
    Patch placed(area);
    if (members_.empty())
        return placed;
    const QRectF reach = reach_.translated(centre);
    const QRect over = area & QRect(QPoint(int(std::floor(reach.left())), int(std::floor(reach.top()))),
                                    QPoint(int(std::ceil(reach.right())), int(std::ceil(reach.bottom()))));
    for (int y = over.top(); y <= over.bottom(); ++y) {
        for (int x = over.left(); x <= over.right(); ++x) {
            const double ox = x + 0.5 - centre.x(), oy = y + 0.5 - centre.y();
            float shows = 0, seen = 0;
            for (const Member &m : members_) {
                const double px = m.centre.x() + ox, py = m.centre.y() + oy;
                shows += m.shows.around(px, py);
                seen += 1 - m.hidden.around(px, py);
            }
            placed.share[placed.index(x, y)] = seen >= kLeastSeen ? shows / seen : kUnknown;
        }
    }
    return placed;
}
