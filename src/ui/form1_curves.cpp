// Starting curves and removing the last recorded point.
#include "ui/form1.h"

#include "digitize/curve_file.h"
#include "state/text_value.h"
#include "ui/desktop.h"
#include "ui/form5.h"
#include "ui/values_list.h"
#include "workspace/picture_names.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Colours 1 to 8 of the classic sixteen-colour palette, one per curve.
const QColor kCurveListColours[] = {{0, 0, 128},   {0, 128, 0},   {0, 128, 128},   {128, 0, 0},
                                    {128, 0, 128}, {128, 128, 0}, {192, 192, 192}, {128, 128, 128}};

bool readsZero(const QLineEdit *box)
{
    const TextValue v = textValue(box->text());
    return v.ok && v.value == 0; // an overflowing number is not zero
}

} // namespace

QWidgetList Form1::lockedByCurveStart() const
{
    return {Command4, Command5, Command6, Command7, Text1,  Text2,  Text3,
            Text4,    Label6,   Label7,   Label8,   Label9, Check1, Check2};
}

QString Form1::curveStartRefusal() const
{
    // A decimal comma would read as a whole number and put every point of the curve off without a sign.
    for (const QLineEdit *box : {Text1, Text2, Text3, Text4}) {
        if (hasDecimalComma(box->text()))
            return u"Ondalık sayılarda virgül yerine nokta kullanınız: "_s + box->text().trimmed();
    }
    if (readsZero(Text1) && readsZero(Text2) && readsZero(Text3) && readsZero(Text4))
        return u"Lütfen! Eksenlerin ilk ve son değerlerini ilgili kutulara giriniz."_s;
    if (m_state.lastClickX == 0 && m_state.lastClickY == 0)
        return u"Lütfen! Eksenlerin ilk ve son değerlerinin okunduğu yerlere tıklayıp, ATAmalarını yapınız."_s;
    if (m_picturePath.isEmpty())
        return u"Lütfen önce bir grafik yükleyiniz."_s;
    if (m_state.curveNumber == std::numeric_limits<std::int16_t>::max())
        return u"Bu grafikte en çok 32767 çizgi sayısallaştırılabilir; yeni bir çizgi başlatılamaz."_s;
    return {};
}

void Form1::Command8_Click()
{
    if (const QString refusal = curveStartRefusal(); !refusal.isEmpty()) {
        m_desktop.warn(this, refusal);
        return;
    }

    forgetWrittenTrace(); // a trace belongs to its curve
    ValuesList *list = form5()->list();
    list->clear();
    m_state.pointNumber = 0;
    for (QWidget *w : lockedByCurveStart())
        w->setEnabled(false);
    ++m_state.curveNumber;
    m_state.curveFileStem = curveFileStem(Text9->text());
    Label16->setText(QString::number(m_state.curveNumber));
    m_state.curveFileName = curveFileName(m_state.curveFileStem, m_state.curveNumber);
    Text8->setText(m_state.curveFileName);
    readCalibrationValues();
    if (m_state.curveNumber < 9) {
        QPalette p = list->palette();
        p.setColor(QPalette::Text, kCurveListColours[m_state.curveNumber - 1]);
        list->setPalette(p);
    }
}

void Form1::Command1_Click()
{
    m_state.curveFileName = curveFileName(m_state.curveFileStem, m_state.curveNumber);
    forgetWrittenTrace(); // the file's last lines are no longer the trace's
    if (rewriteWithoutLast(m_state.curveFileName) != RewriteResult::Rewritten)
        m_desktop.warn(this, u"Henüz değer girilmedi."_s);
}
