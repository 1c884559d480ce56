#pragma once

#include "trace/marker_patch.h"

#include <QPointF>
#include <QRect>

#include <vector>

// What the markers of a series look like, from those that nothing covers: the mean of their shares of the
// colour around their centres. The markers of a series are drawn alike, so one of them that another colour's
// ink hides in part lies where what shows of it best matches that look.
class SeriesLook {
public:
    void add(Patch patch, QPointF centre);
    [[nodiscard]] std::size_t size() const { return centres_.size(); }
    // The mean share of the colour each pixel of `area` would hold with a marker's centre at `centre`.
    [[nodiscard]] Patch placedAt(QPointF centre, QRect area) const;

private:
    std::vector<Patch> patches_;
    std::vector<QPointF> centres_;
    QRectF reach_; // of every patch about its centre
};
