// The main window's load: runs once, before the window is first shown.
#include "ui/form1.h"

#include "state/number_text.h"
#include "ui/calibration_layout.h"
#include "ui/chart_picture.h"
#include "ui/desktop.h"
#include "ui/format_file.h"
#include "ui/frame_box.h"
#include "ui/picture_box.h"
#include "ui/picture_button.h"
#include "ui/tracing_button_place.h"
#include "ui/twips_widgets.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

using namespace Qt::StringLiterals;

static constexpr float kSmallScreenHeightPx = 699;

void Form1::Form_Load()
{
    m_state.formatsPanelHidden = 0;

    const QSize screen = m_desktop.screenSizePixels();
    m_state.screenWidthPx = static_cast<float>(screen.width());
    m_state.screenHeightPx = static_cast<float>(screen.height());
    if (m_state.screenHeightPx < kSmallScreenHeightPx) {
        // The window opens maximized, so its width is the room the desktop gives it.
        moveFormatPanelToTop(m_desktop.availableSizePixels().width() * kTwipsPerPixel);
    }
    m_printed.print(u"Ekran:"_s + printedNumber(m_state.screenWidthPx) + u"x"_s +
                    printedNumber(m_state.screenHeightPx));

    // From here on nothing may stop the start: every reader below falls back to its start value.
    m_state.symbolSize = static_cast<std::int16_t>(VScroll1->value());
    Label20->setText(QString::number(m_state.symbolSize));
    readFormatFiles();
    m_state.curveNumber = 0;
    placeCalibrationControls();
    Picture4->setPicture(m_form6.picture(u"Picture9"_s));
    m_state.symbolRed = 0;
    m_state.symbolGreen = 0;
    m_state.symbolBlue = 255;
    m_state.symbolShape = 4;
    selectSavedFormats();
}

void Form1::moveFormatPanelToTop(float windowWidthTwips)
{
    setTwipsPos(Command16, {windowWidthTwips - 2250, 120});
    setTwipsPos(Frame3, {windowWidthTwips - 2250, 600});
    setTwipsPos(Frame4, {windowWidthTwips - 2250, 2000});
    setTwipsPos(Command18, {windowWidthTwips - 3250, 120});
    setTwipsPos(Command19, tracingButtonPlace(true, windowWidthTwips));
}

void Form1::readFormatFiles()
{
    const QDir folder(m_startFolder);
    m_state.xFormatChoice = readFormatChoice(folder.filePath(u"xformats.txt"_s));
    m_state.yFormatChoice = readFormatChoice(folder.filePath(u"yformats.txt"_s));
}

void Form1::selectSavedFormats()
{
    // Selecting here must not count as a user's choice: nothing is connected to these buttons' toggles.
    QRadioButton *const xOptions[] = {Option4, Option5, Option6};
    QRadioButton *const yOptions[] = {Option7, Option8, Option9};
    if (m_state.xFormatChoice >= 1 && m_state.xFormatChoice <= 3)
        xOptions[m_state.xFormatChoice - 1]->setChecked(true);
    if (m_state.yFormatChoice >= 1 && m_state.yFormatChoice <= 3)
        yOptions[m_state.yFormatChoice - 1]->setChecked(true);
}

void Form1::placeCalibrationControls()
{
    const TwipsRect text2 = twipsRect(Text2);
    const CalibrationLayoutInput in{twipsRect(Picture1), text2.width, text2.height, twipsRect(Text3).width,
                                    twipsRect(Command7).top};
    const CalibrationLayout out = ::placeCalibrationControls(in);
    setTwipsPos(Text1, out.text1);
    setTwipsPos(Label6, out.label6);
    setTwipsPos(Command4, out.command4);
    setTwipsPos(Text3, out.text3);
    setTwipsPos(Label8, out.label8);
    setTwipsPos(Command6, out.command6);
    setTwipsPos(Text2, out.text2);
    setTwipsPos(Command5, out.command5);
    setTwipsPos(Label7, out.label7);
    setTwipsPos(Text4, out.text4);
    setTwipsPos(Check1, out.check1);
    setTwipsPos(Check2, out.check2);
    setTwipsPos(Label2, out.label2);
}
