#include "groups.h"

#include "probes.h"
#include "ratios.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

const QString kRatioRows = u"ratios.txt"_s;
const QString kMemoryRows = u"memory.txt"_s;

bool missed(const std::string &row)
{
    return !row.empty() && row.back() == '!';
}

int printTable(const std::string &header, const std::vector<std::string> &rows)
{
    if (rows.empty())
        return 0;
    std::printf("\n%s\n", header.c_str());
    int misses = 0;
    for (const std::string &row : rows) {
        std::printf("%s\n", row.c_str());
        misses += missed(row) ? 1 : 0;
    }
    return misses;
}

void appendRows(const QString &path, const std::vector<std::string> &rows)
{
    QFile file(path);
    if (!file.open(QIODevice::Append | QIODevice::Text))
        return;
    for (const std::string &row : rows)
        file.write(QByteArray::fromStdString(row + '\n'));
}

std::vector<std::string> readRows(const QString &path)
{
    QFile file(path);
    std::vector<std::string> rows;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return rows;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (!line.isEmpty())
            rows.push_back(line.toStdString());
    }
    return rows;
}

// The groups in the order the suite registers them, from its own list of benchmarks.
QStringList groupNames(const QString &self)
{
    QProcess lister;
    lister.start(self, {u"--benchmark_list_tests=true"_s});
    lister.waitForFinished(-1);
    QStringList groups;
    for (const QByteArray &line : lister.readAllStandardOutput().split('\n')) {
        const QString name = QString::fromUtf8(line.trimmed());
        const QString group = name.section(u'/', 0, 0);
        if (!name.isEmpty() && !name.contains(u' ') && !groups.contains(group))
            groups.append(group);
    }
    return groups;
}

} // namespace

int printTables(const Tables &tables)
{
    return printTable(ratioTableHeader(), tables.ratios) + printTable(peakMemoryTableHeader(), tables.memory);
}

void keepTables(const Tables &tables, const QString &folder)
{
    appendRows(QDir(folder).filePath(kRatioRows), tables.ratios);
    appendRows(QDir(folder).filePath(kMemoryRows), tables.memory);
}

int runEachGroupInItsOwnProcess(const QString &self, const QStringList &passOn, const QString &folder)
{
    const QStringList groups = groupNames(self);
    if (groups.isEmpty()) {
        std::fprintf(stderr, "the suite lists no benchmarks\n");
        return 1;
    }
    for (const QString &group : groups) {
        std::fflush(stdout);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(self, QStringList{u"--benchmark_filter=^%1/"_s.arg(group), u"--tables-to=%1"_s.arg(folder),
                                      u"--pictures=%1"_s.arg(folder)} +
                              passOn);
        child.waitForFinished(-1);
        if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
            std::printf("the benchmarks of %s stopped early (exit code %d)\n", qPrintable(group), child.exitCode());
    }
    const QDir dir(folder);
    return printTables({readRows(dir.filePath(kRatioRows)), readRows(dir.filePath(kMemoryRows))});
}
