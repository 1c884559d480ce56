#include "workspace/picture_names.h"

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
