#pragma once

#include <QPointF>

#include <cmath>
#include <optional>
#include <vector>

// The least squares line v = a + b u through points (u, v).
struct FittedLine {
    double a = 0, b = 0;
};

[[nodiscard]] inline std::optional<FittedLine> fittedLine(const std::vector<QPointF> &uv)
{
    double n = 0, su = 0, sv = 0, suu = 0, suv = 0;
    for (const QPointF &q : uv) {
        n += 1;
        su += q.x();
        sv += q.y();
        suu += q.x() * q.x();
        suv += q.x() * q.y();
    }
    const double det = n * suu - su * su;
    if (n < 2 || std::abs(det) < 1e-9)
        return std::nullopt;
    const double b = (n * suv - su * sv) / det;
    return FittedLine{(sv - b * su) / n, b};
}
