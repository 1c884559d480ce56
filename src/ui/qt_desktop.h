#pragma once

#include "ui/desktop.h"

// The real desktop: dialogs, message boxes, processes and the primary screen.
class QtDesktop final : public Desktop {
public:
    QString choosePicture(QWidget *parent, const QString &title, const QString &filter) override;
    std::optional<PdfPageChoice> choosePdfPage(QWidget *parent, QPdfDocument &document,
                                               const QString &fileName) override;
    void warn(QWidget *parent, const QString &text) override;
    bool startProgram(const QString &path) override;
    bool openDocument(const QString &fileName) override;
    QSize screenSizePixels() const override;
    QSize availableSizePixels() const override;
    bool beginWindowMove(QWidget *window) override;
    const QMimeData *clipboard() override;
};
