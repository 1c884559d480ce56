#include "support/test_pdfs.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

void drawPage(QPainter &p, QSizeF size, int pageNumber)
{
    const double w = size.width();
    const double h = size.height();
    for (const QPointF corner : {QPointF(0, 0), QPointF(w - kCornerMark, 0), QPointF(0, h - kCornerMark),
                                 QPointF(w - kCornerMark, h - kCornerMark)})
        p.fillRect(QRectF(corner, QSizeF(kCornerMark, kCornerMark)), Qt::black);
    p.fillRect(QRectF(pageMarkAt(pageNumber), QSizeF(kPageMarkSide, kPageMarkSide)), Qt::blue);

    const QRectF chart(w * 0.2, h * 0.3, w * 0.6, h * 0.4);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(chart.bottomLeft(), chart.bottomRight());
    p.drawLine(chart.bottomLeft(), chart.topLeft());
    QPainterPath curve;
    for (int i = 0; i <= 100; ++i) {
        const QPointF at(chart.left() + chart.width() * i / 100,
                         chart.center().y() - chart.height() * 0.4 * std::sin(i / 16.0));
        if (i == 0)
            curve.moveTo(at);
        else
            curve.lineTo(at);
    }
    p.setPen(QPen(Qt::darkGreen, 1.5));
    p.drawPath(curve);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::red);
    p.drawEllipse(QPointF(w * kMarkerAt.x(), h * kMarkerAt.y()), kMarkerRadius, kMarkerRadius);
}

// A PDF written as text, objects numbered from 1, with a correct cross-reference table.
QByteArray handWrittenPdf(const QList<QByteArray> &objects, const QByteArray &trailerExtra)
{
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (const QByteArray &object : objects) {
        offsets.append(pdf.size());
        pdf += QByteArray::number(offsets.size()) + " 0 obj\n" + object + "\nendobj\n";
    }
    const qsizetype table = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R " + trailerExtra +
           " >>\nstartxref\n" + QByteArray::number(table) + "\n%%EOF\n";
    return pdf;
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

} // namespace

QPointF pageMarkAt(int pageNumber)
{
    return {100 + 20.0 * ((pageNumber - 1) % 20), 40};
}

QString writeChartPdf(const QString &path, int pages, QSizeF size)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(size, QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(72); // one unit of the painter is one point
    QPainter painter(&writer);
    for (int n = 1; n <= pages; ++n) {
        if (n > 1)
            writer.newPage();
        drawPage(painter, size, n);
    }
    return path;
}

QString writePasswordPdf(const QString &path)
{
    // The standard security handler: the empty password does not give the /U entry, so a password is asked for.
    const QByteArray id = "<0123456789abcdef0123456789abcdef>";
    return writeFile(path,
                     handWrittenPdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                                     "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 100] >>",
                                     "<< /Filter /Standard /V 1 /R 2 /O <" + QByteArray(64, 'a') + "> /U <" +
                                         QByteArray(64, 'b') + "> /P -4 >>"},
                                    "/Encrypt 4 0 R /ID [" + id + " " + id + "]"));
}

QString writePagelessPdf(const QString &path)
{
    return writeFile(path,
                     handWrittenPdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [] /Count 0 >>"}, {}));
}

QString writeBrokenPdf(const QString &path)
{
    const QString whole = path + u".whole"_s;
    writeChartPdf(whole, 2);
    QFile file(whole);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray half = file.read(file.size() / 2);
    file.remove();
    return writeFile(path, half);
}
