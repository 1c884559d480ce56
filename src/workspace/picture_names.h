#pragma once

#include <QString>

class QDateTime;

// The part of a path after its last "/" or "\".
[[nodiscard]] QString pictureFileName(const QString &path);

// The common front of a picture's curve file names: the file name less its last four characters (a
// three-letter extension and its dot: "egri.jpg" -> "egri", "egri.jpeg" -> "egri."). A name too short for
// that gives the name less its extension, or the name itself when it has none.
[[nodiscard]] QString curveFileStem(const QString &pictureFileName);

// The name a picture pasted from the clipboard is saved under: "pano-20240131-142502.png" for one pasted at
// 14:25:02 on 31 January 2024; a second paste within that second gets "-2" before the extension, and so on.
[[nodiscard]] QString pastedPictureName(const QDateTime &at, int copy = 1);
