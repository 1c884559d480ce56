// Writes one of the test charts to a file, for the real-window smoke test.
#include "support/test_charts.h"

#include <QFileInfo>
#include <QGuiApplication>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QFileInfo target(QString::fromLocal8Bit(argv[1]));
    return saveChart(linearChart().image, target.absolutePath(), target.fileName()).isEmpty() ? 1 : 0;
}
