// Symbol shape, thickness, colour and size; the number formats and their files; the workspace buttons.
#include "ui/form1.h"

#include "marking/palette_fields.h"
#include "ui/chart_picture.h"
#include "ui/control_style.h"
#include "ui/desktop.h"
#include "ui/form2.h"
#include "ui/form5.h"
#include "ui/form7.h"
#include "ui/format_file.h"
#include "ui/frame_box.h"
#include "ui/help/contact_window.h"
#include "ui/help/form3.h"
#include "ui/magnifier.h"
#include "ui/picture_box.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

using namespace Qt::StringLiterals;

void Form1::Picture2_MouseDown(QPointF pixels)
{
    const std::int16_t shape = shapeAt(float(pixels.x()), float(pixels.y()));
    if (shape == 0)
        return;
    m_state.symbolShape = shape;
    Picture2->setPicture(m_form6.picture(shapePictureName(shape)));
}

void Form1::Picture3_MouseDown(QPointF pixels)
{
    const std::int16_t width = thicknessAt(float(pixels.x()), float(pixels.y()));
    if (width == 0)
        return;
    Picture1->setDrawingWidth(width);
    Picture3->setPicture(m_form6.picture(thicknessPictureName(width)));
}

void Form1::Picture4_MouseDown(QPointF pixels)
{
    // A press beside the fields chooses blue.
    PaletteRgb colour{0, 0, 255};
    if (const std::optional<ColourField> field = colourAt(float(pixels.x()), float(pixels.y())))
        colour = field->rgb;
    m_state.symbolRed = colour.red;
    m_state.symbolGreen = colour.green;
    m_state.symbolBlue = colour.blue;
    Picture4->setPicture(m_form6.picture(colourPictureName(colour)));
}

void Form1::VScroll1_Change(int value)
{
    m_state.symbolSize = static_cast<std::int16_t>(value);
    Label20->setText(QString::number(value));
}

void Form1::saveFormat(std::int16_t &choice, const QString &fileName)
{
    readFormatChoices();
    const QString path = QDir(m_startFolder).filePath(fileName);
    if (!writeFormatFile(path, choice))
        m_desktop.warn(this, u"Sayı biçimi \"%1\" dosyasına kaydedilemedi."_s.arg(QDir::toNativeSeparators(path)));
}

void Form1::Command13_Click()
{
    saveFormat(m_state.xFormatChoice, u"xformats.txt"_s);
}

void Form1::Command14_Click()
{
    saveFormat(m_state.yFormatChoice, u"yformats.txt"_s);
}

void Form1::Command16_Click()
{
    const bool hide = m_state.formatsPanelHidden == 0;
    Frame3->setVisible(!hide);
    Frame4->setVisible(!hide);
    ControlStyle::setFaceColour(Command16, hide ? QColor(0, 255, 0) : QColor(0, 255, 255));
    Command16->setText(hide ? u"Formatları göster"_s : u"Formatları gizle"_s);
    m_state.formatsPanelHidden = hide ? 1 : 0;
}

void Form1::Command15_Click()
{
    Picture1->eraseDrawings(); // a chart in natural display is the area's own picture and stays
}

void Form1::Command2_Click()
{
    close();
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Every window of the program goes with the main one; curve files are never held open.
    for (QWidget *window : {static_cast<QWidget *>(m_form2), static_cast<QWidget *>(m_form3),
                            static_cast<QWidget *>(m_form5), static_cast<QWidget *>(m_contactWindow),
                            static_cast<QWidget *>(m_magnifier), static_cast<QWidget *>(m_form7)}) {
        if (window)
            window->close();
    }
    event->accept();
}

void Form1::mousePressEvent(QMouseEvent *event)
{
    // Labels and frames let presses through to the window: only the bare background drags it, with any button.
    event->accept();
    if (childAt(event->position().toPoint()) != nullptr || m_dragButton != Qt::NoButton)
        return;
    // The window manager's move ends at a left release only: other buttons move the window here, while held.
    if (event->button() == Qt::LeftButton && m_desktop.beginWindowMove(window()))
        return;
    if (window()->isMaximized() || window()->isFullScreen())
        return; // like the window manager, which leaves a maximized window where it is
    m_dragButton = event->button();
    m_dragOffset = event->globalPosition().toPoint() - window()->pos();
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragButton == Qt::NoButton)
        return;
    if (!(event->buttons() & m_dragButton)) {
        m_dragButton = Qt::NoButton; // its release went elsewhere
        return;
    }
    window()->move(event->globalPosition().toPoint() - m_dragOffset);
}

void Form1::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == m_dragButton)
        m_dragButton = Qt::NoButton;
}
