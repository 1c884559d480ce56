#pragma once

#include "trace/marker_patch.h"

#include <QPointF>
#include <QRect>

#include <vector>

// What the markers of a series look like: the mean of their shares of the colour around their centres. The
// markers of a series are drawn alike, so one of them that another colour's ink hides in part lies where what
// shows of it best matches that look. A marker hidden in part adds what shows of it, where it shows.
class SeriesLook {
public:
    // `hidden`: how much of each pixel another colour's ink hides; none where it is left out.
    void add(Patch shows, QPointF centre, Patch hidden = {});
    [[nodiscard]] std::size_t size() const { return members_.size(); }
    [[nodiscard]] SeriesLook without(std::size_t member) const;
    // The mean share of the colour each pixel of `area` would hold with a marker's centre at `centre`, and
    // kUnknown where every marker is hidden there.
    [[nodiscard]] Patch placedAt(QPointF centre, QRect area) const;
    static constexpr float kUnknown = -1;

private:
    struct Member {
        Patch shows;
        Patch hidden;
        QPointF centre;
    };
    std::vector<Member> members_;
    QRectF reach_; // of every member's patch about its centre
};
