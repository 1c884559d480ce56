#pragma once

#include "ui/desktop.h"

#include <QMimeData>
#include <QSize>
#include <QStringList>

#include <deque>

// A desktop without a person: queued dialog answers, recorded warnings and starts, a chosen screen size.
struct FakeDesktop final : Desktop {
    explicit FakeDesktop(QSize screen = {1024, 768})
        : screen(screen)
        , available(screen)
    {}

    QString choosePicture(QWidget *parent, const QString &title, const QString &filter) override;
    std::optional<PdfPageChoice> choosePdfPage(QWidget *parent, QPdfDocument &document,
                                               const QString &fileName) override;
    void warn(QWidget *parent, const QString &text) override;
    bool startProgram(const QString &path) override;
    bool openDocument(const QString &fileName) override;
    QSize screenSizePixels() const override { return screen; }
    QSize availableSizePixels() const override { return available; }
    bool beginWindowMove(QWidget *window) override;
    const QMimeData *clipboard() override { return &clipboardData; }

    QSize screen;
    QSize available;
    std::deque<QString> pictureAnswers; // an empty answer is a cancel
    QStringList dialogTitles;
    QStringList dialogFilters;
    std::deque<std::optional<PdfPageChoice>> pageAnswers; // none left, or an empty one, is Vazgeç
    QStringList pageChooserFiles;                         // the file name each chooser was shown for
    QList<int> pageChooserPageCounts;
    QStringList warnings;
    QList<bool> busyAtWarnings; // whether the busy pointer showed while each warning was given
    QStringList startedPrograms;
    QStringList openedDocuments;
    bool programsStart = true;
    bool documentsOpen = true;
    int windowMoves = 0;
    bool windowMovesStart = true; // whether the window manager takes a move
    QMimeData clipboardData;
};
