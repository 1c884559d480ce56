#include "workspace/picture_names.h"

#include <QDateTime>

#include <algorithm>

using namespace Qt::StringLiterals;

QString pictureFileName(const QString &path)
{
    // Both separators count, whatever the system: paths typed or stored on Windows use "\".
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

QString curveFileStem(const QString &pictureFileName)
{
    if (pictureFileName.size() > 4)
        return pictureFileName.chopped(4);
    // Nothing would be left: fall back to dropping the extension, if there is one and a name before it.
    const qsizetype dot = pictureFileName.lastIndexOf(u'.');
    if (dot > 0)
        return pictureFileName.left(dot);
    return pictureFileName;
}

QString pastedPictureName(const QDateTime &at, int copy)
{
    const QString stem = u"pano-"_s + at.toString(u"yyyyMMdd-HHmmss"_s);
    return copy > 1 ? stem + u'-' + QString::number(copy) + u".png"_s : stem + u".png"_s;
}
