#include "ui/help/contact_window.h"

#include "ui/control_factory.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

ContactWindow::ContactWindow(const QIcon &icon, const QIcon &closeIcon, QWidget *parent)
    : QWidget(parent, Qt::Dialog) // owned by the main window, not modal
{
    setObjectName(u"ContactWindow"_s);
    setWindowTitle(u"ZORVANE (Tessarix) Hakkında"_s);
    setWindowIcon(icon);
    setFont(ControlStyle::font());
    ControlStyle::setBackColour(this, QColor(192, 255, 255));
    setWindowTwips(this, {2400, 1800, 9105, 5025});

    Label1 = makeControl<QLabel>(this, u"Label1"_s, {360, 240, 8385, 495}, u"ZORVANE (Tessarix)"_s);
    Label1->setFont(ControlStyle::font(14, true));
    Label1->setAlignment(Qt::AlignCenter);
    Label2 = makeControl<QLabel>(
        this, u"Label2"_s, {360, 900, 8385, 2895},
        u"Grafik sayısallaştırıcı, sürüm %1\n\n"
        u"Basılı ya da taranmış grafiklerin resimlerinden eğri değerlerini okur ve "
        u"her eğriyi ayrı bir metin dosyasına yazar.\n\n"
        u"Lisans: MIT (programla birlikte gelen LICENSE dosyasına bakınız)."_s.arg(QStringLiteral(ZORVANE_VERSION)));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setFont(ControlStyle::font(9.75));
    Command1 = makeControl<QPushButton>(this, u"Command1"_s, {3000, 4080, 3105, 615}, u"Bu Pencereyi &Kapat"_s);
    Command1->setIcon(closeIcon);
    ControlStyle::setFaceColour(Command1, QColor(0, 192, 192));
    connect(Command1, &QPushButton::clicked, this, &ContactWindow::closeRequested);
}
