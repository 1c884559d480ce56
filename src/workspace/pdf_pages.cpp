#include "workspace/pdf_pages.h"

#include "workspace/pdf_names.h"
#include "workspace/picture_loader.h"
#include "workspace/picture_names.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QPdfDocumentRenderOptions>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// The page is drawn with nothing behind it; charts are read off white paper.
QImage onWhite(QImage image)
{
    if (image.isNull())
        return image;
    {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOver);
        painter.fillRect(image.rect(), Qt::white);
    }
    image.reinterpretAsFormat(QImage::Format_RGB32); // every pixel is opaque now
    return image;
}

} // namespace

OpenedPdf openPdf(const QString &path)
{
    OpenedPdf out;
    auto document = std::make_unique<QPdfDocument>();
    const QPdfDocument::Error error = document->load(path);
    const QString name = pictureFileName(path);
    if (error == QPdfDocument::Error::IncorrectPassword)
        out.error = u"\"%1\" belgesi parola korumalı."_s.arg(name);
    else if (error == QPdfDocument::Error::UnsupportedSecurityScheme)
        out.error = u"\"%1\" belgesi bilinmeyen bir yöntemle şifrelenmiş; açılamadı."_s.arg(name);
    else if (error == QPdfDocument::Error::None && document->pageCount() <= 0)
        out.error = u"\"%1\" belgesinde hiç sayfa yok; açılamadı."_s.arg(name);
    else if (error != QPdfDocument::Error::None || document->status() != QPdfDocument::Status::Ready)
        out.error = u"\"%1\" dosyası PDF belgesi olarak açılamadı."_s.arg(name);
    else
        out.document = std::move(document);
    return out;
}

int renderDpi(const QPdfDocument &document, const PdfPageChoice &choice)
{
    return fittingDpi(document.pagePointSize(choice.page), choice.regionPoints, choice.dpi, pictureDecodeLimitMiB());
}

QImage renderPage(QPdfDocument &document, const PdfPageChoice &choice)
{
    const int dpi = renderDpi(document, choice);
    if (dpi <= 0)
        return {};
    const QSizeF points = document.pagePointSize(choice.page);
    const QSize page = pagePixels(points, dpi);
    if (choice.regionPoints.isEmpty())
        return onWhite(document.render(choice.page, page));
    const QRect region = regionPixels(points, choice.regionPoints, dpi);
    QPdfDocumentRenderOptions options;
    options.setScaledSize(page);
    // Qt 6.4 scales a clipped page by (clip width - 1) / image width, and the same for heights: a clip one pixel
    // wider and higher than the image gives the page exactly the scale of the whole page drawn at `page`.
    options.setScaledClipRect(QRect(region.topLeft(), region.size() + QSize(1, 1)));
    return onWhite(document.render(choice.page, region.size(), options));
}

QImage renderPageToFit(QPdfDocument &document, int page, QSize box)
{
    const QSizeF points = document.pagePointSize(page);
    if (points.isEmpty() || box.isEmpty())
        return {};
    const QSize size = points.scaled(QSizeF(box), Qt::KeepAspectRatio).toSize().expandedTo(QSize(1, 1));
    return onWhite(document.render(page, size));
}

SavedPage savePage(QPdfDocument &document, const QString &pdfPath, const PdfPageChoice &choice)
{
    SavedPage out;
    const QImage image = renderPage(document, choice);
    if (image.isNull()) {
        out.error = u"\"%1\" belgesinin %2. sayfası çizilemedi."_s.arg(pictureFileName(pdfPath),
                                                                       QString::number(choice.page + 1));
        return out;
    }
    const QString folder = QFileInfo(pdfPath).absolutePath();
    const QString path = QDir(folder).filePath(
        renderedPageFileName(folder, pictureFileName(pdfPath), choice.page + 1, !choice.regionPoints.isEmpty()));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !QImageWriter(&file, "png").write(image) || !file.commit()) {
        out.error = u"Sayfanın resmi \"%1\" dosyasına kaydedilemedi."_s.arg(QDir::toNativeSeparators(path));
        return out;
    }
    out.path = path;
    return out;
}
