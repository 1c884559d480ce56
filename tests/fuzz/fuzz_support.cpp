#include "fuzz_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

void violation(const char *promise)
{
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

const QString &scratchFolder()
{
    static const QTemporaryDir folder(QFileInfo(u"/dev/shm"_s).isWritable()
                                          ? u"/dev/shm/zorvane-fuzz-XXXXXX"_s
                                          : QDir::tempPath() + u"/zorvane-fuzz-XXXXXX"_s);
    static const QString path = folder.path();
    if (!folder.isValid()) {
        std::fprintf(stderr, "no scratch folder: %s\n", qPrintable(folder.errorString()));
        std::exit(2);
    }
    return path;
}

void writeFileBytes(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), bytes.size()) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        std::exit(2);
    }
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        violation("the file is still there to be read");
    return file.readAll();
}

QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}
