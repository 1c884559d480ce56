// A chart from a PDF paper: the page chooser, the page drawn and saved as a picture beside the PDF.
#include "ui/form1.h"

#include "ui/busy_pointer.h"
#include "ui/desktop.h"
#include "workspace/pdf_pages.h"
#include "workspace/picture_names.h"

using namespace Qt::StringLiterals;

QString Form1::pictureFromPdf(const QString &pdfPath)
{
    const OpenedPdf pdf = openPdf(pdfPath);
    if (!pdf.document) {
        m_desktop.warn(this, pdf.error);
        return {};
    }
    const std::optional<PdfPageChoice> choice = m_desktop.choosePdfPage(this, *pdf.document, pictureFileName(pdfPath));
    if (!choice)
        return {}; // Vazgeç: nothing is written and nothing changes
    SavedPage saved;
    {
        const BusyPointer busy; // a page at 600 dpi takes a second or more to draw and compress
        saved = savePage(*pdf.document, pdfPath, *choice);
    }
    if (!saved.error.isEmpty()) {
        m_desktop.warn(this, saved.error);
        return {};
    }
    return saved.path;
}
