// Calibration, the live readout and point capture on Picture1.
#include "ui/form1.h"

#include "digitize/axis_conversion.h"
#include "digitize/curve_file.h"
#include "marking/symbol_painter.h"
#include "state/chart_format.h"
#include "state/number_text.h"
#include "state/text_value.h"
#include "ui/chart_picture.h"
#include "ui/control_style.h"
#include "ui/form5.h"
#include "ui/twips_widgets.h"
#include "ui/values_list.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <limits>

using namespace Qt::StringLiterals;

struct ChartValues {
    std::optional<double> x;
    std::optional<double> y;
};

namespace {

QString formatted(const std::optional<double> &value, const QString &pattern)
{
    return value ? formatChartValue(*value, pattern) : QString();
}

// A recorded axis that could not convert still fills its place in the line, so the pairs of the file stay
// pairs.
QString recorded(const std::optional<double> &value, const QString &pattern)
{
    return value ? formatChartValue(*value, pattern) : u"NaN"_s;
}

} // namespace

float Form1::pictureHeightTwips() const
{
    return twipsRect(Picture1).height;
}

void Form1::readCalibrationValues()
{
    // A box whose number overflows single precision leaves the stored value as it was; the conversion then
    // fails that axis rather than use the old value.
    const auto read = [](const QLineEdit *box, float &field) {
        if (const std::optional<float> v = singleValue(textValue(box->text())))
            field = *v;
    };
    read(Text1, m_state.calibX0Value);
    read(Text3, m_state.calibX1Value);
    read(Text2, m_state.calibY0Value);
    read(Text4, m_state.calibY1Value);
}

void Form1::readFormatChoices()
{
    const auto choice = [](QRadioButton *one, QRadioButton *two, QRadioButton *three, std::int16_t &field) {
        if (one->isChecked())
            field = 1;
        if (two->isChecked())
            field = 2;
        if (three->isChecked())
            field = 3;
    };
    choice(Option4, Option5, Option6, m_state.xFormatChoice);
    choice(Option7, Option8, Option9, m_state.yFormatChoice);
}

ChartValues Form1::chartValues(QPointF twips) const
{
    const DigitizingState &s = m_state;
    const AxisReading x{s.calibX0Pos,
                        s.calibX1Pos,
                        s.calibX0Value,
                        s.calibX1Value,
                        textValue(Text1->text()),
                        textValue(Text3->text()),
                        Check1->isChecked()};
    const AxisReading y{s.calibY0Pos,
                        s.calibY1Pos,
                        s.calibY0Value,
                        s.calibY1Value,
                        textValue(Text2->text()),
                        textValue(Text4->text()),
                        Check2->isChecked()};
    return {positionToValueX(x, float(twips.x())), positionToValueY(y, float(twips.y()))};
}

void Form1::Picture1_MouseMove(QPointF twips)
{
    const float x = float(twips.x());
    const float y = float(twips.y());
    Label4->setText(singleText(x));
    Label5->setText(singleText(pictureHeightTwips() - y - 75));
    readCalibrationValues();
    const ChartValues values = chartValues(twips);
    readFormatChoices();
    const QString fx = formatted(values.x, readoutPattern(m_state.xFormatChoice));
    const QString fy = formatted(values.y, readoutPattern(m_state.yFormatChoice));
    Text6->setText(fx);
    Text7->setText(fy);
    showPointer(twips); // its repaint also paints the readouts changed above, in one pass
    followWithMagnifier(twips);
}

void Form1::showPointer(QPointF at)
{
    const qreal x = at.x();
    const qreal y = at.y();
    // Every move passes here: touch the cursor only when its shape changes.
    const auto setShape = [this](Qt::CursorShape shape) {
        if (m_trace.pickPending)
            shape = Qt::PointingHandCursor; // the next press picks a curve
        if (Picture1->cursor().shape() != shape)
            Picture1->setCursor(shape);
    };
    if (Option1->isChecked()) {
        setShape(Qt::CrossCursor);
        // The gap around the pointer is 120 twips, except 130 to its right.
        Picture1->setLines(
            {ChartLine{true, {x - 20000, y}, {x - 120, y}}, ChartLine{true, {x + 130, y}, {x + 20000, y}},
             ChartLine{true, {x, y - 20000}, {x, y - 120}}, ChartLine{true, {x, y + 20000}, {x, y + 120}}});
        return;
    }
    if (!Option2->isChecked() && !Option3->isChecked())
        return;
    std::array<ChartLine, 4> hidden;
    for (int i = 0; i < 4; ++i)
        hidden[i] = {false, Picture1->line(i).from, Picture1->line(i).to};
    Picture1->setLines(hidden);
    setShape(Option2->isChecked() ? Qt::CrossCursor : Qt::ArrowCursor);
}

void Form1::Picture1_MouseDown(QPointF twips)
{
    const float x = float(twips.x());
    const float y = float(twips.y());
    m_state.lastClickX = x;
    m_state.lastClickY = y;
    readFormatChoices();
    if (m_state.curveNumber >= 1 && m_state.curveNumber <= 6)
        simgebas(x, y, m_state.symbolShape, m_state.symbolSize);
    readCalibrationValues();
    const ChartValues values = chartValues(twips);
    const QString xPattern = recordPattern(m_state.xFormatChoice);
    const QString yPattern = recordPattern(m_state.yFormatChoice);
    m_state.curveFileName = curveFileName(m_state.curveFileStem, m_state.curveNumber);
    Text6->setText(formatted(values.x, xPattern));
    Text7->setText(formatted(values.y, yPattern));
    if (m_state.curveNumber > 0)
        recordPoint(recorded(values.x, xPattern), recorded(values.y, yPattern));
}

void Form1::recordPoint(const QString &xText, const QString &yText)
{
    Form5 *values = form5();
    values->show();
    // A failed write (a folder at the name, a full disk) still lists the point: the user sees it was taken.
    if (appendPointRecord(m_state.curveFileName, xText, yText))
        ++m_appendedLines;
    if (!m_trace.writing && m_trace.writtenLines > 0)
        forgetWrittenTrace(); // a trace can be taken back only while it is the last thing written
    if (m_state.pointNumber < std::numeric_limits<std::int16_t>::max())
        ++m_state.pointNumber;
    values->list()->addLine(u"  "_s + QString::number(m_state.pointNumber) + u"        "_s + xText + u"        "_s +
                            yText);
}

void Form1::simgebas(float X, float Y, std::int16_t secim, std::int16_t &olcekk)
{
    const SymbolShapes symbol = symbolShapes(X, Y, secim, olcekk);
    olcekk = symbol.size;
    const QColor colour(m_state.symbolRed, m_state.symbolGreen, m_state.symbolBlue);
    const QRect touched = paintSymbol(Picture1->drawings(), symbol, colour, Picture1->drawingWidth());
    if (symbol.resetsDrawingWidth)
        Picture1->setDrawingWidth(1);
    Picture1->showDrawings(touched);
}

// Colour first, then the caption, then the stored position.
void Form1::assignPosition(QLabel *tag, const QColor &colour, float shown, float &position, float click)
{
    ControlStyle::setTextColour(tag, colour);
    tag->setText(singleText(shown));
    position = click;
}

void Form1::Command4_Click()
{
    assignPosition(Label6, QColor(255, 0, 0), m_state.lastClickX, m_state.calibX0Pos, m_state.lastClickX);
}

// The y tags show the height above the picture's bottom edge, like the live readout.
void Form1::Command5_Click()
{
    assignPosition(Label7, QColor(0, 0, 255), pictureHeightTwips() - m_state.lastClickY - 75, m_state.calibY0Pos,
                   m_state.lastClickY);
}

void Form1::Command6_Click()
{
    assignPosition(Label8, QColor(255, 0, 0), m_state.lastClickX, m_state.calibX1Pos, m_state.lastClickX);
}

void Form1::Command7_Click()
{
    assignPosition(Label9, QColor(0, 0, 255), pictureHeightTwips() - m_state.lastClickY - 75, m_state.calibY1Pos,
                   m_state.lastClickY);
}
