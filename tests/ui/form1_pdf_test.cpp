#include "support/fake_desktop.h"
#include "support/test_charts.h"
#include "support/test_pdfs.h"
#include "support/widget_helpers.h"
#include "ui/bad_input_support.h"
#include "ui/chart_picture.h"
#include "ui/form1.h"
#include "ui/loading_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

using Form1Pdf = LoadingTest;

} // namespace

TEST_F(Form1Pdf, ChosenPageIsSavedBesideThePdfAndLoadedAsItsPicture)
{
    const QString pdf = writeChartPdf(folder.filePath(u"makale.pdf"_s), 3);
    Form1 form(desktop);
    desktop.pageAnswers.push_back(PdfPageChoice{1, 150, {}});
    loadThroughDialog(form, pdf);
    ASSERT_TRUE(desktop.warnings.isEmpty()) << desktop.warnings.join(u' ').toStdString();
    EXPECT_TRUE(desktop.dialogFilters.front().startsWith(
        u"JPG Resimler (*.jpg);;BMP Resimler (*.bmp);;PDF Belgeler (*.pdf);;Diğer Resimler ("_s));
    EXPECT_EQ(desktop.pageChooserFiles, QStringList{u"makale.pdf"_s});
    EXPECT_EQ(desktop.pageChooserPageCounts, QList<int>{3});

    const QImage saved(folder.filePath(u"makale-s2.png"_s), "png");
    EXPECT_EQ(saved.size(), QSize(1240, 1754));
    EXPECT_EQ(text(form, u"Text9"_s), u"makale-s2.png"_s);
    EXPECT_EQ(form.state().curveFileStem, u"makale-s2"_s);
    EXPECT_EQ(QDir::current(), QDir(folder.path())); // curve files go beside the picture and the PDF
    auto *chart = control<ChartPicture>(form, u"Picture1"_s);
    EXPECT_FALSE(chart->isHidden());
    EXPECT_TRUE(chart->naturalPicture().isNull()); // larger than the screen: shown reduced, as any picture

    // The same page again gets a name of its own.
    desktop.pageAnswers.push_back(PdfPageChoice{1, 150, {}});
    dropFile(form, pdf);
    EXPECT_EQ(text(form, u"Text9"_s), u"makale-s2-2.png"_s);
    EXPECT_TRUE(QFile::exists(folder.filePath(u"makale-s2.png"_s)));

    // A PDF copied in a file manager and pasted takes the same way.
    desktop.pageAnswers.push_back(PdfPageChoice{0, 150, {}});
    desktop.clipboardData.setUrls({QUrl::fromLocalFile(pdf)});
    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QApplication::sendEvent(&form, &paste);
    EXPECT_EQ(desktop.pageChooserFiles.size(), 3);
    EXPECT_EQ(text(form, u"Text9"_s), u"makale-s1.png"_s);
}

TEST_F(Form1Pdf, PdfIsKnownByAnyCaseOfItsExtensionOrByItsContent)
{
    QFile::copy(writeChartPdf(folder.filePath(u"a.pdf"_s), 1), folder.filePath(u"tarama.jpg"_s));
    QFile::rename(folder.filePath(u"a.pdf"_s), folder.filePath(u"RAPOR.PDF"_s));
    const struct {
        QString name;
        QString picture;
    } rows[] = {{u"RAPOR.PDF"_s, u"RAPOR-s1.png"_s}, {u"tarama.jpg"_s, u"tarama-s1.png"_s}};
    Form1 form(desktop);
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name.toStdString());
        desktop.pageAnswers.push_back(PdfPageChoice{0, 72, {}});
        dropFile(form, folder.filePath(r.name));
        ASSERT_FALSE(desktop.pageChooserFiles.isEmpty());
        EXPECT_EQ(desktop.pageChooserFiles.back(), r.name);
        EXPECT_EQ(text(form, u"Text9"_s), r.picture);
    }
    EXPECT_TRUE(desktop.warnings.isEmpty());
}

TEST_F(Form1Pdf, VazgecOrAnUnreadablePdfLeavesTheWindowTheStateAndTheFolderAsTheyWere)
{
    const struct {
        QString name;
        std::function<QString(const QString &)> write;
        QString warning; // none: the chooser is shown and cancelled
    } rows[] = {
        {u"makale.pdf"_s, [](const QString &p) { return writeChartPdf(p, 2); }, {}},
        {u"gizli.pdf"_s, writePasswordPdf, u"\"gizli.pdf\" belgesi parola korumalı."_s},
        {u"yarım.pdf"_s, writeBrokenPdf, u"\"yarım.pdf\" dosyası PDF belgesi olarak açılamadı."_s},
        {u"boş.pdf"_s, [](const QString &p) { return writeBytes(p, {}) ? p : QString(); },
         u"\"boş.pdf\" dosyası PDF belgesi olarak açılamadı."_s},
        {u"sayfasız.pdf"_s, writePagelessPdf, u"\"sayfasız.pdf\" belgesinde hiç sayfa yok; açılamadı."_s},
    };
    Form1 form(desktop);
    loadThroughDialog(form, saveChart(linearChart().image, folder.path(), u"eğri.png"_s));
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name.toStdString());
        ASSERT_FALSE(r.write(folder.filePath(r.name)).isEmpty());
        const FolderSnapshot before = snapshotOf(folder.path());
        const DigitizingState state = form.state();
        desktop.warnings.clear();
        desktop.pageChooserFiles.clear();
        loadThroughDialog(form, folder.filePath(r.name));
        EXPECT_EQ(desktop.pageChooserFiles, r.warning.isEmpty() ? QStringList{r.name} : QStringList{});
        EXPECT_EQ(desktop.warnings, r.warning.isEmpty() ? QStringList{} : QStringList{r.warning});
        EXPECT_EQ(changedPaths(before, snapshotOf(folder.path())), std::vector<std::string>{});
        EXPECT_EQ(text(form, u"Text9"_s), u"eğri.png"_s);
        EXPECT_EQ(form.state().curveFileStem, state.curveFileStem);
        EXPECT_EQ(form.state().curveFileName, state.curveFileName);
    }
}
