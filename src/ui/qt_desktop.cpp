#include "ui/qt_desktop.h"

#include "ui/form8.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QUrl>
#include <QWidget>
#include <QWindow>

using namespace Qt::StringLiterals;

QString QtDesktop::choosePicture(QWidget *parent, const QString &title, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

std::optional<PdfPageChoice> QtDesktop::choosePdfPage(QWidget *parent, QPdfDocument &document, const QString &fileName)
{
    Form8 chooser(document, fileName, parent);
    if (chooser.exec() != QDialog::Accepted)
        return std::nullopt;
    return chooser.choice();
}

void QtDesktop::warn(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, u"Dikkat!"_s, text, QMessageBox::Ok, parent);
    box.exec();
}

bool QtDesktop::startProgram(const QString &path)
{
    return QProcess::startDetached(path, {});
}

bool QtDesktop::openDocument(const QString &fileName)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(fileName));
}

QSize QtDesktop::screenSizePixels() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

QSize QtDesktop::availableSizePixels() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableSize() : QSize(1024, 768);
}

bool QtDesktop::beginWindowMove(QWidget *window)
{
    QWindow *handle = window ? window->windowHandle() : nullptr;
    return handle && handle->startSystemMove();
}

const QMimeData *QtDesktop::clipboard()
{
    static const QMimeData nothing;
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data ? data : &nothing;
}
