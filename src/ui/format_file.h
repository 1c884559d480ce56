#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Each axis' number-format choice is kept in a one-line file (xformats.txt, yformats.txt).

// The first item of the file (up to the first comma or line end, blanks around it ignored) as a whole
// number, rounded to the nearest with ties to even. 0 when the file is missing, unreadable or empty, or the
// item is not a number as a whole or lies outside the 16-bit range.
[[nodiscard]] std::int16_t readFormatChoice(const QString &path);

// The content the file is saved with: " 2 \r\n", "-5 \r\n".
[[nodiscard]] QByteArray formatFileBytes(std::int16_t choice);

// Replaces the file in one step; false, with the old file left as it was, when it cannot be written.
[[nodiscard]] bool writeFormatFile(const QString &path, std::int16_t choice);
