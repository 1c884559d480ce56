#pragma once

#include "marking/symbol_geometry.h"

#include <QColor>
#include <QRect>

class QImage;

// Paints a symbol into a run-time drawing layer (pixels = twips / 15) with plain, unsmoothed pixels.
// Returns the layer area it touched, for a repaint of just that.
QRect paintSymbol(QImage &layer, const SymbolShapes &symbol, const QColor &colour, int drawingWidthPx);
