#pragma once

#include "workspace/pdf_page_geometry.h"

#include <QSize>
#include <QString>

#include <optional>

class QMimeData;
class QPdfDocument;
class QWidget;

// Everything that needs a person or the desktop. Form1 is given one; tests give a fake.
struct Desktop {
    virtual ~Desktop() = default;
    // The chosen path, or an empty text when the user cancels.
    virtual QString choosePicture(QWidget *parent, const QString &title, const QString &filter) = 0;
    // The page chooser (Form8) on an opened PDF; nothing when the user cancels.
    virtual std::optional<PdfPageChoice> choosePdfPage(QWidget *parent, QPdfDocument &document,
                                                       const QString &fileName) = 0;
    // A box titled "Dikkat!" with an exclamation icon and OK only.
    virtual void warn(QWidget *parent, const QString &text) = 0;
    // Starts a program by path with an argument list, never through a shell, without waiting.
    virtual bool startProgram(const QString &path) = 0;
    // Opens a document with the desktop's viewer for its type, without waiting.
    virtual bool openDocument(const QString &fileName) = 0;
    virtual QSize screenSizePixels() const = 0;
    // The room a maximized window gets.
    virtual QSize availableSizePixels() const = 0;
    virtual bool beginWindowMove(QWidget *window) = 0;
    // What the clipboard holds now; never null.
    virtual const QMimeData *clipboard() = 0;
};
