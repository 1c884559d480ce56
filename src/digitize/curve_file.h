#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// A curve file holds one line per recorded point: the x text, two blanks, the y text, CR LF.

// curveFileStem + "_" + curve number + ".txt"; no folder, so it lands in the current folder.
[[nodiscard]] QString curveFileName(const QString &stem, std::int16_t curveNumber);

// One point line, exactly as appended.
[[nodiscard]] QByteArray pointLine(const QString &xText, const QString &yText);

// Opens for appending (creating, never truncating), writes one point line, closes: the point is on disk when
// this returns. False when nothing could be written; then the file is as it was.
[[nodiscard]] bool appendPointRecord(const QString &fileName, const QString &xText, const QString &yText);

// A line as the rewrite keeps it: the first value, blanks up to the next 14-character print zone (at least
// one), the second value, CR LF.
[[nodiscard]] QByteArray keptLine(QByteArrayView first, QByteArrayView second);

enum class RewriteResult {
    Rewritten,  // every pair but the last kept (an empty file stays empty)
    Missing,    // no such file, or a folder at its name
    Unreadable, // not a sequence of value pairs; left byte for byte as it was
    WriteFailed // could not be replaced; the old file is intact
};

// Replaces the file, in one step, by all its value pairs but the last `count` (all of them when it holds fewer),
// each as a kept line. Values are read as blank- or comma-separated numbers ("." decimal mark, "NaN" for an
// axis that could not convert) and written back as the text they had.
[[nodiscard]] RewriteResult rewriteWithoutLast(const QString &fileName, qsizetype count = 1);
