#include "workspace/pdf_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

bool isPdfFile(const QString &path)
{
    if (path.endsWith(u".pdf"_s, Qt::CaseInsensitive))
        return true;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

QString renderedPageFileName(const QString &folder, const QString &pdfFileName, int pageNumber, bool region)
{
    const qsizetype dot = pdfFileName.lastIndexOf(u'.');
    const QString stem = (dot > 0 ? pdfFileName.left(dot) : pdfFileName) + u"-s"_s + QString::number(pageNumber);
    const QDir dir(folder);
    const auto taken = [&](const QString &name) {
        const QFileInfo info(dir.filePath(name));
        return info.exists() || info.isSymLink(); // a dangling link is not written through either
    };
    if (!region && !taken(stem + u".png"_s))
        return stem + u".png"_s;
    const QString part = region ? u"-b"_s : u"-"_s;
    for (int n = region ? 1 : 2;; ++n) {
        const QString name = stem + part + QString::number(n) + u".png"_s;
        if (!taken(name))
            return name;
    }
}
