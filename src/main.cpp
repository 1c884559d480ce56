#include "ui/command_line.h"
#include "ui/form1.h"
#include "ui/qt_desktop.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    // Help and version are answered before the display is touched, so that they work without one.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine line = parseCommandLine(arguments);
    if (!line.startsWindow()) {
        std::fputs(line.output.toLocal8Bit().constData(), line.exitCode == 0 ? stdout : stderr);
        return line.exitCode;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zorvane"));
    QApplication::setApplicationVersion(QStringLiteral(ZORVANE_VERSION));
    QtDesktop desktop;
    Form1 form(desktop);
    // Without a window manager a maximize request is ignored; the window then still fills the desktop.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        form.setGeometry(screen->availableGeometry());
    form.showMaximized();
    if (!line.picture.isEmpty()) // once the window is up, through the dialog's own path
        QTimer::singleShot(0, &form, [&form, &line] { form.loadChart(line.picture); });
    return QApplication::exec();
}
