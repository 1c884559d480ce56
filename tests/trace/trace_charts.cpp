#include "trace/trace_charts.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTickSpacing = 40;
constexpr int kTickLength = 5;

QPen penFor(const CurveStyle &style)
{
    const double width = style.width;
    QPen pen(style.colour, width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    // Patterns in pen widths: dashes of 8 pixels with gaps of 10; dots as long as the pen is wide, gaps twice that.
    if (style.dashes == CurveStyle::Dashes::Dashed)
        pen.setDashPattern({8 / width, 10 / width});
    else if (style.dashes == CurveStyle::Dashes::Dotted)
        pen.setDashPattern({1, 2});
    return pen;
}

double length(QPointF v)
{
    return std::hypot(v.x(), v.y());
}

// Distance from `p` to the segment from `a` to `b`.
double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF d = b - a;
    const double l2 = QPointF::dotProduct(d, d);
    const double t = l2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / l2, 0.0, 1.0) : 0;
    return length(p - (a + t * d));
}

// The line drawn, sampled a few times a pixel: each sample with the piece of `corners` it lies on.
struct Dense {
    std::vector<QPointF> points;
    std::vector<std::size_t> piece;
};

// The centre line of the pixels an aliased pen set along `line` (in `mask`, ink where it is not white): Qt's
// stepper puts a hair line up to a pixel off the mathematical one, so each point of the line is moved across it
// by the mean offset of the pixels drawn within a few pixels along it, the line's own bend taken out. Beside a
// sharp corner of `corners`, the pixels nearer the piece on the corner's other side are that piece's.
std::vector<QPointF> drawnCentreLine(const Dense &dense, const std::vector<QPointF> &corners, const QImage &mask,
                                     double width)
{
    constexpr double kAlong = 3;
    const std::vector<QPointF> &line = dense.points;
    const double across = width / 2 + 1.5;
    const int reach = int(std::ceil(kAlong + across));
    // Pieces that meet at a corner sharper than 20 degrees.
    const auto sharpAfter = [&](std::size_t k) {
        if (k + 2 >= corners.size())
            return false;
        const QPointF d0 = corners[k + 1] - corners[k];
        const QPointF d1 = corners[k + 2] - corners[k + 1];
        return QPointF::dotProduct(d0, d1) < std::cos(20 * M_PI / 180) * length(d0) * length(d1);
    };
    std::vector<QPointF> out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        const std::size_t piece = dense.piece[i];
        const bool sharpBefore = piece > 0 && sharpAfter(piece - 1);
        const bool sharpNext = sharpAfter(piece);
        // At a sharp corner, each piece's own direction.
        const bool cornerNext = sharpNext && i + 1 < line.size() && dense.piece[i + 1] != piece;
        const bool cornerBefore = sharpBefore && i > 0 && dense.piece[i - 1] != piece;
        const QPointF a = line[i == 0 || cornerBefore ? i : i - 1];
        const QPointF b = line[i + 1 < line.size() && !cornerNext ? i + 1 : i];
        const QPointF t = (b - a) / length(b - a);
        const QPointF n(-t.y(), t.x());
        // The bend, from the turn of the direction on either side.
        double bend = 0;
        if (i > 0 && i + 1 < line.size() && !cornerNext && !cornerBefore) {
            const QPointF d0 = line[i] - line[i - 1];
            const QPointF d1 = line[i + 1] - line[i];
            bend = 2 * (d0.x() * d1.y() - d0.y() * d1.x()) / (length(d0) * length(d1) * length(line[i + 1] - a));
        }
        const QPointF p = line[i];
        double sum = 0;
        double weight = 0;
        for (int y = int(std::floor(p.y())) - reach; y <= int(std::floor(p.y())) + reach; ++y) {
            for (int x = int(std::floor(p.x())) - reach; x <= int(std::floor(p.x())) + reach; ++x) {
                if (!mask.rect().contains(x, y) || mask.pixel(x, y) == 0xffffffff)
                    continue;
                const QPointF q(x + 0.5, y + 0.5);
                if (sharpBefore || sharpNext) {
                    const double own = distanceToSegment(q, corners[piece], corners[piece + 1]);
                    if ((sharpBefore && distanceToSegment(q, corners[piece - 1], corners[piece]) < own) ||
                        (sharpNext && distanceToSegment(q, corners[piece + 1], corners[piece + 2]) < own))
                        continue;
                }
                const QPointF d = q - p;
                const double u = QPointF::dotProduct(d, t);
                const double v = QPointF::dotProduct(d, n) - bend * u * u / 2;
                // Weighed down towards the ends of the stretch, so that the mean does not jump as pixels come
                // into it: the line stays as smooth as the pixels allow, and its length true.
                if (std::abs(u) <= kAlong && std::abs(v) <= across) {
                    const double w = 1 - std::abs(u) / kAlong;
                    sum += w * v;
                    weight += w;
                }
            }
        }
        out.push_back(weight > 0 ? p + n * (sum / weight) : p);
    }
    return out;
}

} // namespace

TraceChart::TraceChart(QSize size, bool antialiased)
    : image(size, QImage::Format_RGB32)
    , plot(50, 30, size.width() - 70, size.height() - 70)
    , m_antialiased(antialiased)
{
    image.fill(Qt::white);
}

void TraceChart::drawFurniture(QColor ink)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, m_antialiased);
    p.setRenderHint(QPainter::TextAntialiasing, m_antialiased);
    const auto line = [&](QPointF a, QPointF b, QColor colour) {
        p.setPen(QPen(colour, 1, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(a, b);
        furniture.push_back({a, b});
    };
    const QRectF r = plot;
    for (double x = r.left() + kTickSpacing; x < r.right() - 1; x += kTickSpacing)
        line({x + 0.5, r.top()}, {x + 0.5, r.bottom()}, QColor(205, 205, 205));
    for (double y = r.bottom() - kTickSpacing; y > r.top() + 1; y -= kTickSpacing)
        line({r.left(), y + 0.5}, {r.right(), y + 0.5}, QColor(205, 205, 205));
    // The frame's lines run along pixel centres just outside the plot.
    line({r.left() - 0.5, r.top() - 1}, {r.left() - 0.5, r.bottom() + 1}, ink);
    line({r.right() + 0.5, r.top() - 1}, {r.right() + 0.5, r.bottom() + 1}, ink);
    line({r.left() - 1, r.top() - 0.5}, {r.right() + 1, r.top() - 0.5}, ink);
    line({r.left() - 1, r.bottom() + 0.5}, {r.right() + 1, r.bottom() + 0.5}, ink);
    QFont font(u"DejaVu Sans"_s);
    font.setPixelSize(10);
    p.setFont(font);
    p.setPen(ink);
    int n = 0;
    for (double x = r.left(); x < r.right() - 1; x += kTickSpacing, ++n) {
        line({x + 0.5, r.bottom() + 1}, {x + 0.5, r.bottom() + 1 + kTickLength}, ink);
        p.setPen(ink);
        const QRectF box(x - 15, r.bottom() + 8, 30, 12);
        p.drawText(box, Qt::AlignCenter, QString::number(n * 10));
        texts.push_back(box);
    }
    n = 0;
    for (double y = r.bottom(); y > r.top() + 1; y -= kTickSpacing, ++n) {
        line({r.left() - 1 - kTickLength, y + 0.5}, {r.left() - 1, y + 0.5}, ink);
        p.setPen(ink);
        const QRectF box(r.left() - 40, y - 6, 30, 12);
        p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, QString::number(n * 0.5, 'f', 1));
        texts.push_back(box);
    }
    const QRectF title(r.left(), 4, r.width(), 16);
    p.drawText(title, Qt::AlignCenter, u"Ölçülen değerler"_s);
    texts.push_back(title);
}

std::vector<QPointF> TraceChart::drawCurve(const std::function<QPointF(double)> &at, double t0, double t1,
                                           const CurveStyle &style)
{
    // Fine enough that the polyline is the curve for the tracer: a few samples a pixel.
    std::vector<QPointF> centre{at(t0)};
    const int pieces = 20000;
    for (int i = 1; i <= pieces; ++i) {
        const QPointF q = at(t0 + (t1 - t0) * i / pieces);
        if (length(q - centre.back()) >= 0.25 || i == pieces)
            centre.push_back(q);
    }
    return drawPolyline(centre, style);
}

std::vector<QPointF> TraceChart::drawPolyline(const std::vector<QPointF> &centre, const CurveStyle &style)
{
    QPainterPath path(centre.front());
    for (std::size_t i = 1; i < centre.size(); ++i)
        path.lineTo(centre[i]);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, m_antialiased);
        p.setPen(penFor(style));
        p.drawPath(path);
    }
    if (m_antialiased)
        return centre;
    // The truth of an aliased stroke is where its pixels are: the same line drawn whole on its own.
    QImage mask(image.size(), QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter p(&mask);
    CurveStyle whole = style;
    whole.colour = Qt::black;
    whole.dashes = CurveStyle::Dashes::None;
    p.setPen(penFor(whole));
    p.drawPath(path);
    p.end();
    // Samples a few a pixel, the corners kept, so that the truth bends where the line does.
    Dense dense{{centre.front()}, {0}};
    for (std::size_t i = 1; i < centre.size(); ++i) {
        const QPointF a = centre[i - 1];
        const int pieces = std::max(1, int(std::ceil(length(centre[i] - a) / 0.25)));
        for (int k = 1; k <= pieces; ++k) {
            dense.points.push_back(a + (centre[i] - a) * (double(k) / pieces));
            dense.piece.push_back(i - 1);
        }
    }
    return drawnCentreLine(dense, centre, mask, style.width);
}

void TraceChart::drawLegend(const std::vector<CurveStyle> &styles, double marker)
{
    QFont font(u"DejaVu Sans"_s);
    font.setPixelSize(10);
    const double rowHeight = 16;
    const QRectF box(plot.right() - 100, plot.top() + 8, 92, 8 + rowHeight * double(styles.size()));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, m_antialiased);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(box);
    p.setFont(font);
    for (std::size_t i = 0; i < styles.size(); ++i) {
        const double y = box.top() + 4 + rowHeight * (double(i) + 0.5);
        if (styles[i].width > 0) {
            p.setPen(penFor(styles[i]));
            p.drawLine(QPointF(box.left() + 6, y), QPointF(box.left() + 34, y));
        }
        if (marker > 0) {
            p.setPen(Qt::NoPen);
            p.setBrush(styles[i].colour);
            p.drawEllipse(QPointF(box.left() + 20, y), marker / 2, marker / 2);
        }
        p.setPen(Qt::black);
        p.drawText(QRectF(box.left() + 40, y - 7, 50, 14), Qt::AlignLeft | Qt::AlignVCenter, u"Seri %1"_s.arg(i + 1));
    }
    texts.push_back(box);
}

QRectF TraceChart::drawLabel(QPointF centre, const QString &text, QColor colour, bool boxed, int pointSize)
{
    QFont font(u"DejaVu Sans"_s);
    font.setPixelSize(pointSize + 2);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing, m_antialiased);
    p.setFont(font);
    QRectF box = p.boundingRect(QRectF(centre.x() - 50, centre.y() - 20, 100, 40), Qt::AlignCenter, text);
    if (boxed)
        p.fillRect(box, Qt::white);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
    texts.push_back(box);
    return box;
}

namespace {

void paintMarker(QPainter &p, QPointF c, MarkerShape shape, double size, QColor colour, bool filled)
{
    const double h = size / 2;
    // Hollow shapes are outlined with a pen inside their size; filled ones are the shape itself.
    const double pen = filled ? 0 : std::max(1.0, std::round(size / 8));
    const double e = filled ? h : h - pen / 2;
    if (filled) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
    } else {
        p.setPen(QPen(colour, pen, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
    }
    switch (shape) {
    case MarkerShape::Circle:
        p.drawEllipse(c, e, e);
        break;
    case MarkerShape::Square:
        p.drawRect(QRectF(c.x() - e, c.y() - e, 2 * e, 2 * e));
        break;
    case MarkerShape::Triangle:
        p.drawPolygon(QPolygonF({c + QPointF(0, -e), c + QPointF(e, e), c + QPointF(-e, e)}));
        break;
    case MarkerShape::Diamond:
        p.drawPolygon(QPolygonF({c + QPointF(0, -e), c + QPointF(e, 0), c + QPointF(0, e), c + QPointF(-e, 0)}));
        break;
    case MarkerShape::Cross:
    case MarkerShape::Plus: {
        // Crosses are strokes whatever `filled` says.
        const double w = std::max(1.0, std::round(size / 6));
        p.setPen(QPen(colour, w, Qt::SolidLine, Qt::FlatCap));
        const double a = shape == MarkerShape::Plus ? 0 : M_PI / 4;
        for (double turn : {a, a + M_PI / 2}) {
            const QPointF d(std::cos(turn) * h, std::sin(turn) * h);
            p.drawLine(c - d, c + d);
        }
        break;
    }
    }
}

// The ink-weighted centroid of a marker drawn alone at `c`, anti-aliased or not.
QPointF drawnCentroid(QPointF c, MarkerShape shape, double size, bool filled, bool antialiased)
{
    const int side = int(std::ceil(size)) + 8;
    const QPointF origin(std::floor(c.x()) - side / 2, std::floor(c.y()) - side / 2);
    QImage mask(side, side, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, antialiased);
    paintMarker(p, c - origin, shape, size, Qt::black, filled);
    p.end();
    double mass = 0;
    QPointF sum;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const double ink = 1 - qRed(mask.pixel(x, y)) / 255.0;
            mass += ink;
            sum += ink * QPointF(x + 0.5, y + 0.5);
        }
    }
    return origin + sum / mass;
}

} // namespace

QPointF TraceChart::drawMarker(QPointF c, MarkerShape shape, double size, QColor colour, bool filled)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, m_antialiased);
    paintMarker(p, c, shape, size, colour, filled);
    if (m_antialiased)
        return c;
    // Aliased, Qt sets the pixels whose centres the shape covers, by its own rounding for pens: the marker
    // stands where they are, as far from where it was asked for as their centroid is from the shape's.
    return c + drawnCentroid(c, shape, size, filled, false) - drawnCentroid(c, shape, size, filled, true);
}

void TraceChart::compressAsJpeg(int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    image = QImage::fromData(bytes, "JPG").convertToFormat(QImage::Format_RGB32);
}

PixelView TraceChart::view() const
{
    return {reinterpret_cast<const std::uint32_t *>(image.constBits()), image.width(), image.height(),
            image.bytesPerLine() / 4};
}

OnLine nearestOnLine(QPointF p, const std::vector<QPointF> &line)
{
    OnLine best{1e300, 0};
    double arc = 0;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const QPointF a = line[i];
        const QPointF d = line[i + 1] - a;
        const double l2 = QPointF::dotProduct(d, d);
        const double t = l2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / l2, 0.0, 1.0) : 0;
        const double distance = length(p - (a + t * d));
        if (distance < best.distance)
            best = {distance, arc + t * std::sqrt(l2)};
        arc += std::sqrt(l2);
    }
    return best;
}

double arcLength(const std::vector<QPointF> &line)
{
    double arc = 0;
    for (std::size_t i = 0; i + 1 < line.size(); ++i)
        arc += length(line[i + 1] - line[i]);
    return arc;
}

QPointF pointAtArc(const std::vector<QPointF> &line, double arc)
{
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const double piece = length(line[i + 1] - line[i]);
        if (arc <= piece)
            return line[i] + (line[i + 1] - line[i]) * (piece > 0 ? arc / piece : 0);
        arc -= piece;
    }
    return line.back();
}
