#pragma once

#include "ui/twips.h"

class QWidget;

// Controls keep their exact twips place (layout arithmetic yields halves such as 5257.5); the widget itself
// sits at the nearest pixel.
void setTwipsRect(QWidget *widget, const TwipsRect &rect);
void setTwipsPos(QWidget *widget, const TwipsPoint &pos);
// The place last set, or the pixel geometry in twips for a widget placed otherwise.
[[nodiscard]] TwipsRect twipsRect(const QWidget *widget);
// After a widget sized itself (a label sized to its text): keeps the place, takes the new size.
void takePixelSize(QWidget *widget);
