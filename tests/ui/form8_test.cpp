#include "ui/form8.h"

#include "support/test_pdfs.h"
#include "support/widget_helpers.h"
#include "ui/page_preview.h"
#include "workspace/pdf_pages.h"
#include "workspace/picture_loader.h"

#include <QApplication>
#include <QImageReader>
#include <QLabel>
#include <QListView>
#include <QPdfDocument>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

class Form8Test : public ::testing::Test {
protected:
    void SetUp() override { raisePictureAllocationLimit(); } // as the main window does
    void TearDown() override { QImageReader::setAllocationLimit(m_limit); }

    std::unique_ptr<QPdfDocument> open(int pages, QSizeF size = kA4Points)
    {
        OpenedPdf pdf = openPdf(writeChartPdf(folder.filePath(u"makale.pdf"_s), pages, size));
        EXPECT_NE(pdf.document, nullptr);
        return std::move(pdf.document);
    }
    // Shown, with the thumbnails in view and the selected page drawn.
    static void shown(Form8 &chooser)
    {
        chooser.show();
        waitForPages(chooser);
    }
    static void waitForPages(Form8 &chooser)
    {
        auto *preview = control<PagePreview>(chooser, u"Picture1"_s);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return chooser.thumbnailsDrawn() >= chooser.thumbnailsInView() && !preview->picture().isNull(); },
            20000));
    }
    static QString label(const Form8 &chooser, const QString &name) { return control<QLabel>(chooser, name)->text(); }
    // A left-button drag on the preview between two fractions of the shown page.
    static void drag(const Form8 &chooser, QPointF from, QPointF to)
    {
        auto *preview = control<PagePreview>(chooser, u"Picture1"_s);
        const QRectF shown = preview->shownRect();
        const auto at = [&](QPointF f) {
            return QPoint(qRound(shown.left() + f.x() * shown.width()), qRound(shown.top() + f.y() * shown.height()));
        };
        QTest::mousePress(preview, Qt::LeftButton, {}, at(from));
        QTest::mouseMove(preview, at(to));
        QTest::mouseRelease(preview, Qt::LeftButton, {}, at(to));
    }

    QTemporaryDir folder;

private:
    int m_limit = QImageReader::allocationLimit();
};

} // namespace

TEST_F(Form8Test, OpensOnTheFirstPageAt300DpiDrawingOnlyTheThumbnailsInView)
{
    const auto document = open(500);
    Form8 chooser(*document, u"makale.pdf"_s);
    shown(chooser);
    EXPECT_EQ(chooser.windowTitle(), u"Sayfa Seç"_s);
    EXPECT_EQ(chooser.windowModality(), Qt::WindowModal);
    EXPECT_EQ(label(chooser, u"Label1"_s), u"Sayfa 1 / 500"_s);
    EXPECT_EQ(label(chooser, u"Label4"_s), u"makale.pdf"_s);
    EXPECT_TRUE(control<QRadioButton>(chooser, u"Option2"_s)->isChecked());
    EXPECT_EQ(label(chooser, u"Label3"_s), u"Resim: 2479 × 3508 piksel."_s);
    const PdfPageChoice choice = chooser.choice();
    EXPECT_EQ(choice.page, 0);
    EXPECT_EQ(choice.dpi, 300);
    EXPECT_TRUE(choice.regionPoints.isEmpty());
    const int first = chooser.thumbnailsDrawn();
    EXPECT_GE(chooser.thumbnailsInView(), 3);
    EXPECT_EQ(first, chooser.thumbnailsInView());

    // Scrolled to the end, the last pages are drawn, and still not those in between.
    auto *list = control<QListView>(chooser, u"List1"_s);
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return chooser.thumbnailsDrawn() >= first + chooser.thumbnailsInView(); }, 20000));
    QTest::qWait(50);
    EXPECT_EQ(chooser.thumbnailsDrawn(), first + chooser.thumbnailsInView());
}

TEST_F(Form8Test, ChoiceFollowsThePageTheResolutionAndTheDraggedRegion)
{
    const auto document = open(12);
    Form8 chooser(*document, u"makale.pdf"_s);
    shown(chooser);
    auto *list = control<QListView>(chooser, u"List1"_s);
    list->setCurrentIndex(list->model()->index(2, 0));
    EXPECT_EQ(label(chooser, u"Label1"_s), u"Sayfa 3 / 12"_s);
    // The preview shows that page once it is drawn.
    waitForPages(chooser);
    auto *preview = control<PagePreview>(chooser, u"Picture1"_s);
    const double scale = preview->picture().width() / kA4Points.width();
    const QPointF mark = (pageMarkAt(3) + QPointF(kPageMarkSide, kPageMarkSide) / 2) * scale;
    EXPECT_GT(qBlue(preview->picture().pixel(mark.toPoint())), 200);
    EXPECT_LT(qRed(preview->picture().pixel(mark.toPoint())), 60);
    control<QRadioButton>(chooser, u"Option3"_s)->click();
    EXPECT_EQ(label(chooser, u"Label3"_s), u"Resim: 4958 × 7017 piksel."_s);
    auto *wholePage = control<QPushButton>(chooser, u"Command3"_s);
    EXPECT_FALSE(wholePage->isEnabled());

    drag(chooser, {0.75, 0.5}, {0.25, 0.25});
    PdfPageChoice choice = chooser.choice();
    EXPECT_EQ(choice.page, 2);
    EXPECT_EQ(choice.dpi, 600);
    const double pointsPerPixel = kA4Points.width() / control<PagePreview>(chooser, u"Picture1"_s)->shownRect().width();
    EXPECT_NEAR(choice.regionPoints.left(), 0.25 * kA4Points.width(), pointsPerPixel);
    EXPECT_NEAR(choice.regionPoints.top(), 0.25 * kA4Points.height(), pointsPerPixel);
    EXPECT_NEAR(choice.regionPoints.width(), 0.5 * kA4Points.width(), 2 * pointsPerPixel);
    EXPECT_NEAR(choice.regionPoints.height(), 0.25 * kA4Points.height(), 2 * pointsPerPixel);
    EXPECT_TRUE(wholePage->isEnabled());
    EXPECT_EQ(label(chooser, u"Label2"_s), u"Sayfanın seçilen bölümü alınacak."_s);

    // The whole page again: by the button, by a click without a drag, and by another page.
    click(chooser, u"Command3"_s);
    EXPECT_TRUE(chooser.choice().regionPoints.isEmpty());
    drag(chooser, {0.1, 0.1}, {0.5, 0.5});
    drag(chooser, {0.3, 0.3}, {0.3, 0.3});
    EXPECT_TRUE(chooser.choice().regionPoints.isEmpty());
    drag(chooser, {0.1, 0.1}, {0.5, 0.5});
    list->setCurrentIndex(list->model()->index(3, 0));
    EXPECT_TRUE(chooser.choice().regionPoints.isEmpty());
    EXPECT_FALSE(wholePage->isEnabled());
}

TEST_F(Form8Test, EnterAndAcOpenEscapeAndVazgecCancel)
{
    const auto document = open(2);
    const struct {
        const char *how;
        std::function<void(Form8 &)> act;
        int result;
    } rows[] = {
        {"Enter", [](Form8 &c) { QTest::keyClick(&c, Qt::Key_Return); }, QDialog::Accepted},
        {"Aç", [](Form8 &c) { click(c, u"Command1"_s); }, QDialog::Accepted},
        {"Esc", [](Form8 &c) { QTest::keyClick(&c, Qt::Key_Escape); }, QDialog::Rejected},
        {"Vazgeç", [](Form8 &c) { click(c, u"Command2"_s); }, QDialog::Rejected},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.how);
        Form8 chooser(*document, u"makale.pdf"_s);
        shown(chooser);
        chooser.setResult(-1);
        r.act(chooser);
        EXPECT_EQ(chooser.result(), r.result);
        EXPECT_FALSE(chooser.isVisible());
    }
    Form8 chooser(*document, u"makale.pdf"_s);
    EXPECT_EQ(control<QPushButton>(chooser, u"Command1"_s)->text(), u"&Aç"_s);
    EXPECT_EQ(control<QPushButton>(chooser, u"Command2"_s)->text(), u"&Vazgeç"_s);
}

TEST_F(Form8Test, SaysBeforeDrawingWhenTheResolutionIsLowered)
{
    QImageReader::setAllocationLimit(8); // 1448 pixels square at most
    const auto document = open(1, {1000, 1000});
    Form8 chooser(*document, u"makale.pdf"_s);
    shown(chooser);
    EXPECT_EQ(label(chooser, u"Label3"_s),
              u"Dikkat: 300 dpi ile resim açılabilecek boyutu aşıyor; sayfa 104 dpi ile çizilecek (1444 × 1444 "
              u"piksel)."_s);
    drag(chooser, {0.1, 0.1}, {0.3, 0.3}); // 200 points square: 833 pixels at 300 dpi
    EXPECT_TRUE(label(chooser, u"Label3"_s).startsWith(u"Resim: "_s)) << label(chooser, u"Label3"_s).toStdString();
}
