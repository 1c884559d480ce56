// The controls of the main window, built panel by panel at their designed places (twips).
#include "ui/form1.h"

#include "ui/chart_picture.h"
#include "ui/control_factory.h"
#include "ui/frame_box.h"
#include "ui/picture_box.h"
#include "ui/picture_button.h"
#include "ui/tracing_button_place.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

struct ColumnButton {
    QPushButton *Form1::*member;
    const char16_t *name;
    const char16_t *caption;
    float top;
    std::optional<QColor> face;
};

QLabel *makeLabel(QWidget *parent, const QString &name, const TwipsRect &rect, const QString &caption,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop)
{
    auto *label = makeControl<QLabel>(parent, name, rect, caption);
    label->setAlignment(alignment);
    return label;
}

// A label sized to its text, like an auto-sizing label.
QLabel *makeSizedLabel(QWidget *parent, const QString &name, TwipsPoint at, const QString &caption)
{
    auto *label = makeControl<QLabel>(parent, name, {at.left, at.top, 0, 0}, caption);
    label->adjustSize();
    takePixelSize(label);
    return label;
}

QLineEdit *makeTextBox(QWidget *parent, const QString &name, const TwipsRect &rect, const QString &text = {})
{
    auto *box = makeControl<QLineEdit>(parent, name, rect);
    box->setText(text);
    return box;
}

QLineEdit *makeValueBox(QWidget *parent, const QString &name, const QColor &textColour)
{
    auto *box = makeTextBox(parent, name, {0, 0, 855, 360});
    box->setAlignment(Qt::AlignCenter);
    box->setFont(ControlStyle::font(9.75, true));
    ControlStyle::setTextColour(box, textColour);
    return box;
}

} // namespace

void Form1::createButtonColumn()
{
    // clang-format off
    const ColumnButton buttons[] = {
        {&Form1::Command3, u"Command3", u"&Grafik Yükle", 240, QColor(128, 255, 128)},
        {&Form1::Command8, u"Command8", u"İlk / &Başka Çizgi", 600, std::nullopt},
        {&Form1::Command1, u"Command1", u"Son &Noktayı Sil", 960, std::nullopt},
        {&Form1::Command15, u"Command15", u"Simgeleri Temizle", 1320, std::nullopt},
        {&Form1::Command11, u"Command11", u"&Farklı Eksen", 1680, std::nullopt},
        {&Form1::Command9, u"Command9", u"K&ullanma Kılavuzu", 2040, QColor(0, 255, 0)},
        {&Form1::Command10, u"Command10", u"&Adres", 2400, std::nullopt},
        {&Form1::Command2, u"Command2", u"ÇI&KIŞ", 2760, QColor(255, 128, 128)},
    };
    // clang-format on
    for (const ColumnButton &b : buttons) {
        auto *button = makeControl<QPushButton>(this, QString::fromUtf16(b.name), {120, b.top, 1830, 375},
                                                QString::fromUtf16(b.caption));
        button->setFont(ControlStyle::font(8.25, true));
        if (b.face)
            ControlStyle::setFaceColour(button, *b.face);
        this->*b.member = button;
    }

    Line1 = makeControl<QFrame>(this, u"Line1"_s, {2100, 0, kTwipsPerPixel, 18600});
    ControlStyle::setBackColour(Line1, ControlStyle::highlight());
}

void Form1::createSymbolPanel()
{
    Frame2 = makeControl<FrameBox>(this, u"Frame2"_s, {120, 3240, 1830, 3465}, u"Simge"_s);
    Frame2->setCaptionColour(ControlStyle::highlight());

    Picture2 = makeControl<PictureBox>(Frame2, u"Picture2"_s, {120, 240, 405, 2295});
    Picture2->setPicture(m_form6.picture(u"Picture25"_s));
    const QColor green(0, 128, 0);
    Label21 = makeSizedLabel(Frame2, u"Label21"_s, {675, 360}, u"Simge Boyut:"_s);
    ControlStyle::setTextColour(Label21, green);
    VScroll1 = makeControl<QScrollBar>(Frame2, u"VScroll1"_s, {1200, 600, 255, 500}, Qt::Vertical);
    VScroll1->setRange(1, 10);
    VScroll1->setValue(2);
    Label20 = makeLabel(Frame2, u"Label20"_s, {720, 720, 255, 255}, u"1"_s, Qt::AlignRight | Qt::AlignTop);
    Label20->setFont(ControlStyle::arialFont(9, true));
    ControlStyle::setTextColour(Label20, green);
    Label17 = makeSizedLabel(Frame2, u"Label17"_s, {675, 1440}, u"Çizgi Kalınlığı:"_s);
    Label18 = makeSizedLabel(Frame2, u"Label18"_s, {240, 2600}, u"Simge Rengi:"_s);

    // These two belong to the window and lie over the frame.
    Picture3 = makeControl<PictureBox>(this, u"Picture3"_s, {855, 4980, 750, 705});
    Picture3->setPicture(m_form6.picture(u"Picture4"_s));
    Picture4 = makeControl<PictureBox>(this, u"Picture4"_s, {270, 6075, 1485, 525});
    Picture3->raise();
    Picture4->raise();
}

void Form1::createPointerFrame()
{
    Frame1 = makeControl<FrameBox>(this, u"Frame1"_s, {120, 6800, 1830, 810}, u"İşaretçi "_s);
    Frame1->setCaptionColour(ControlStyle::highlight());
    const auto makePointerButton = [this](const QString &name, float left, int pointer) {
        auto *button = makeControl<QToolButton>(Frame1, name, {left, 240, 495, 495});
        button->setCheckable(true);
        button->setAutoExclusive(true);
        button->setIcon(QIcon(QPixmap::fromImage(m_form6.pointerPicture(pointer))));
        button->setIconSize(QSize(24, 29));
        return button;
    };
    Option3 = makePointerButton(u"Option3"_s, 120, 3);
    Option2 = makePointerButton(u"Option2"_s, 660, 2);
    Option1 = makePointerButton(u"Option1"_s, 1200, 1);
    Option3->setToolTip(u"Standart ok"_s);
    Option2->setToolTip(u"Küçük artı"_s);
    Option1->setToolTip(u"Boydan boya"_s);
    Option2->setChecked(true);
}

void Form1::createFormatPanel()
{
    const QColor cyan(0, 255, 255);
    Command16 = makeControl<QPushButton>(this, u"Command16"_s, {120, 7665, 1815, 400}, u"Formatları gizle"_s);
    ControlStyle::setFaceColour(Command16, cyan);

    const auto makeAxisFrame = [&](const QString &name, float top, const QString &caption) {
        auto *frame = makeControl<FrameBox>(this, name, {120, top, 1815, 1375}, caption);
        ControlStyle::setBackColour(frame, cyan);
        frame->setCaptionColour(QColor(0, 0, 128));
        return frame;
    };
    const auto makeOption = [&](FrameBox *frame, const QString &name, float top, const QString &caption) {
        auto *option = makeControl<QRadioButton>(frame, name, {360, top, 1095, 195}, caption);
        ControlStyle::setBackColour(option, cyan);
        return option;
    };
    const auto makeSave = [&](FrameBox *frame, const QString &name) {
        auto *button = makeControl<QPushButton>(frame, name, {240, 960, 1335, 315}, u"Kaydet"_s);
        ControlStyle::setFaceColour(button, QColor(192, 192, 255));
        return button;
    };

    Frame3 = makeAxisFrame(u"Frame3"_s, 8175, u"x ekseni"_s);
    Option4 = makeOption(Frame3, u"Option4"_s, 240, u"0.00"_s);
    Option5 = makeOption(Frame3, u"Option5"_s, 480, u"0.0000"_s);
    Option6 = makeOption(Frame3, u"Option6"_s, 720, u"0.000E+00"_s);
    Command13 = makeSave(Frame3, u"Command13"_s);
    Option5->setChecked(true);

    Frame4 = makeAxisFrame(u"Frame4"_s, 9600, u"y ekseni"_s);
    Option7 = makeOption(Frame4, u"Option7"_s, 240, u"0.00"_s);
    Option8 = makeOption(Frame4, u"Option8"_s, 480, u"0.0000"_s);
    Option9 = makeOption(Frame4, u"Option9"_s, 720, u"0.000E+00"_s);
    Command14 = makeSave(Frame4, u"Command14"_s);
    Option8->setChecked(true);
}

void Form1::createFileBar()
{
    Label3 = makeLabel(this, u"Label3"_s, {2520, 210, 1335, 375}, u"Yüklenen Dosya:  "_s);
    ControlStyle::setTextColour(Label3, ControlStyle::highlight());
    Text9 = makeTextBox(this, u"Text9"_s, {3840, 120, 2415, 360});
    Text9->setReadOnly(true);
    Text9->setFont(ControlStyle::font(9.75, true));
    ControlStyle::setBaseColour(Text9, QColor(192, 255, 192));
    Label1 = makeLabel(this, u"Label1"_s, {6840, 210, 1380, 255}, u"Oluşturulan Dosya:"_s);
    Text8 = makeTextBox(this, u"Text8"_s, {8280, 120, 2415, 360});
    Text8->setReadOnly(true);
    Text8->setFont(ControlStyle::font(9.75, true));
    ControlStyle::setBaseColour(Text8, ControlStyle::tooltipBackground());

    Command18 = makeControl<PictureButton>(this, u"Command18"_s, {10920, 120, 855, 1035}, u" Windows Büyüteci"_s);
    Command18->setPicture(m_form6.magnifierPicture());
    ControlStyle::setFaceColour(Command18, ControlStyle::tooltipBackground());
    Command19 = makeControl<QPushButton>(this, u"Command19"_s, {0, 0, 855, 1035}, u"Otomatik\nİzle"_s);
    setTwipsPos(Command19, tracingButtonPlace(false, 0));
    Command19->setShortcut(QKeySequence(Qt::ALT | Qt::Key_O));
    ControlStyle::setFaceColour(Command19, ControlStyle::tooltipBackground());
}

// The row rewritten on every move over the chart.
void Form1::createReadoutRow()
{
    const QColor highlight = ControlStyle::highlight();
    Label11 = makeLabel(this, u"Label11"_s, {2760, 840, 255, 255}, u"x ="_s);
    Label4 = makeLabel(this, u"Label4"_s, {3000, 840, 615, 255}, u"Label4"_s, Qt::AlignHCenter | Qt::AlignTop);
    ControlStyle::setTextColour(Label4, highlight);
    Label12 = makeLabel(this, u"Label12"_s, {3960, 840, 255, 255}, u"y ="_s);
    Label5 = makeLabel(this, u"Label5"_s, {4200, 840, 615, 255}, u"Label5"_s, Qt::AlignHCenter | Qt::AlignTop);
    ControlStyle::setTextColour(Label5, highlight);
    Label13 = makeLabel(this, u"Label13"_s, {5280, 840, 855, 255}, u"Gerçek x ="_s);
    Text6 = makeTextBox(this, u"Text6"_s, {6120, 780, 1095, 285}, u" "_s);
    Text6->setAlignment(Qt::AlignRight);
    Text6->setReadOnly(true);
    Label14 = makeLabel(this, u"Label14"_s, {7320, 840, 855, 255}, u"Gerçek y ="_s);
    Text7 = makeTextBox(this, u"Text7"_s, {8160, 780, 1095, 285}, u" "_s);
    Text7->setAlignment(Qt::AlignRight);
    Text7->setReadOnly(true);
    // A label with a free size asks the window for a new layout at each new text; these never change size.
    for (QLabel *value : {Label4, Label5})
        value->setFixedSize(value->size());
    Label15 = makeLabel(this, u"Label15"_s, {9480, 840, 615, 255}, u"Çizgi : "_s);
    Label15->setFont(ControlStyle::font(8.25, true));
    ControlStyle::setTextColour(Label15, QColor(0, 128, 128));
    Label16 = makeLabel(this, u"Label16"_s, {10080, 840, 495, 255}, u"0"_s);
    Label16->setFont(ControlStyle::font(8.25, true));
    ControlStyle::setTextColour(Label16, QColor(0, 128, 0));

    for (QWidget *w : readoutControls())
        w->hide();
}

void Form1::createChartArea()
{
    Picture1 = makeControl<ChartPicture>(this, u"Picture1"_s, {3480, 1200, 4155, 4095});
    Picture1->hide();
    Picture6 = makeControl<PictureBox>(this, u"Picture6"_s, {8280, 3000, 2775, 2535});
    Picture6->hide();
}

void Form1::createCalibrationControls()
{
    const QColor red(255, 0, 0);
    const QColor title = ControlStyle::activeTitleBar();
    const auto makeTag = [this](const QString &name, float width, const QString &caption) {
        return makeLabel(this, name, {0, 0, width, 255}, caption, Qt::AlignHCenter | Qt::AlignTop);
    };
    const auto makeAssign = [this](const QString &name, const QString &caption) {
        return makeControl<QPushButton>(this, name, {0, 0, 855, 375}, caption);
    };

    Text1 = makeValueBox(this, u"Text1"_s, title);
    Label6 = makeTag(u"Label6"_s, 615, u"x0"_s);
    Command4 = makeAssign(u"Command4"_s, u"xO Ata"_s);
    Text3 = makeValueBox(this, u"Text3"_s, title);
    Label8 = makeTag(u"Label8"_s, 615, u"x1"_s);
    Command6 = makeAssign(u"Command6"_s, u"x1 Ata"_s);
    Text2 = makeValueBox(this, u"Text2"_s, red);
    Label7 = makeTag(u"Label7"_s, 615, u"y0"_s);
    Command5 = makeAssign(u"Command5"_s, u"y0 Ata"_s);
    Text4 = makeValueBox(this, u"Text4"_s, red);
    Label9 = makeTag(u"Label9"_s, 735, u"y1"_s);
    setTwipsPos(Label9, {2535, 1605});
    Command7 = makeAssign(u"Command7"_s, u"y1 Ata"_s);
    setTwipsPos(Command7, {2520, 1850});
    Check1 = makeControl<QCheckBox>(this, u"Check1"_s, {0, 0, 1095, 255}, u"Logaritmik"_s);
    Check2 = makeControl<QCheckBox>(this, u"Check2"_s, {0, 0, 375, 255});
    Label2 = makeLabel(this, u"Label2"_s, {0, 0, 735, 375}, u"Logaritmik"_s);

    for (QWidget *w : calibrationControls())
        w->hide();
}
