#include "ui/form5.h"

#include "ui/control_factory.h"
#include "ui/values_list.h"

#include <QIcon>
#include <QLabel>

using namespace Qt::StringLiterals;

Form5::Form5(const QIcon &icon, QWidget *parent)
    : QWidget(parent, Qt::Tool) // owned by the main window: kept above it, never lost behind it
{
    setObjectName(u"Form5"_s);
    setWindowTitle(u"Değerler"_s);
    setWindowIcon(icon);
    setFont(ControlStyle::font());
    // Each recorded press shows this window; the presses must keep going to the main window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTwips(this, {11115, 3480, 3255, 2535});

    Label3 = makeControl<QLabel>(this, u"Label3"_s, {240, 360, 615, 255}, u"Nokta"_s);
    Label1 = makeControl<QLabel>(this, u"Label1"_s, {960, 360, 855, 255}, u"x değeri:"_s);
    Label2 = makeControl<QLabel>(this, u"Label2"_s, {1920, 360, 855, 255}, u"y değeri:"_s);
    List1 = makeControl<ValuesList>(this, u"List1"_s, {240, 600, 2775, 1620});
}
