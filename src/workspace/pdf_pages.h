#pragma once

#include "workspace/pdf_page_geometry.h"

#include <QImage>
#include <QPdfDocument>
#include <QSize>
#include <QString>

#include <memory>

// A PDF opened for the page chooser, or why it could not be.
struct OpenedPdf {
    std::unique_ptr<QPdfDocument> document; // null unless it opened with pages
    QString error;                          // a Turkish sentence naming the file; empty on success
};
[[nodiscard]] OpenedPdf openPdf(const QString &path);

// The resolution a choice is drawn at: the one chosen, or the largest below it whose picture the loader takes.
[[nodiscard]] int renderDpi(const QPdfDocument &document, const PdfPageChoice &choice);

// The chosen page, or its region, drawn at renderDpi() on white, in Format_RGB32; null when it cannot be drawn.
[[nodiscard]] QImage renderPage(QPdfDocument &document, const PdfPageChoice &choice);

// The whole page as large as fits in `box`, on white: the chooser's thumbnails and preview.
[[nodiscard]] QImage renderPageToFit(QPdfDocument &document, int page, QSize box);

// A page saved as a picture, or why it was not.
struct SavedPage {
    QString path;  // of the PNG beside the PDF
    QString error; // a Turkish sentence; empty on success
};
// Draws the choice and writes it atomically as a PNG beside the PDF under a name no file has yet.
[[nodiscard]] SavedPage savePage(QPdfDocument &document, const QString &pdfPath, const PdfPageChoice &choice);
