#pragma once

#include <QColor>
#include <QFont>

class QWidget;

// The look the windows were designed with, mapped onto what this desktop has.
namespace ControlStyle {

// "MS Sans Serif" where installed, otherwise the desktop's sans-serif face.
[[nodiscard]] QFont font(double pointSize = 8.25, bool bold = false);
[[nodiscard]] QFont arialFont(double pointSize, bool bold);

[[nodiscard]] QColor highlight();
[[nodiscard]] QColor tooltipBackground();
[[nodiscard]] QColor activeTitleBar();

void setTextColour(QWidget *widget, const QColor &colour);
void setBackColour(QWidget *widget, const QColor &colour);  // window-like background
void setFaceColour(QWidget *button, const QColor &colour);  // a button's face
void setBaseColour(QWidget *textBox, const QColor &colour); // a text box's background

} // namespace ControlStyle
