#pragma once

#include <QString>

// The part of a path after its last "/" or "\".
[[nodiscard]] QString pictureFileName(const QString &path);

// The common front of a picture's curve file names: the file name less its last four characters (a
// three-letter extension and its dot: "egri.jpg" -> "egri", "egri.jpeg" -> "egri."). A name too short for
// that gives the name less its extension, or the name itself when it has none.
[[nodiscard]] QString curveFileStem(const QString &pictureFileName);
