#include "digitize/replacement_file.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString kMark = u".zorvane-"_s;
constexpr qsizetype kRandomLength = 6;

bool isAsciiLetterOrDigit(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

void removeStaleCopies(const QFileInfo &target)
{
    QDir folder = target.absoluteDir();
    const QStringList files = folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    for (const QString &name : files) {
        if (isReplacementCopyOf(name, target.fileName())) {
            folder.remove(name);
        }
    }
}

} // namespace

bool isReplacementCopyOf(const QString &entry, const QString &targetFileName)
{
    const QString prefix = u'.' + targetFileName + kMark;
    return entry.size() == prefix.size() + kRandomLength && entry.startsWith(prefix) &&
           std::all_of(entry.begin() + prefix.size(), entry.end(), isAsciiLetterOrDigit);
}

ReplacementFile::ReplacementFile(const QString &target)
{
    // A link is followed, so that the file it points at gets the new content and the link stays.
    const QFileInfo given(target);
    m_target = given.exists() ? given.canonicalFilePath() : given.absoluteFilePath();
    const QFileInfo info(m_target);
    m_copy.setFileTemplate(info.absoluteDir().filePath(u'.' + info.fileName() + kMark + u"XXXXXX"_s));
}

bool ReplacementFile::open()
{
    removeStaleCopies(QFileInfo(m_target));
    return m_copy.open();
}

bool ReplacementFile::write(const char *data, qint64 size)
{
    return m_copy.write(data, size) == size;
}

bool ReplacementFile::commit()
{
    if (!m_copy.isOpen() || !m_copy.flush() || ::fsync(m_copy.handle()) != 0) {
        return false;
    }
    if (QFileInfo::exists(m_target)) {
        (void)m_copy.setPermissions(QFile::permissions(m_target));
    }
    const QString copy = m_copy.fileName();
    m_copy.close();
    // rename() replaces the old file in one step; QFile::rename() would refuse an existing target.
    if (std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(m_target).constData()) != 0) {
        return false; // the copy still goes with m_copy
    }
    m_copy.setAutoRemove(false);
    return true;
}
