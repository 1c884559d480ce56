#pragma once

#include <QString>

// Whether a file is to be opened as a PDF: by its extension, in any case, or by its first bytes ("%PDF-").
[[nodiscard]] bool isPdfFile(const QString &path);

// The name in `folder` that page `pageNumber` (from 1) of `pdfFileName` is saved under as a picture: the PDF's name
// less its extension, "-s" and the page number, ".png" ("makale-s3.png"), or with a part of the page "-b1", "-b2"
// ... the first number free ("makale-s3-b1.png"). A whole page whose name is taken gets the next free number
// ("makale-s3-2.png"), so that no file is ever overwritten.
[[nodiscard]] QString renderedPageFileName(const QString &folder, const QString &pdfFileName, int pageNumber,
                                           bool region);
