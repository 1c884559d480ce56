#include "ui/control_style.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPalette>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace ControlStyle {

// Faces with the designed font's narrow metrics come first, so captions fit their controls.
static QFont sansSerif(const QString &designed)
{
    QFont f(designed);
    f.setFamilies({designed, u"Liberation Sans"_s, u"Arial"_s, u"Helvetica"_s, u"DejaVu Sans"_s});
    f.setStyleHint(QFont::SansSerif);
    return f;
}

// Asked of the font list once: matching a font to find out would load a face of its own at start-up.
static bool designedFaceInstalled()
{
    static const bool installed = QFontDatabase::families().contains(u"MS Sans Serif"_s, Qt::CaseInsensitive);
    return installed;
}

QFont font(double pointSize, bool bold)
{
    QFont f = sansSerif(u"MS Sans Serif"_s);
    // The designed face is narrower than the substitutes: squeeze them a little so captions keep fitting.
    if (!designedFaceInstalled())
        f.setStretch(94);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

QFont arialFont(double pointSize, bool bold)
{
    QFont f = sansSerif(u"Arial"_s);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

QColor highlight()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Highlight);
}

QColor tooltipBackground()
{
    return QApplication::palette().color(QPalette::Active, QPalette::ToolTipBase);
}

QColor activeTitleBar()
{
    return QColor(0, 0, 128); // the classic desktop's active caption; Qt has no role for it
}

static void setRoles(QWidget *widget, std::initializer_list<QPalette::ColorRole> roles, const QColor &colour)
{
    QPalette p = widget->palette();
    for (QPalette::ColorRole role : roles)
        p.setColor(role, colour);
    widget->setPalette(p);
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    setRoles(widget, {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}, colour);
}

void setBackColour(QWidget *widget, const QColor &colour)
{
    // Buttons fill their background from the Button role, everything else from Window.
    setRoles(widget, {QPalette::Window, widget->backgroundRole()}, colour);
    widget->setAutoFillBackground(true);
}

void setFaceColour(QWidget *button, const QColor &colour)
{
    setRoles(button, {QPalette::Button}, colour);
}

void setBaseColour(QWidget *textBox, const QColor &colour)
{
    setRoles(textBox, {QPalette::Base}, colour);
}

} // namespace ControlStyle
