#include "support/fake_desktop.h"
#include "support/widget_helpers.h"
#include "ui/form1.h"
#include "ui/form6.h"
#include "ui/picture_box.h"
#include "ui/twips_widgets.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

class Form1StartUp : public ::testing::Test {
protected:
    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(QDir(folder.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir folder;
    CurrentFolder current{folder.path()};
};

TwipsPoint placeOf(const Form1 &form, const QString &name)
{
    const TwipsRect r = twipsRect(control(form, name));
    return {r.left, r.top};
}

} // namespace

TEST_F(Form1StartUp, ScreenSizeDecidesWhereTheFormatPanelAndMagnifierStand)
{
    struct Row {
        QSize screen;
        bool movedToTop;
    };
    for (const Row &row :
         {Row{{1024, 768}, false}, Row{{1024, 699}, false}, Row{{1024, 600}, true}, Row{{800, 480}, true}}) {
        SCOPED_TRACE(::testing::Message() << row.screen.width() << " x " << row.screen.height());
        FakeDesktop desktop(row.screen);
        const Form1 form(desktop);
        const float w = row.screen.width() * 15.0f;
        if (row.movedToTop) {
            EXPECT_EQ(placeOf(form, u"Command16"_s), (TwipsPoint{w - 2250, 120}));
            EXPECT_EQ(placeOf(form, u"Frame3"_s), (TwipsPoint{w - 2250, 600}));
            EXPECT_EQ(placeOf(form, u"Frame4"_s), (TwipsPoint{w - 2250, 2000}));
            EXPECT_EQ(placeOf(form, u"Command18"_s), (TwipsPoint{w - 3250, 120}));
        } else {
            EXPECT_EQ(placeOf(form, u"Command16"_s), (TwipsPoint{120, 7665}));
            EXPECT_EQ(placeOf(form, u"Frame3"_s), (TwipsPoint{120, 8175}));
            EXPECT_EQ(placeOf(form, u"Frame4"_s), (TwipsPoint{120, 9600}));
            EXPECT_EQ(placeOf(form, u"Command18"_s), (TwipsPoint{10920, 120}));
        }
        EXPECT_EQ(form.printedLines(),
                  QStringList{u"Ekran: %1 x %2 "_s.arg(row.screen.width()).arg(row.screen.height())});
        EXPECT_EQ(form.state().screenWidthPx, row.screen.width());
        EXPECT_EQ(form.state().screenHeightPx, row.screen.height());
    }
}

TEST_F(Form1StartUp, SmallScreenPanelFollowsTheMaximizedWindowWidth)
{
    FakeDesktop desktop({1280, 600});
    desktop.available = {1200, 560}; // a panel at the side takes 80 pixels
    const Form1 form(desktop);
    EXPECT_EQ(placeOf(form, u"Command16"_s).left, 1200 * 15 - 2250);
    EXPECT_EQ(placeOf(form, u"Command18"_s).left, 1200 * 15 - 3250);
}

TEST_F(Form1StartUp, StateStartsWithItsStartValues)
{
    FakeDesktop desktop;
    const Form1 form(desktop);
    const DigitizingState &s = form.state();
    EXPECT_EQ(s.curveNumber, 0);
    EXPECT_EQ(s.pointNumber, 0);
    EXPECT_EQ(s.symbolShape, 4);
    EXPECT_EQ(s.symbolSize, 2);
    EXPECT_EQ((std::array{s.symbolRed, s.symbolGreen, s.symbolBlue}), (std::array<std::int16_t, 3>{0, 0, 255}));
    EXPECT_EQ(s.formatsPanelHidden, 0);
    EXPECT_EQ(s.xFormatChoice, 0);
    EXPECT_EQ(s.yFormatChoice, 0);
    EXPECT_EQ(s.lastClickX, 0);
    EXPECT_EQ(s.calibX1Pos, 0);
    EXPECT_TRUE(s.curveFileStem.isEmpty());
    EXPECT_TRUE(s.curveFileName.isEmpty());
    EXPECT_EQ(control<QLabel>(form, u"Label20"_s)->text(), u"2"_s);
}

TEST_F(Form1StartUp, PalettesShowTheirStartStates)
{
    FakeDesktop desktop;
    const Form1 form(desktop);
    const Form6 store;
    EXPECT_EQ(control<PictureBox>(form, u"Picture2"_s)->picture(), store.picture(u"Picture25"_s)); // circle
    EXPECT_EQ(control<PictureBox>(form, u"Picture3"_s)->picture(), store.picture(u"Picture4"_s));  // 1 pixel
    EXPECT_EQ(control<PictureBox>(form, u"Picture4"_s)->picture(), store.picture(u"Picture9"_s));  // blue
}

TEST_F(Form1StartUp, SavedFormatsSelectTheirOptions)
{
    struct Row {
        const char *xContent; // nullptr: no file
        std::int16_t choice;
        const char16_t *selected;
    };
    const Row rows[] = {
        {" 3 \r\n", 3, u"Option6"}, {"2.5", 2, u"Option5"}, {"1", 1, u"Option4"},     {"0", 0, u"Option5"},
        {"abc", 0, u"Option5"},     {"7", 7, u"Option5"},   {nullptr, 0, u"Option5"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.xContent ? row.xContent : "missing file");
        QFile::remove(QDir(folder.path()).filePath(u"xformats.txt"_s));
        if (row.xContent)
            writeFile(u"xformats.txt"_s, row.xContent);
        writeFile(u"yformats.txt"_s, " 1 \r\n");
        FakeDesktop desktop;
        const Form1 form(desktop);
        EXPECT_EQ(form.state().xFormatChoice, row.choice);
        EXPECT_TRUE(control<QAbstractButton>(form, QString::fromUtf16(row.selected))->isChecked());
        EXPECT_EQ(form.state().yFormatChoice, 1);
        EXPECT_TRUE(control<QAbstractButton>(form, u"Option7"_s)->isChecked());
    }
}

TEST_F(Form1StartUp, FormatFilesAreReadFromTheStartFolderOnly)
{
    writeFile(u"yformats.txt"_s, " 3 \r\n");
    QTemporaryDir elsewhere;
    FakeDesktop desktop;
    std::unique_ptr<Form1> form;
    {
        CurrentFolder other(elsewhere.path()); // no format files there
        form = std::make_unique<Form1>(desktop);
    }
    EXPECT_EQ(form->state().yFormatChoice, 0);
    FakeDesktop desktop2;
    const Form1 here(desktop2);
    EXPECT_EQ(here.state().yFormatChoice, 3);
}
