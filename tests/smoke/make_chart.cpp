// Writes one of the test charts to a file, for the real-window smoke tests: a picture, or a PDF of three chart
// pages when the name ends in ".pdf".
#include "support/test_charts.h"
#include "support/test_pdfs.h"

#include <QFileInfo>
#include <QGuiApplication>

using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QFileInfo target(QString::fromLocal8Bit(argv[1]));
    if (target.suffix() == u"pdf"_s)
        return writeChartPdf(target.absoluteFilePath(), 3).isEmpty() ? 1 : 0;
    return saveChart(linearChart().image, target.absolutePath(), target.fileName()).isEmpty() ? 1 : 0;
}
