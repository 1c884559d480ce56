#include "ui/help/manual_location.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ManualLocation, FirstFolderHoldingTheManualWins)
{
    QTemporaryDir current, beside, installed;
    const auto put = [](const QTemporaryDir &dir) {
        QFile file(QDir(dir.path()).filePath(QString::fromUtf16(kManualFileName)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    };
    const QStringList folders = {current.path(), beside.path(), installed.path()};
    EXPECT_TRUE(findManual(folders).isEmpty());
    QDir(current.path()).mkdir(QString::fromUtf16(kManualFileName)); // a folder of that name is no manual
    put(installed);
    EXPECT_EQ(findManual(folders), QDir(installed.path()).filePath(QString::fromUtf16(kManualFileName)));
    put(beside);
    EXPECT_EQ(findManual(folders), QDir(beside.path()).filePath(QString::fromUtf16(kManualFileName)));
}
