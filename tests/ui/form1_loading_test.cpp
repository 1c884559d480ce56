#include "support/fake_desktop.h"
#include "support/test_charts.h"
#include "support/widget_helpers.h"
#include "ui/chart_picture.h"
#include "ui/form1.h"
#include "ui/loading_fixture.h"
#include "ui/twips_widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

class Form1Loading : public LoadingTest {
protected:
    QString picture(QSize size, const QString &name)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor(250, 250, 240));
        return saveChart(image, folder.path(), name);
    }
};

} // namespace

TEST_F(Form1Loading, LargePictureIsScaledToTheScreenAsADrawing)
{
    Form1 form(desktop);
    loadThroughDialog(form, picture({1600, 1200}, u"büyük grafik.jpg"_s));
    ASSERT_TRUE(desktop.warnings.isEmpty());
    EXPECT_EQ(desktop.dialogTitles, QStringList{u" Resim Dosyaları "_s});
    EXPECT_TRUE(desktop.dialogFilters.front().startsWith(u"JPG Resimler (*.jpg);;BMP Resimler (*.bmp)"_s));

    auto *chart = control<ChartPicture>(form, u"Picture1"_s);
    const TwipsRect area = twipsRect(chart);
    EXPECT_EQ(area.left, 3480);
    EXPECT_EQ(area.top, 1200);
    EXPECT_NEAR(area.width, 10560, 0.5);
    EXPECT_NEAR(area.height, 7920, 0.5);
    EXPECT_TRUE(chart->naturalPicture().isNull());
    EXPECT_EQ(chart->drawings().pixelColor(300, 300), QColor(250, 250, 240));
    EXPECT_FALSE(chart->isHidden());

    EXPECT_EQ(text(form, u"Text9"_s), u"büyük grafik.jpg"_s);
    EXPECT_EQ(form.state().curveFileStem, u"büyük grafik"_s);
    EXPECT_EQ(form.state().curveFileName, u"büyük grafik_0.txt"_s);
    EXPECT_EQ(QDir::current(), QDir(folder.path())); // curve files go beside the picture
    // The calibration controls stand around the new size.
    EXPECT_NEAR(twipsRect(control(form, u"Text1"_s)).top, 1200 + 7920 + 100, 0.5);

    // Clearing the drawings takes a scaled chart with them.
    chart->eraseDrawings();
    EXPECT_EQ(qAlpha(chart->drawings().pixel(300, 300)), 0);
}

TEST_F(Form1Loading, SmallPictureIsShownAtItsNaturalSize)
{
    Form1 form(desktop);
    loadThroughDialog(form, picture({500, 400}, u"egri.jpeg"_s));
    auto *chart = control<ChartPicture>(form, u"Picture1"_s);
    EXPECT_EQ(chart->naturalPicture().size(), QSize(500, 400));
    EXPECT_EQ(chart->areaSize(), QSize(500, 400));
    EXPECT_EQ(form.state().curveFileStem, u"egri."_s);
    EXPECT_EQ(form.state().curveFileName, u"egri._0.txt"_s);
    for (const char16_t *name : {u"Text1", u"Text6", u"Label4", u"Label16", u"Check1", u"Command7", u"Label2"})
        EXPECT_FALSE(control(form, QString::fromUtf16(name))->isHidden()) << QString::fromUtf16(name).toStdString();
}

TEST_F(Form1Loading, FirstCancelHidesEverythingAgainLaterCancelReloads)
{
    Form1 form(desktop);
    loadThroughDialog(form, QString());
    EXPECT_TRUE(control(form, u"Picture1"_s)->isHidden());
    EXPECT_TRUE(control(form, u"Text1"_s)->isHidden());
    EXPECT_TRUE(text(form, u"Text9"_s).isEmpty());
    EXPECT_TRUE(form.state().curveFileName.isEmpty());

    const QString path = picture({300, 200}, u"graf.bmp"_s);
    loadThroughDialog(form, path);
    typeInto(form, u"Text1"_s, u"5"_s);
    pressOnChart(form, {10, 10});
    click(form, u"Command8"_s);
    click(form, u"Command8"_s);
    ASSERT_EQ(form.state().curveNumber, 2);
    control<QLabel>(form, u"Label6"_s)->setText(u"750"_s);

    loadThroughDialog(form, QString()); // cancel: the same picture again, from the start of calibration
    EXPECT_FALSE(control(form, u"Picture1"_s)->isHidden());
    EXPECT_EQ(form.state().curveNumber, 0);
    EXPECT_EQ(form.state().curveFileName, u"graf_2.txt"_s);
    EXPECT_TRUE(text(form, u"Text1"_s).isEmpty());
    EXPECT_TRUE(text(form, u"Text8"_s).isEmpty());
    EXPECT_EQ(control<QLabel>(form, u"Label6"_s)->text(), u"x0"_s);
    EXPECT_TRUE(control(form, u"Text1"_s)->isEnabled());
    EXPECT_TRUE(control(form, u"Command4"_s)->isEnabled());
    EXPECT_EQ(form.state().lastClickX, 150); // calibration and the last click survive a load
}

TEST_F(Form1Loading, UnreadablePictureWarnsAndChangesNothing)
{
    Form1 form(desktop);
    loadThroughDialog(form, picture({300, 200}, u"good.jpg"_s));
    control<QCheckBox>(form, u"Check1"_s)->setChecked(true);
    typeInto(form, u"Text1"_s, u"12"_s);

    QFile(QDir(folder.path()).filePath(u"empty.jpg"_s)).open(QIODevice::WriteOnly);
    QFile textFile(QDir(folder.path()).filePath(u"notes.jpg"_s));
    ASSERT_TRUE(textFile.open(QIODevice::WriteOnly));
    textFile.write("not a picture at all\n");
    textFile.close();
    QDir(folder.path()).mkdir(u"folder.jpg"_s);
    QTemporaryDir elsewhere;
    CurrentFolder there(elsewhere.path());

    for (const char16_t *name : {u"empty.jpg", u"notes.jpg", u"folder.jpg", u"missing.jpg"}) {
        const QString file = QString::fromUtf16(name);
        SCOPED_TRACE(file.toStdString());
        desktop.warnings.clear();
        loadThroughDialog(form, QDir(folder.path()).filePath(file));
        ASSERT_EQ(desktop.warnings.size(), 1);
        EXPECT_TRUE(desktop.warnings.front().contains(file));
        EXPECT_EQ(desktop.busyAtWarnings.back(), false); // the busy pointer is gone before the box
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(text(form, u"Text9"_s), u"good.jpg"_s);
        EXPECT_EQ(text(form, u"Text1"_s), u"12"_s);
        EXPECT_TRUE(control<QCheckBox>(form, u"Check1"_s)->isChecked());
        EXPECT_EQ(control<ChartPicture>(form, u"Picture1"_s)->naturalPicture().size(), QSize(300, 200));
        EXPECT_EQ(QDir::current(), QDir(elsewhere.path()));
    }
    // A cancel after that reloads the last picture that did load.
    loadThroughDialog(form, QString());
    EXPECT_EQ(desktop.warnings.size(), 1);
    EXPECT_EQ(text(form, u"Text9"_s), u"good.jpg"_s);
}

TEST_F(Form1Loading, NewPictureAfterThreeCurvesKeepsTheOldCurveNumberInTheName)
{
    Form1 form(desktop);
    loadThroughDialog(form, picture({300, 200}, u"first.jpg"_s));
    typeInto(form, u"Text4"_s, u"1"_s);
    pressOnChart(form, {5, 5});
    for (int i = 0; i < 3; ++i)
        click(form, u"Command8"_s);
    loadThroughDialog(form, picture({300, 200}, u"second.jpg"_s));
    EXPECT_EQ(form.state().curveFileName, u"second_3.txt"_s);
    EXPECT_EQ(form.state().curveNumber, 0);
    typeInto(form, u"Text4"_s, u"1"_s);
    click(form, u"Command8"_s);
    EXPECT_EQ(form.state().curveFileName, u"second_1.txt"_s);
}

TEST_F(Form1Loading, DroppedPictureLoadsLikeAChosenOne)
{
    Form1 form(desktop);
    const QString path = picture({320, 240}, u"bırakılan.png"_s);
    EXPECT_TRUE(dropFile(form, path));
    EXPECT_EQ(text(form, u"Text9"_s), u"bırakılan.png"_s);
    EXPECT_EQ(control<ChartPicture>(form, u"Picture1"_s)->naturalPicture().size(), QSize(320, 240));
    loadThroughDialog(form, QString()); // and the dialog's cancel yields it again
    EXPECT_EQ(text(form, u"Text9"_s), u"bırakılan.png"_s);
    EXPECT_TRUE(desktop.warnings.isEmpty());
}

TEST_F(Form1Loading, PasteLoadsACopiedFileOrSavesPictureDataBesideTheCurveFiles)
{
    Form1 form(desktop);
    const QString copied = picture({320, 240}, u"kopyalanan.png"_s);
    QImage screenshot(200, 150, QImage::Format_RGB32);
    screenshot.fill(QColor(20, 90, 200));
    QTemporaryDir pasteFolder;
    struct Row {
        const char *what;
        std::function<void(QMimeData &)> fill;
        QString shown; // in Text9; empty: a warning and nothing loaded
    };
    const Row rows[] = {
        {"a copied picture file", [&](QMimeData &m) { m.setUrls({QUrl::fromLocalFile(copied)}); }, u"kopyalanan.png"_s},
        {"picture data", [&](QMimeData &m) { m.setImageData(screenshot); }, u"pano-"_s},
        {"text", [](QMimeData &m) { m.setText(u"12.5"_s); }, {}},
        {"two files",
         [&](QMimeData &m) {
             m.setUrls({QUrl::fromLocalFile(copied), QUrl::fromLocalFile(copied)});
         },
         {}},
        {"nothing", [](QMimeData &) {}, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        loadThroughDialog(form, picture({300, 200}, u"önceki.jpg"_s));
        QDir::setCurrent(pasteFolder.path());
        const QStringList before = QDir(pasteFolder.path()).entryList(QDir::Files);
        desktop.warnings.clear();
        desktop.clipboardData.clear();
        row.fill(desktop.clipboardData);
        QTest::keyClick(&form, Qt::Key_V, Qt::ControlModifier);

        const QStringList added = QDir(pasteFolder.path()).entryList(QDir::Files);
        if (row.shown.isEmpty()) {
            EXPECT_EQ(desktop.warnings, QStringList{u"Panoda bir resim yok."_s});
            EXPECT_EQ(text(form, u"Text9"_s), u"önceki.jpg"_s);
            EXPECT_EQ(added, before);
            continue;
        }
        EXPECT_TRUE(desktop.warnings.isEmpty()) << desktop.warnings.join(u'|').toStdString();
        EXPECT_TRUE(text(form, u"Text9"_s).startsWith(row.shown)) << text(form, u"Text9"_s).toStdString();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        if (row.shown == u"pano-"_s) {
            // Saved as PNG in the current folder, which stays the picture's folder.
            ASSERT_EQ(added.size(), before.size() + 1);
            const QString saved = text(form, u"Text9"_s);
            EXPECT_TRUE(added.contains(saved));
            EXPECT_TRUE(saved.endsWith(u".png"_s));
            EXPECT_EQ(QImage(QDir(pasteFolder.path()).filePath(saved)).convertToFormat(QImage::Format_RGB32),
                      screenshot);
            EXPECT_EQ(QDir::current(), QDir(pasteFolder.path()));
            EXPECT_EQ(form.state().curveFileStem, saved.chopped(4));
        } else {
            EXPECT_EQ(QDir::current(), QDir(folder.path()));
        }
    }
}

TEST_F(Form1Loading, PasteIntoAValueBoxStaysThere)
{
    Form1 form(desktop);
    loadThroughDialog(form, picture({300, 200}, u"grafik.jpg"_s));
    desktop.clipboardData.setImageData(QImage(10, 10, QImage::Format_RGB32));
    QGuiApplication::clipboard()->setText(u"42"_s);
    auto *box = control<QLineEdit>(form, u"Text1"_s);
    box->clear();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), u"42"_s);
    EXPECT_EQ(text(form, u"Text9"_s), u"grafik.jpg"_s);
    EXPECT_TRUE(desktop.warnings.isEmpty());
}
