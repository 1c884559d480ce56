#include "ui/form1.h"
#include "ui/qt_desktop.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zorvane"));
    QApplication::setApplicationVersion(QStringLiteral(ZORVANE_VERSION));
    QtDesktop desktop;
    Form1 form(desktop);
    // Without a window manager a maximize request is ignored; the window then still fills the desktop.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        form.setGeometry(screen->availableGeometry());
    form.showMaximized();
    return QApplication::exec();
}
