#include "ui/form2.h"

#include "ui/control_factory.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

Form2::Form2(const QIcon &icon, QWidget *parent)
    : QWidget(parent, Qt::Dialog) // owned by the main window, not modal
{
    setObjectName(u"Form2"_s);
    setWindowTitle(u"Farklı Eksen Tanımla"_s);
    setWindowIcon(icon);
    setFont(ControlStyle::font());
    setWindowTwips(this, {3750, 2265, 6270, 2895});

    Label1 = makeControl<QLabel>(this, u"Label1"_s, {480, 360, 5295, 855});
    Label1->setFont(ControlStyle::font(12, true));
    Label2 = makeControl<QLabel>(this, u"Label2"_s, {480, 1440, 5415, 375});
    Label2->setFont(ControlStyle::font(12, true));
    ControlStyle::setTextColour(Label2, QColor(255, 0, 0));
    Command2 = makeControl<QPushButton>(this, u"Command2"_s, {2520, 2160, 1455, 495}, u"Geri dön"_s);
    Command2->setFont(ControlStyle::font(9.75, true));
    connect(Command2, &QPushButton::clicked, this, &Form2::backRequested);

    Form_Load();
}

void Form2::Form_Load()
{
    const QString caption =
        u"Farklı bir eksen tanımlamak için "_s + QChar(13) + u"başlangıç ve bitiş değerlerini atamalısınız. "_s;
    // The carriage return ends the first line; Qt's labels break lines at a line feed only.
    Label1->setProperty("caption", caption);
    Label1->setText(QString(caption).replace(QChar(13), QChar(10)));
    Label2->setText(u"Değiştirilmeyen değerler aynen atanır."_s);
}
