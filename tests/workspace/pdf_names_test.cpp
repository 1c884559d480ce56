#include "workspace/pdf_names.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(PdfNames, RenderedPageTakesTheFirstFreeName)
{
    struct Row {
        QString pdf;
        int page;
        bool region;
        QStringList taken; // files, or folders when they end in "/"
        QString name;
    };
    const Row rows[] = {
        {u"makale.pdf"_s, 3, false, {}, u"makale-s3.png"_s},
        {u"makale.pdf"_s, 3, false, {u"makale-s3.png"_s}, u"makale-s3-2.png"_s},
        {u"makale.pdf"_s, 3, false, {u"makale-s3.png"_s, u"makale-s3-2.png"_s}, u"makale-s3-3.png"_s},
        {u"makale.pdf"_s, 3, false, {u"makale-s3.png/"_s}, u"makale-s3-2.png"_s},
        {u"makale.pdf"_s, 3, false, {u"makale-s3-2.png"_s, u"makale-s4.png"_s}, u"makale-s3.png"_s},
        {u"makale.pdf"_s, 3, true, {u"makale-s3.png"_s}, u"makale-s3-b1.png"_s},
        {u"makale.pdf"_s, 3, true, {u"makale-s3-b1.png"_s, u"makale-s3-b2.png/"_s}, u"makale-s3-b3.png"_s},
        {u"Ölçüm Raporu.PDF"_s, 12, false, {}, u"Ölçüm Raporu-s12.png"_s},
        {u"rapor.v2.pdf"_s, 1, false, {}, u"rapor.v2-s1.png"_s},
        {u"tarama"_s, 1, false, {}, u"tarama-s1.png"_s},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.pdf.toStdString() + " " + r.taken.join(u' ').toStdString());
        QTemporaryDir folder;
        for (const QString &name : r.taken) {
            if (name.endsWith(u'/'))
                ASSERT_TRUE(QDir(folder.path()).mkdir(name.chopped(1)));
            else
                writeFile(folder.filePath(name), "x");
        }
        EXPECT_EQ(renderedPageFileName(folder.path(), r.pdf, r.page, r.region), r.name);
    }
}

TEST(PdfNames, PdfIsKnownByItsExtensionOrItsFirstBytes)
{
    QTemporaryDir folder;
    struct Row {
        QString name;
        QByteArray bytes; // not written when empty
        bool pdf;
    };
    const Row rows[] = {
        {u"makale.pdf"_s, {}, true},
        {u"MAKALE.PdF"_s, "\xff\xd8\xff", true}, // the extension decides, the program then reports what it finds
        {u"tarama.jpg"_s, "%PDF-1.7\n", true},
        {u"grafik.jpg"_s, "\xff\xd8\xff\xe0", false},
        {u"not.txt"_s, "%PD", false},
        {u"grafik.pdf.jpg"_s, "\x89PNG", false},
        {u"yok.png"_s, {}, false},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name.toStdString());
        if (!r.bytes.isEmpty())
            writeFile(folder.filePath(r.name), r.bytes);
        EXPECT_EQ(isPdfFile(folder.filePath(r.name)), r.pdf);
    }
}
