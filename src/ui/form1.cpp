#include "ui/form1.h"

#include "ui/chart_picture.h"
#include "ui/control_style.h"
#include "ui/desktop.h"
#include "ui/form2.h"
#include "ui/form5.h"
#include "ui/help/contact_window.h"
#include "ui/help/form3.h"
#include "ui/magnifier.h"
#include "ui/picture_box.h"
#include "ui/picture_button.h"
#include "ui/twips.h"
#include "workspace/picture_loader.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

using namespace Qt::StringLiterals;

Form1::Form1(Desktop &desktop, QWidget *parent)
    : QWidget(parent)
    , m_desktop(desktop)
    , m_startFolder(QDir::currentPath())
{
    setObjectName(u"Form1"_s);
    setWindowTitle(u"ZORVANE (Tessarix)   (grafik sayısallaştırıcı, sürüm "_s + QStringLiteral(ZORVANE_VERSION) +
                   u")"_s);
    setWindowIcon(QIcon(QPixmap::fromImage(m_form6.mainIcon())));
    setFont(ControlStyle::font(9.75)); // the window's own font, for what is printed on it
    resize(qRound(15120 / kTwipsPerPixel), qRound(8430 / kTwipsPerPixel));

    createButtonColumn();
    createSymbolPanel();
    createPointerFrame();
    createFormatPanel();
    createFileBar();
    createReadoutRow();
    createChartArea();
    createCalibrationControls();
    setTabOrderOfButtonColumn();
    connectHandlers();
    setAcceptDrops(true);
    raisePictureAllocationLimit();

    Form_Load();
}

Form1::~Form1() = default;

void Form1::connectHandlers()
{
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command8, &QPushButton::clicked, this, &Form1::Command8_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);
    connect(Command11, &QPushButton::clicked, this, &Form1::Command11_Click);
    connect(Command9, &QPushButton::clicked, this, &Form1::Command9_Click);
    connect(Command10, &QPushButton::clicked, this, &Form1::Command10_Click);
    connect(Picture2, &PictureBox::pressed, this, &Form1::Picture2_MouseDown);
    connect(Picture3, &PictureBox::pressed, this, &Form1::Picture3_MouseDown);
    connect(Picture4, &PictureBox::pressed, this, &Form1::Picture4_MouseDown);
    connect(VScroll1, &QScrollBar::valueChanged, this, &Form1::VScroll1_Change);
    connect(Command13, &QPushButton::clicked, this, &Form1::Command13_Click);
    connect(Command14, &QPushButton::clicked, this, &Form1::Command14_Click);
    connect(Command16, &QPushButton::clicked, this, &Form1::Command16_Click);
    connect(Command15, &QPushButton::clicked, this, &Form1::Command15_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command18, &QPushButton::clicked, this, &Form1::Command18_Click);
    connect(Picture1, &ChartPicture::moved, this, &Form1::Picture1_MouseMove);
    connect(Command19, &QPushButton::clicked, this, &Form1::Command19_Click);
    // Any mouse button records alike.
    connect(Picture1, &ChartPicture::pressed, this, [this](QPointF twips) { chartPressed(twips); });
}

QWidgetList Form1::readoutControls() const
{
    return {Label11, Label4, Label12, Label5, Label13, Text6, Label14, Text7, Label15, Label16};
}

QWidgetList Form1::calibrationControls() const
{
    return {Text1,    Label6, Command4, Text3,    Label8, Command6, Text2, Label7,
            Command5, Text4,  Label9,   Command7, Check1, Check2,   Label2};
}

void Form1::setTabOrderOfButtonColumn()
{
    const QWidgetList column = {Command3, Command8, Command1, Command15, Command11, Command9, Command10, Command2};
    for (qsizetype i = 1; i < column.size(); ++i)
        setTabOrder(column[i - 1], column[i]);
}

Form5 *Form1::form5()
{
    if (!m_form5)
        m_form5 = new Form5(QIcon(QPixmap::fromImage(m_form6.auxiliaryIcon())), this);
    return m_form5;
}

void Form1::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    m_printed.paint(painter, font(), event->rect());
}
