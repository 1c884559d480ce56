// Turns the Markdown manual into the PDF the program opens, with Qt's own text layout.
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <cstdio>

// Pictures keep their shape and take the page's width (A4 less its margins is about 480 points).
void fitPicturesToThePage(QTextDocument &document, qreal width)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextImageFormat picture = fragment.charFormat().toImageFormat();
            if (!picture.isValid())
                continue;
            const QImage image = document.resource(QTextDocument::ImageResource, QUrl(picture.name())).value<QImage>();
            if (image.isNull() || image.width() <= width)
                continue;
            picture.setWidth(width);
            picture.setHeight(width * image.height() / image.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(picture);
        }
    }
}

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
    // Pictures are named relative to the manual.
    document.setMetaInformation(QTextDocument::DocumentUrl,
                                QUrl::fromLocalFile(QFileInfo(source).absoluteFilePath()).toString());
    document.setMarkdown(QString::fromUtf8(source.readAll()));
    fitPicturesToThePage(document, 470);
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
