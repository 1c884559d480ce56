#pragma once

#include <QSize>
#include <QString>

// A chart-like picture (grid, curves, scanner noise) of the given size, written once per run into the bench
// folder; `format` is "jpg" or "bmp".
QString benchPicture(QSize size, const char *format);
