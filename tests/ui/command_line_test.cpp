#include "ui/command_line.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(CommandLine, PictureHelpVersionAndMistakes)
{
    const QString here = QDir::currentPath();
    struct Row {
        QStringList arguments;
        QString picture;
        QString outputStart; // empty: the window starts
        int exitCode;
    };
    const Row rows[] = {
        {{}, {}, {}, 0},
        {{u"egri.jpg"_s}, here + u"/egri.jpg"_s, {}, 0},
        {{u"alt/eğri ölçüm.jpg"_s}, here + u"/alt/eğri ölçüm.jpg"_s, {}, 0},
        {{u"/tmp/a b/grafik.bmp"_s}, u"/tmp/a b/grafik.bmp"_s, {}, 0},
        {{u"--"_s, u"-eksi.jpg"_s}, here + u"/-eksi.jpg"_s, {}, 0},
        {{u"--help"_s}, {}, u"Kullanım: zorvane [seçenekler] [resim]\n"_s, 0},
        {{u"-h"_s, u"egri.jpg"_s}, {}, u"Kullanım: zorvane"_s, 0},
        {{u"--version"_s}, {}, u"zorvane " ZORVANE_VERSION "\n"_s, 0},
        {{u"-v"_s}, {}, u"zorvane " ZORVANE_VERSION "\n"_s, 0},
        {{u"--renk"_s}, {}, u"zorvane: bilinmeyen seçenek \"renk\"."_s, 2},
        {{u"a.jpg"_s, u"b.jpg"_s}, {}, u"zorvane: yalnız bir resim açılabilir."_s, 2},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const CommandLine line = parseCommandLine(QStringList{u"/usr/bin/zorvane"_s} + row.arguments);
        EXPECT_EQ(line.picture, row.picture);
        EXPECT_EQ(line.startsWindow(), row.outputStart.isEmpty());
        EXPECT_TRUE(line.output.startsWith(row.outputStart)) << line.output.toStdString();
        EXPECT_EQ(line.exitCode, row.exitCode);
    }
}
