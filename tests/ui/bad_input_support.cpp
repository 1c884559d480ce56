#include "ui/bad_input_support.h"

#include "support/fake_desktop.h"
#include "support/test_charts.h"
#include "support/widget_helpers.h"
#include "ui/form1.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

FolderSnapshot snapshotOf(const QString &folder)
{
    FolderSnapshot entries;
    const QDir root(folder);
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        FolderEntry entry;
        entry.isFolder = info.isDir();
        if (!entry.isFolder)
            entry.bytes = fileBytes(info.filePath());
        entries[root.relativeFilePath(info.filePath())] = entry;
    }
    return entries;
}

std::vector<std::string> changedPaths(const FolderSnapshot &before, const FolderSnapshot &after)
{
    std::vector<std::string> changed;
    for (const auto &[path, entry] : before) {
        const auto found = after.find(path);
        if (found == after.end() || !(found->second == entry))
            changed.push_back(path.toStdString());
    }
    for (const auto &[path, entry] : after) {
        if (!before.contains(path))
            changed.push_back(path.toStdString());
    }
    std::sort(changed.begin(), changed.end());
    return changed;
}

void calibrateLinearChart(Form1 &form, FakeDesktop &desktop, const QString &folder, const QString &fileName)
{
    const TestChart chart = linearChart();
    const QString path = saveChart(chart.image, folder, fileName);
    ASSERT_FALSE(path.isEmpty());
    desktop.pictureAnswers.push_back(path);
    click(form, u"Command3"_s);
    typeInto(form, u"Text1"_s, chart.xValue0);
    typeInto(form, u"Text3"_s, chart.xValue1);
    typeInto(form, u"Text2"_s, chart.yValue0);
    typeInto(form, u"Text4"_s, chart.yValue1);
    pressOnChart(form, chart.xTick0);
    click(form, u"Command4"_s);
    click(form, u"Command5"_s);
    pressOnChart(form, chart.xTick1);
    click(form, u"Command6"_s);
    pressOnChart(form, chart.yTick1);
    click(form, u"Command7"_s);
}

QByteArray expectedX(int pixelX)
{
    return QByteArray::number((pixelX - 50) / 5.0, 'f', 4);
}

QByteArray expectedY(int pixelY)
{
    return QByteArray::number((350 - pixelY) / 10.0, 'f', 4);
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

SmallDisk::SmallDisk()
{
    QProcess mount;
    mount.setStandardErrorFile(QProcess::nullDevice()); // "must be superuser" is expected as a user
    mount.start(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=64k"_s, u"tmpfs"_s, m_mountPoint.path()});
    if (mount.waitForFinished(30'000) && mount.exitStatus() == QProcess::NormalExit && mount.exitCode() == 0) {
        m_path = m_mountPoint.path();
        m_mounted = true;
        return;
    }
    m_holder.start(u"unshare"_s,
                   {u"-rm"_s, u"sh"_s, u"-c"_s, u"mount -t tmpfs -o size=64k tmpfs \"$0\" && echo ready && read done"_s,
                    m_mountPoint.path()});
    if (m_holder.waitForReadyRead(30'000) && m_holder.readAll().startsWith("ready"))
        m_path = u"/proc/%1/root%2"_s.arg(m_holder.processId()).arg(m_mountPoint.path());
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        QProcess::execute(u"umount"_s, {m_mountPoint.path()});
    if (m_holder.state() != QProcess::NotRunning) {
        m_holder.closeWriteChannel(); // the helper's read ends, and its namespace with the mount goes
        m_holder.waitForFinished(30'000);
    }
}

qint64 fillUp(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return -1;
    const QByteArray page(4096, 'f');
    while (file.write(page) == page.size()) {
    }
    while (file.write("f", 1) == 1) {
    }
    return file.size();
}
