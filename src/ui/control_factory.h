#pragma once

#include "ui/control_style.h"
#include "ui/twips_widgets.h"

#include <QString>
#include <QWidget>

#include <utility>

// Creates a control with its historical object name, the default control font and its place in twips.
// Constructor arguments come first and the parent last, as Qt's controls take them.
template <class Control, class... Args>
Control *makeControl(QWidget *parent, const QString &objectName, const TwipsRect &rect, Args &&...args)
{
    auto *control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(objectName);
    control->setFont(ControlStyle::font());
    setTwipsRect(control, rect);
    return control;
}

// Gives a window its designed client size in twips and its place on the screen.
inline void setWindowTwips(QWidget *window, const TwipsRect &rect)
{
    const auto px = [](float twips) { return qRound(twips / kTwipsPerPixel); };
    window->move(px(rect.left), px(rect.top));
    window->resize(px(rect.width), px(rect.height));
}
