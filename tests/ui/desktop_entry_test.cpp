// The desktop entry offers the program for the pictures this Qt reads and hands it the chosen file.
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(DesktopEntry, OpensTheChosenFileAndListsOnlyPicturesQtReads)
{
    QFile entry(u"" ZORVANE_ASSETS_DIR "/zorvane.desktop"_s);
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(entry.readAll());
    EXPECT_TRUE(text.contains(QRegularExpression(u"^Exec=zorvane %f$"_s, QRegularExpression::MultilineOption)));

    const QRegularExpressionMatch line =
        QRegularExpression(u"^MimeType=(.*)$"_s, QRegularExpression::MultilineOption).match(text);
    ASSERT_TRUE(line.hasMatch());
    const QStringList listed = line.captured(1).split(u';', Qt::SkipEmptyParts);
    QStringList readable;
    for (const QByteArray &type : QImageReader::supportedMimeTypes())
        readable.append(QString::fromLatin1(type));
    for (const QString &type : listed)
        EXPECT_TRUE(readable.contains(type)) << type.toStdString() << " is listed but Qt does not read it";
    for (const QString &type : {u"image/jpeg"_s, u"image/bmp"_s, u"image/png"_s})
        EXPECT_TRUE(listed.contains(type)) << type.toStdString();
}
