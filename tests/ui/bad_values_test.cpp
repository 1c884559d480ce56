#include "support/fake_desktop.h"
#include "support/test_charts.h"
#include "support/widget_helpers.h"
#include "ui/bad_input_support.h"
#include "ui/form1.h"
#include "ui/form5.h"
#include "ui/values_list.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

class BadValues : public ::testing::Test {
protected:
    QString text(const Form1 &form, const QString &name) const { return control<QLineEdit>(form, name)->text(); }

    QTemporaryDir folder;
    CurrentFolder current{folder.path()};
};

// Types a short text key by key (each key carries its character, so Turkish letters need no key code) and
// pastes a long one, as a user would.
void enter(const Form1 &form, const QString &boxName, const QString &text)
{
    auto *box = control<QLineEdit>(form, boxName);
    ASSERT_NE(box, nullptr);
    box->clear();
    if (text.size() > 100) {
        box->insert(text);
        return;
    }
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &release);
    }
}

QString fourDecimals(double value)
{
    return QString::number(value, 'f', 4);
}

} // namespace

// The x axis is calibrated 0 to 100 over pixels 50 to 550, then its end value (Text3) is typed again, badly.
// At pixel 300, halfway, a linear axis reads half that value and a logarithmic one from 1 its square root.
TEST_F(BadValues, BadAxisValueGivesReadoutAndRecordWithoutStoppingTheProgram)
{
    const QString longOnes(10'000, u'1');                         // beyond double
    const QString longHundred = u"100."_s + QString(9'996, u'0'); // 10,000 characters that read 100
    const QString blanksThenNumber = QString(9'998, u' ') + u"25"_s;
    ASSERT_EQ(longHundred.size(), 10'000);
    ASSERT_EQ(blanksThenNumber.size(), 10'000);
    struct Row {
        QString typed;
        bool logarithmic;
        QString expected; // empty: the axis cannot convert, recorded as NaN
    };
    const Row rows[] = {
        {longOnes, false, {}}, // the value typed before must not stand in for it
        {longHundred, false, fourDecimals(100 / 2.0)},
        {blanksThenNumber, false, fourDecimals(25 / 2.0)},
        {u"1E999"_s, false, {}},
        {u"1E39"_s, false, {}}, // beyond single precision, within double
        {u"1E38"_s, false, {}}, // fits single precision, its product does not
        {u"-0"_s, false, fourDecimals(0)},
        {u"&HFFFF"_s, false, fourDecimals(65535 / 2.0)},
        {u"çğıöşüÇĞİÖŞÜ"_s, false, fourDecimals(0)}, // no number: 0
        {u"5ş"_s, false, fourDecimals(5 / 2.0)},
        {longOnes, true, {}}, // a logarithmic axis reads the box itself, and it overflows
        {longHundred, true, fourDecimals(std::sqrt(100.0))},
        {u"1E999"_s, true, {}},
        {u"1E39"_s, true, {}}, // a logarithmic axis fails alike
        {u"-0"_s, true, {}},   // no logarithm of 0
        {u"&HFFFF"_s, true, fourDecimals(std::sqrt(65535.0))},
        {u"çğıöşü"_s, true, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(::testing::Message() << row.typed.left(20).toStdString() << " (" << row.typed.size()
                                          << " characters)" << (row.logarithmic ? " log" : " linear"));
        FakeDesktop desktop;
        Form1 form(desktop);
        calibrateLinearChart(form, desktop, folder.path(), u"graf.bmp"_s);
        typeInto(form, u"Text1"_s, row.logarithmic ? u"1"_s : u"0"_s);
        control<QCheckBox>(form, u"Check1"_s)->setChecked(row.logarithmic);
        enter(form, u"Text3"_s, row.typed);
        ASSERT_EQ(text(form, u"Text3"_s), row.typed);

        moveOverChart(form, {300, 200});
        EXPECT_EQ(text(form, u"Text6"_s), row.expected);
        EXPECT_EQ(text(form, u"Text7"_s), u"15.0000"_s);
        pressOnChart(form, {300, 200}); // before a curve: shown, not recorded
        EXPECT_EQ(text(form, u"Text6"_s), row.expected);

        click(form, u"Command8"_s);
        pressOnChart(form, {300, 200});
        const QString recorded = row.expected.isEmpty() ? u"NaN"_s : row.expected;
        EXPECT_EQ(fileBytes(QDir(folder.path()).filePath(u"graf_1.txt"_s)), recorded.toLatin1() + "  15.0000\r\n");
        ASSERT_EQ(form.form5()->list()->count(), 1);
        EXPECT_EQ(form.form5()->list()->line(0), u"  1        "_s + recorded + u"        15.0000"_s);
        // The y axis was never touched and still converts.
        moveOverChart(form, {300, 100});
        EXPECT_EQ(text(form, u"Text7"_s), u"25.0000"_s);
        EXPECT_TRUE(desktop.warnings.isEmpty()) << desktop.warnings.join(u'|').toStdString();
        QFile::remove(QDir(folder.path()).filePath(u"graf_1.txt"_s));
    }
}
