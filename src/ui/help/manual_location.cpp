#include "ui/help/manual_location.h"

#include <QDir>
#include <QFileInfo>

QString findManual(const QStringList &folders)
{
    for (const QString &folder : folders) {
        const QFileInfo candidate(QDir(folder), QString::fromUtf16(kManualFileName));
        if (candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return {};
}
