#include "support/fake_desktop.h"
#include "support/widget_helpers.h"
#include "ui/form1.h"
#include "ui/frame_box.h"
#include "ui/twips_widgets.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

QString captionOf(const QWidget *w)
{
    if (auto *button = qobject_cast<const QAbstractButton *>(w))
        return button->text();
    if (auto *label = qobject_cast<const QLabel *>(w))
        return label->text();
    if (auto *box = qobject_cast<const QLineEdit *>(w))
        return box->text();
    if (auto *frame = qobject_cast<const FrameBox *>(w))
        return frame->title();
    return {};
}

struct ControlRow {
    const char16_t *name;
    const char *kind;
    const char16_t *container;
    const char16_t *caption;
    TwipsRect rect; // width 0: sized to its text, only the place is fixed
    bool hiddenAtStart;
};

// clang-format off
const ControlRow kDesignedControls[] = {
    {u"Command3", "QPushButton", u"Form1", u"&Grafik Yükle", {120, 240, 1830, 375}, false},
    {u"Command8", "QPushButton", u"Form1", u"İlk / &Başka Çizgi", {120, 600, 1830, 375}, false},
    {u"Command1", "QPushButton", u"Form1", u"Son &Noktayı Sil", {120, 960, 1830, 375}, false},
    {u"Command15", "QPushButton", u"Form1", u"Simgeleri Temizle", {120, 1320, 1830, 375}, false},
    {u"Command11", "QPushButton", u"Form1", u"&Farklı Eksen", {120, 1680, 1830, 375}, false},
    {u"Command9", "QPushButton", u"Form1", u"K&ullanma Kılavuzu", {120, 2040, 1830, 375}, false},
    {u"Command10", "QPushButton", u"Form1", u"&Adres", {120, 2400, 1830, 375}, false},
    {u"Command2", "QPushButton", u"Form1", u"ÇI&KIŞ", {120, 2760, 1830, 375}, false},
    {u"Line1", "QFrame", u"Form1", u"", {2100, 0, 15, 18600}, false},
    {u"Frame2", "FrameBox", u"Form1", u"Simge", {120, 3240, 1830, 3465}, false},
    {u"Picture2", "PictureBox", u"Frame2", u"", {120, 240, 405, 2295}, false},
    {u"Label21", "QLabel", u"Frame2", u"Simge Boyut:", {675, 360, 0, 0}, false},
    {u"VScroll1", "QScrollBar", u"Frame2", u"", {1200, 600, 255, 500}, false},
    {u"Label20", "QLabel", u"Frame2", u"2", {720, 720, 255, 255}, false},
    {u"Label17", "QLabel", u"Frame2", u"Çizgi Kalınlığı:", {675, 1440, 0, 0}, false},
    {u"Label18", "QLabel", u"Frame2", u"Simge Rengi:", {240, 2600, 0, 0}, false},
    {u"Picture3", "PictureBox", u"Form1", u"", {855, 4980, 750, 705}, false},
    {u"Picture4", "PictureBox", u"Form1", u"", {270, 6075, 1485, 525}, false},
    {u"Frame1", "FrameBox", u"Form1", u"İşaretçi ", {120, 6800, 1830, 810}, false},
    {u"Option3", "QToolButton", u"Frame1", u"", {120, 240, 495, 495}, false},
    {u"Option2", "QToolButton", u"Frame1", u"", {660, 240, 495, 495}, false},
    {u"Option1", "QToolButton", u"Frame1", u"", {1200, 240, 495, 495}, false},
    {u"Command16", "QPushButton", u"Form1", u"Formatları gizle", {120, 7665, 1815, 400}, false},
    {u"Frame3", "FrameBox", u"Form1", u"x ekseni", {120, 8175, 1815, 1375}, false},
    {u"Frame4", "FrameBox", u"Form1", u"y ekseni", {120, 9600, 1815, 1375}, false},
    {u"Option4", "QRadioButton", u"Frame3", u"0.00", {360, 240, 1095, 195}, false},
    {u"Option5", "QRadioButton", u"Frame3", u"0.0000", {360, 480, 1095, 195}, false},
    {u"Option6", "QRadioButton", u"Frame3", u"0.000E+00", {360, 720, 1095, 195}, false},
    {u"Command13", "QPushButton", u"Frame3", u"Kaydet", {240, 960, 1335, 315}, false},
    {u"Option7", "QRadioButton", u"Frame4", u"0.00", {360, 240, 1095, 195}, false},
    {u"Option8", "QRadioButton", u"Frame4", u"0.0000", {360, 480, 1095, 195}, false},
    {u"Option9", "QRadioButton", u"Frame4", u"0.000E+00", {360, 720, 1095, 195}, false},
    {u"Command14", "QPushButton", u"Frame4", u"Kaydet", {240, 960, 1335, 315}, false},
    {u"Label3", "QLabel", u"Form1", u"Yüklenen Dosya:  ", {2520, 210, 1335, 375}, false},
    {u"Text9", "QLineEdit", u"Form1", u"", {3840, 120, 2415, 360}, false},
    {u"Label1", "QLabel", u"Form1", u"Oluşturulan Dosya:", {6840, 210, 1380, 255}, false},
    {u"Text8", "QLineEdit", u"Form1", u"", {8280, 120, 2415, 360}, false},
    {u"Command18", "PictureButton", u"Form1", u" Windows Büyüteci", {10920, 120, 855, 1035}, false},
    {u"Label11", "QLabel", u"Form1", u"x =", {2760, 840, 255, 255}, true},
    {u"Label4", "QLabel", u"Form1", u"Label4", {3000, 840, 615, 255}, true},
    {u"Label12", "QLabel", u"Form1", u"y =", {3960, 840, 255, 255}, true},
    {u"Label5", "QLabel", u"Form1", u"Label5", {4200, 840, 615, 255}, true},
    {u"Label13", "QLabel", u"Form1", u"Gerçek x =", {5280, 840, 855, 255}, true},
    {u"Text6", "QLineEdit", u"Form1", u" ", {6120, 780, 1095, 285}, true},
    {u"Label14", "QLabel", u"Form1", u"Gerçek y =", {7320, 840, 855, 255}, true},
    {u"Text7", "QLineEdit", u"Form1", u" ", {8160, 780, 1095, 285}, true},
    {u"Label15", "QLabel", u"Form1", u"Çizgi : ", {9480, 840, 615, 255}, true},
    {u"Label16", "QLabel", u"Form1", u"0", {10080, 840, 495, 255}, true},
    {u"Picture1", "ChartPicture", u"Form1", u"", {3480, 1200, 4155, 4095}, true},
    {u"Picture6", "PictureBox", u"Form1", u"", {8280, 3000, 2775, 2535}, true},
    // Laid out around the designed picture at start-up.
    {u"Text1", "QLineEdit", u"Form1", u"", {3480, 5395, 855, 360}, true},
    {u"Label6", "QLabel", u"Form1", u"x0", {3605, 5795, 615, 255}, true},
    {u"Command4", "QPushButton", u"Form1", u"xO Ata", {3480, 6045, 855, 375}, true},
    {u"Text3", "QLineEdit", u"Form1", u"", {6780, 5395, 855, 360}, true},
    {u"Label8", "QLabel", u"Form1", u"x1", {7035, 5795, 615, 255}, true},
    {u"Command6", "QPushButton", u"Form1", u"x1 Ata", {6780, 6045, 855, 375}, true},
    {u"Text2", "QLineEdit", u"Form1", u"", {2525, 4895, 855, 360}, true},
    {u"Command5", "QPushButton", u"Form1", u"y0 Ata", {2505, 4235, 855, 375}, true},
    {u"Label7", "QLabel", u"Form1", u"y0", {2670, 4645, 615, 255}, true},
    {u"Text4", "QLineEdit", u"Form1", u"", {2505, 1200, 855, 360}, true},
    {u"Label9", "QLabel", u"Form1", u"y1", {2535, 1605, 735, 255}, true},
    {u"Command7", "QPushButton", u"Form1", u"y1 Ata", {2520, 1850, 855, 375}, true},
    {u"Check1", "QCheckBox", u"Form1", u"Logaritmik", {5257.5f, 5375, 1095, 255}, true},
    {u"Check2", "QCheckBox", u"Form1", u"", {3180, 2647.5f, 375, 255}, true},
    {u"Label2", "QLabel", u"Form1", u"Logaritmik", {2680, 2947.5f, 735, 375}, true},
};
// clang-format on

class Form1Test : public ::testing::Test {
protected:
    QTemporaryDir folder;
    CurrentFolder current{folder.path()};
    FakeDesktop desktop;
};

} // namespace

TEST_F(Form1Test, EveryControlHasItsNameKindCaptionPlaceAndStartVisibility)
{
    Form1 form(desktop);
    for (const ControlRow &row : kDesignedControls) {
        const QString name = QString::fromUtf16(row.name);
        SCOPED_TRACE(name.toStdString());
        auto *w = form.findChild<QWidget *>(name);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->inherits(row.kind)) << w->metaObject()->className();
        EXPECT_EQ(w->parentWidget()->objectName(), QString::fromUtf16(row.container));
        EXPECT_EQ(captionOf(w), QString::fromUtf16(row.caption));
        const TwipsRect at = twipsRect(w);
        EXPECT_EQ(at.left, row.rect.left);
        EXPECT_EQ(at.top, row.rect.top);
        if (row.rect.width > 0) {
            EXPECT_EQ(at.width, row.rect.width);
            EXPECT_EQ(at.height, row.rect.height);
        } else {
            EXPECT_GT(at.width, 0); // sized to its caption
        }
        EXPECT_EQ(w->isHidden(), row.hiddenAtStart);
    }
}

TEST_F(Form1Test, WindowOpensWithTitleDesignedSizeAndButtonColumnTabOrder)
{
    Form1 form(desktop);
    EXPECT_TRUE(form.windowTitle().startsWith(u"ZORVANE (Tessarix)   ("_s));
    EXPECT_TRUE(form.windowTitle().endsWith(u")"_s));
    EXPECT_EQ(form.size(), QSize(15120 / 15, 8430 / 15));
    EXPECT_FALSE(form.windowIcon().isNull());

    const QStringList order = {u"Command3"_s,  u"Command8"_s, u"Command1"_s,  u"Command15"_s,
                               u"Command11"_s, u"Command9"_s, u"Command10"_s, u"Command2"_s};
    for (qsizetype i = 1; i < order.size(); ++i)
        EXPECT_EQ(control(form, order[i - 1])->nextInFocusChain(), control(form, order[i])) << i;
}

TEST_F(Form1Test, DesignedSelectionsAndScrollRange)
{
    Form1 form(desktop);
    for (const char16_t *name : {u"Option2", u"Option5", u"Option8"})
        EXPECT_TRUE(control<QAbstractButton>(form, QString::fromUtf16(name))->isChecked());
    for (const char16_t *name : {u"Option1", u"Option3", u"Option4", u"Option6", u"Option7", u"Option9"})
        EXPECT_FALSE(control<QAbstractButton>(form, QString::fromUtf16(name))->isChecked());

    auto *scroll = control<QScrollBar>(form, u"VScroll1"_s);
    EXPECT_EQ(scroll->value(), 2);
    scroll->setValue(0);
    EXPECT_EQ(scroll->value(), 1);
    scroll->setValue(11);
    EXPECT_EQ(scroll->value(), 10);
}

TEST_F(Form1Test, AcceleratorsPressTheirButtons)
{
    Form1 form(desktop);
    const std::pair<const char16_t *, QChar> keys[] = {{u"Command3", u'G'},  {u"Command8", u'B'}, {u"Command1", u'N'},
                                                       {u"Command11", u'F'}, {u"Command9", u'U'}, {u"Command10", u'A'},
                                                       {u"Command2", u'K'}};
    for (const auto &[name, letter] : keys) {
        auto *button = control<QAbstractButton>(form, QString::fromUtf16(name));
        EXPECT_EQ(button->shortcut(), QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(letter.unicode()))))
            << QString::fromUtf16(name).toStdString();
    }
}

// The panel is one cyan surface: frames and option buttons alike, behind their captions and indicators.
TEST_F(Form1Test, FormatPanelOptionsAreDrawnOnTheFramesCyan)
{
    Form1 form(desktop);
    form.show();
    for (const char16_t *name :
         {u"Frame3", u"Frame4", u"Option4", u"Option5", u"Option6", u"Option7", u"Option8", u"Option9"}) {
        QWidget *w = control(form, QString::fromUtf16(name));
        const QImage drawn = w->grab().toImage();
        ASSERT_FALSE(drawn.isNull());
        // Right of any caption, and in the middle of the height.
        const QPoint spot(drawn.width() - 3, drawn.height() / 2 + (w->inherits("FrameBox") ? drawn.height() / 4 : 0));
        EXPECT_EQ(drawn.pixelColor(spot), QColor(0, 255, 255)) << QString::fromUtf16(name).toStdString();
    }
}
