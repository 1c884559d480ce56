#include "ui/form7.h"

#include "ui/control_factory.h"

#include <QCheckBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;

namespace {

QSpinBox *makeSpinBox(QWidget *parent, const QString &name, const TwipsRect &rect, int minimum, int maximum, int value)
{
    auto *box = makeControl<QSpinBox>(parent, name, rect);
    box->setRange(minimum, maximum);
    box->setValue(value);
    box->setAlignment(Qt::AlignRight);
    return box;
}

} // namespace

Form7::Form7(const QIcon &icon, QWidget *parent)
    : QWidget(parent, Qt::Dialog) // owned by the main window, not modal, and with no share in its shortcuts
{
    setObjectName(u"Form7"_s);
    setWindowTitle(u"Otomatik İzleme"_s);
    setWindowIcon(icon);
    setFont(ControlStyle::font());
    setWindowTwips(this, {0, 0, 3780, 3780});

    Option10 = makeControl<QRadioButton>(this, u"Option10"_s, {240, 120, 1335, 255}, u"Ç&izgi"_s);
    Option11 = makeControl<QRadioButton>(this, u"Option11"_s, {1695, 120, 1815, 255}, u"İ&şaretler"_s);
    Option10->setChecked(true);
    Command20 = makeControl<QPushButton>(this, u"Command20"_s, {240, 480, 1575, 375}, u"&Renk Seç"_s);
    Picture30 = makeControl<QLabel>(this, u"Picture30"_s, {1935, 480, 495, 375});
    Picture30->setFrameShape(QFrame::Box);
    Picture30->setAutoFillBackground(true);
    Label31 = makeControl<QLabel>(this, u"Label31"_s, {240, 1020, 1695, 255}, u"Renk toleransı"_s);
    Text10 = makeSpinBox(this, u"Text10"_s, {1935, 960, 975, 345}, 0, 255, 40);
    Label31->setBuddy(Text10);
    Label32 = makeControl<QLabel>(this, u"Label32"_s, {240, 1440, 1695, 255}, u"Adım (piksel)"_s);
    Text11 = makeSpinBox(this, u"Text11"_s, {1935, 1380, 975, 345}, 1, 200, 10);
    Label32->setBuddy(Text11);
    Check3 = makeControl<QCheckBox>(this, u"Check3"_s, {240, 1860, 3360, 255}, u"Tıklamaları eğriye o&turt"_s);
    Command21 = makeControl<QPushButton>(this, u"Command21"_s, {240, 2280, 1215, 375}, u"İ&zle"_s);
    Label30 = makeControl<QLabel>(this, u"Label30"_s, {1575, 2340, 2040, 255});
    Command22 = makeControl<QPushButton>(this, u"Command22"_s, {240, 2760, 1935, 375}, u"Noktaları &Yaz"_s);
    Command23 = makeControl<QPushButton>(this, u"Command23"_s, {2295, 2760, 1215, 375}, u"&Vazgeç"_s);
    Command24 = makeControl<QPushButton>(this, u"Command24"_s, {240, 3240, 3270, 375}, u"Son İzlemeyi Geri A&l"_s);
    setPreviewShown(false);
    setUndoable(false);

    connect(Command20, &QPushButton::clicked, this, &Form7::pickRequested);
    connect(Command21, &QPushButton::clicked, this, &Form7::traceRequested);
    connect(Command22, &QPushButton::clicked, this, &Form7::writeRequested);
    connect(Command23, &QPushButton::clicked, this, &Form7::previewDropped);
    connect(Command24, &QPushButton::clicked, this, &Form7::undoRequested);
    connect(Option11, &QRadioButton::toggled, this, &Form7::settingsChanged);
    connect(Text10, &QSpinBox::valueChanged, this, &Form7::settingsChanged);
    connect(Text11, &QSpinBox::valueChanged, this, &Form7::settingsChanged);
}

bool Form7::markersMode() const
{
    return Option11->isChecked();
}

int Form7::colourTolerance() const
{
    return Text10->value();
}

int Form7::stepPixels() const
{
    return Text11->value();
}

bool Form7::snapsPresses() const
{
    return Check3->isChecked();
}

void Form7::showColour(const QColor &colour)
{
    ControlStyle::setBackColour(Picture30, colour);
}

void Form7::showFound(const QString &text)
{
    Label30->setText(text);
}

void Form7::setPreviewShown(bool shown)
{
    Command22->setEnabled(shown);
    Command23->setEnabled(shown);
}

void Form7::setUndoable(bool undoable)
{
    Command24->setEnabled(undoable);
}

void Form7::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        emit escapePressed();
        return;
    }
    QWidget::keyPressEvent(event);
}
