#include "support/fake_desktop.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPdfDocument>

QString FakeDesktop::choosePicture(QWidget *, const QString &title, const QString &filter)
{
    dialogTitles.append(title);
    dialogFilters.append(filter);
    if (pictureAnswers.empty())
        return {};
    QString answer = pictureAnswers.front();
    pictureAnswers.pop_front();
    return answer;
}

std::optional<PdfPageChoice> FakeDesktop::choosePdfPage(QWidget *, QPdfDocument &document, const QString &fileName)
{
    pageChooserFiles.append(fileName);
    pageChooserPageCounts.append(document.pageCount());
    if (pageAnswers.empty())
        return std::nullopt;
    std::optional<PdfPageChoice> answer = pageAnswers.front();
    pageAnswers.pop_front();
    return answer;
}

void FakeDesktop::warn(QWidget *, const QString &text)
{
    warnings.append(text);
    const QCursor *pointer = QGuiApplication::overrideCursor();
    busyAtWarnings.append(pointer && pointer->shape() == Qt::WaitCursor);
}

bool FakeDesktop::startProgram(const QString &path)
{
    startedPrograms.append(path);
    return programsStart;
}

bool FakeDesktop::openDocument(const QString &fileName)
{
    openedDocuments.append(fileName);
    return documentsOpen;
}

bool FakeDesktop::beginWindowMove(QWidget *)
{
    ++windowMoves;
    return windowMovesStart;
}
