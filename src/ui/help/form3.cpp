#include "ui/help/form3.h"

#include "ui/control_factory.h"

#include <QIcon>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>

using namespace Qt::StringLiterals;

Form3::Form3(QWidget *parent)
    : QWidget(parent, Qt::Dialog) // owned by the main window, not modal
{
    setObjectName(u"Form3"_s);
    setWindowTitle(u"Tanıtım ve Kılavuz (ZORVANE - Tessarix)"_s);
    setWindowIcon(QIcon()); // a window of its own without an icon, not the main window's
    setFont(ControlStyle::font());
    setWindowTwips(this, {2000, 2000, 9540, 2460});

    // Below the first printed lines, which the window's surface shows above it.
    Label1 =
        makeControl<QLabel>(this, u"Label1"_s, {240, 600, 9060, 855},
                            u"Yazılıma ait tanıtım ve kullanma kılavuzuna erişmek için alttaki düğmeye tıklayınız.  "
                            u"PDF dosyası açmak için bir yazılımın daha önce yüklenmiş olması gereklidir. Zorvane "
                            u"klasörü içinde bulunan zorvane-Tessarix.pdf  dosyasını bu yazılımdan bağımsız olarak "
                            u"da açabilirsiniz. "_s);
    Label1->setWordWrap(true);
    Command1 = makeControl<QPushButton>(this, u"Command1"_s, {600, 1620, 5175, 615}, u"Tanıtım ve Kullanma Kılavuzu"_s);
    Command1->setFont(ControlStyle::font(12, true));
    ControlStyle::setFaceColour(Command1, QColor(0, 255, 0));
    Command2 = makeControl<QPushButton>(this, u"Command2"_s, {6240, 1620, 2655, 615}, u"Geri Dön"_s);
    Command2->setFont(ControlStyle::font(12, true));
    ControlStyle::setFaceColour(Command2, QColor(255, 255, 0));
    connect(Command1, &QPushButton::clicked, this, &Form3::manualRequested);
    connect(Command2, &QPushButton::clicked, this, &Form3::backRequested);
}

void Form3::printLine(const QString &line)
{
    m_printed.print(line);
    update();
}

void Form3::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    m_printed.paint(painter, font(), event->rect());
}
