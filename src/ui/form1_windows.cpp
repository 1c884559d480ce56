// The auxiliary windows: created when first shown, then only hidden and shown again.
#include "ui/form1.h"

#include "ui/desktop.h"
#include "ui/form2.h"
#include "ui/help/contact_window.h"
#include "ui/help/form3.h"
#include "ui/help/manual_location.h"

#include <QCoreApplication>
#include <QDir>

#include <QIcon>
#include <QPixmap>

void Form1::showAndRaise(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

void Form1::backToMainWindow(QWidget *window)
{
    window->hide();
    showAndRaise(this);
}

void Form1::Command11_Click()
{
    if (!m_form2) {
        m_form2 = new Form2(QIcon(QPixmap::fromImage(m_form6.auxiliaryIcon())), this);
        m_form2->setAttribute(Qt::WA_DeleteOnClose); // its close box destroys it; the next press makes it anew
        connect(m_form2, &Form2::backRequested, this, [this] { backToMainWindow(m_form2); });
    }
    showAndRaise(m_form2);
    for (QWidget *w : lockedByCurveStart())
        w->setEnabled(true);
}

void Form1::Command9_Click()
{
    if (!m_form3) {
        m_form3 = new Form3(this);
        connect(m_form3, &Form3::backRequested, this, [this] { backToMainWindow(m_form3); });
        connect(m_form3, &Form3::manualRequested, this, &Form1::openManual);
    }
    showAndRaise(m_form3);
}

void Form1::openManual()
{
    // The current folder first (a picture load may have moved it), then the program's own and installed copies.
    const QDir program(QCoreApplication::applicationDirPath());
    const QString manual =
        findManual({QDir::currentPath(), program.path(), program.filePath(QStringLiteral(ZORVANE_DOC_DIR))});
    if (manual.isEmpty() || !m_desktop.openDocument(manual))
        m_form3->printLine(QString::fromUtf16(kManualFileName) + QStringLiteral(" dosyası bulunamadı."));
}

void Form1::Command10_Click()
{
    if (!m_contactWindow) {
        m_contactWindow = new ContactWindow(QIcon(QPixmap::fromImage(m_form6.auxiliaryIcon())),
                                            QIcon(QPixmap::fromImage(m_form6.closeIcon())), this);
        connect(m_contactWindow, &ContactWindow::closeRequested, this, [this] { backToMainWindow(m_contactWindow); });
    }
    showAndRaise(m_contactWindow);
}
