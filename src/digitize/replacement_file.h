#pragma once

#include <QString>
#include <QTemporaryFile>

// The new content of a file, written beside it under a hidden name of the program's own
// (".<name>.zorvane-" and six letters or digits) and put in the file's place by one rename at commit(), so
// the file is always either the old one or the new one. The copy goes when the object does, unless committed.
class ReplacementFile {
public:
    explicit ReplacementFile(const QString &target);

    // Creates the copy. A rewrite that was killed may have left copies of this exact form: they are removed
    // first, and nothing else is.
    [[nodiscard]] bool open();
    [[nodiscard]] bool isOpen() const { return m_copy.isOpen(); }
    [[nodiscard]] bool write(const char *data, qint64 size);
    // Flushes and syncs the copy, gives it the file's permissions and renames it over the file.
    [[nodiscard]] bool commit();

private:
    QString m_target;
    QTemporaryFile m_copy;
};

// Whether `entry` (a name in the folder of `target`) is a copy of the form ReplacementFile makes for it.
[[nodiscard]] bool isReplacementCopyOf(const QString &entry, const QString &targetFileName);
