#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Stops the run with the broken promise on stderr; libFuzzer keeps the input that got here.
[[noreturn]] void violation(const char *promise);

inline void require(bool condition, const char *promise)
{
    if (!condition)
        violation(promise);
}

// A private folder for the files a target writes, in memory where the system has /dev/shm. It goes when the
// run ends normally; a crash leaves it for a look.
[[nodiscard]] const QString &scratchFolder();

// Replaces the file's content. A failure is the machine's, not the code's under test, and ends the run.
void writeFileBytes(const QString &path, QByteArrayView bytes);
[[nodiscard]] QByteArray fileBytes(const QString &path);

// Every name in the folder, hidden ones included.
[[nodiscard]] QStringList folderEntries(const QString &folder);
