// Removing the last point must never cost the curve: a rewrite killed at any moment leaves the old file or the
// new one, and nothing beside it.
#include "digitize/curve_file.h"
#include "digitize/replacement_file.h"
#include "support/test_charts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <random>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

const QString kChild = QString::fromUtf8(ZORVANE_REWRITE_CHILD);
constexpr int kLines = 100000;
constexpr int kKills = 120;

QByteArray longCurve()
{
    QByteArray data;
    for (int i = 0; i < kLines; ++i)
        data += pointLine(QString::number(i * 0.25, 'f', 4), QString::number(i / -3.0, 'f', 4));
    return data;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Everything in the folder, hidden files included, sorted.
QStringList entries(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

std::string listed(const QStringList &names)
{
    return names.join(u" | "_s).toStdString();
}

// Starts the child on `path` and returns once it is about to rewrite.
bool startRewrite(QProcess &child, const QString &path)
{
    child.start(kChild, {path});
    return child.waitForStarted() && child.waitForReadyRead(30000);
}

} // namespace

TEST(RewriteCrash, KilledRewriteLeavesTheOldOrTheNewFileNeverAPartialOne)
{
    const QByteArray oldBytes = longCurve();
    QTemporaryDir scratch;
    QTemporaryDir folder;
    ASSERT_TRUE(scratch.isValid() && folder.isValid());
    const QString name = u"eğri çizgi_1.txt"_s;

    // Undisturbed runs give the new bytes and how long a rewrite lasts; the first, with cold caches, only warms.
    const QString copy = QDir(scratch.path()).filePath(name);
    QProcess child;
    qint64 runMicroseconds = 1;
    for (int warm = 0; warm < 2; ++warm) {
        ASSERT_TRUE(writeBytes(copy, oldBytes));
        ASSERT_TRUE(startRewrite(child, copy));
        QElapsedTimer timer;
        timer.start();
        ASSERT_TRUE(child.waitForFinished(30000));
        runMicroseconds = std::max<qint64>(timer.nsecsElapsed() / 1000, 1);
        ASSERT_EQ(child.exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(child.exitCode(), 0);
    }
    const QByteArray newBytes = fileBytes(copy);
    ASSERT_EQ(newBytes.count("\r\n"), kLines - 1);
    ASSERT_NE(newBytes, oldBytes);

    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    std::uniform_int_distribution<qint64> delay(0, runMicroseconds);
    const QString path = QDir(folder.path()).filePath(name);
    int kills = 0, endedOld = 0, endedNew = 0, finishedFirst = 0, leftCopies = 0;
    for (int run = 0; kills < kKills && run < 10 * kKills; ++run) {
        SCOPED_TRACE(run);
        ASSERT_TRUE(writeBytes(path, oldBytes));
        ASSERT_TRUE(startRewrite(child, path));
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        child.kill();
        ASSERT_TRUE(child.waitForFinished(30000));
        const QByteArray after = fileBytes(path);
        ASSERT_TRUE(after == oldBytes || after == newBytes) << "partial file of " << after.size() << " bytes";
        if (child.exitStatus() == QProcess::NormalExit) {
            ++finishedFirst;
            continue;
        }
        ++kills;
        endedOld += after == oldBytes;
        endedNew += after == newBytes;
        // A kill between the copy's creation and its rename leaves the copy; the next rewrite removes it.
        QStringList beside = entries(folder.path());
        ASSERT_TRUE(beside.removeOne(name));
        leftCopies += int(beside.size());
        for (const QString &entry : beside)
            EXPECT_TRUE(isReplacementCopyOf(entry, name)) << entry.toStdString();
    }
    std::cout << "[ report   ] rewrite " << runMicroseconds << " us, seed " << seed << ": " << kills
              << " kills (old file " << endedOld << ", new file " << endedNew << ", copies left " << leftCopies << "), "
              << finishedFirst << " runs finished before their kill" << std::endl;
    EXPECT_GE(kills, kKills);

    ASSERT_TRUE(writeBytes(path, oldBytes));
    ASSERT_EQ(rewriteWithoutLast(path), RewriteResult::Rewritten);
    EXPECT_EQ(fileBytes(path), newBytes);
    EXPECT_EQ(listed(entries(folder.path())), name.toStdString());
}

TEST(RewriteCrash, RewriteRemovesCopiesAKilledOneLeftAndNothingElse)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString name = u"eğri [1]*_1.txt"_s; // wildcard characters are only characters
    const QString own = u'.' + name + u".zorvane-"_s;
    const QStringList stale = {own + u"AbCdEf"_s, own + u"a1B2c3"_s};
    // A person's files beside the curve file, however much they look like copies, are not the program's.
    const QStringList kept = {name,
                              name + u".backup"_s,
                              name + u".eskisi"_s,
                              name + u".qwerty"_s,
                              name + u".Kopya1"_s,
                              name + u".AbCdEf"_s,
                              own + u"AbCdE"_s,
                              own + u"AbCdEfG"_s,
                              own + u"AbC-Ef"_s,
                              u".eğri [1]*_2.txt.zorvane-AbCdEf"_s,
                              u"x"_s + own + u"AbCdEf"_s};
    const QDir dir(folder.path());
    for (const QString &file : stale + kept)
        ASSERT_TRUE(writeBytes(dir.filePath(file), "1  2\r\n3  4\r\n"));
    ASSERT_TRUE(dir.mkdir(own + u"ZyXwVu"_s)); // a folder is nobody's copy

    ASSERT_EQ(rewriteWithoutLast(dir.filePath(name)), RewriteResult::Rewritten);
    EXPECT_EQ(fileBytes(dir.filePath(name)), "1             2\r\n");
    QStringList expected = kept;
    expected.append(own + u"ZyXwVu"_s);
    expected.sort();
    EXPECT_EQ(listed(entries(folder.path())), listed(expected));
}
