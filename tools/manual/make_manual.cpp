// Turns the Markdown manual into the PDF the program opens, with Qt's own text layout.
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen"); // runs in the build, without a screen
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: make_manual source.md target.pdf\n", stderr);
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly))
        return 1;

    QTextDocument document;
    document.setMarkdown(QString::fromUtf8(source.readAll()));
    QPdfWriter pdf(QString::fromLocal8Bit(argv[2]));
    pdf.setTitle(QStringLiteral("ZORVANE (Tessarix) — Tanıtım ve Kullanma Kılavuzu"));
    pdf.setCreator(QStringLiteral("ZORVANE"));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10.5);
    document.setDefaultFont(font);
    document.print(&pdf);
    return 0;
}
