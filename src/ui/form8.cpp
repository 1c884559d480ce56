#include "ui/form8.h"

#include "ui/background_pages.h"
#include "ui/page_preview.h"
#include "workspace/picture_loader.h"

#include <QAbstractListModel>
#include <QBoxLayout>
#include <QCache>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPdfDocument>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize kThumbnailBox{96, 128};
constexpr QSize kThumbnailCell{120, 156}; // the box, the page number under it, and some room
constexpr int kKeptThumbnails = 400; // about 20 MB

} // namespace

// The pages for the thumbnail list. Laid out on a fixed grid, the list asks only for the items it paints, so a
// page is asked for when it first comes into view and a long paper opens at once; it shows when it is drawn.
class PageThumbnails final : public QAbstractListModel {
public:
    PageThumbnails(QPdfDocument &document, BackgroundPages &pages, QObject *parent)
        : QAbstractListModel(parent)
        , m_pages(pages)
        , m_pageCount(document.pageCount())
        , m_drawn(kKeptThumbnails)
    {
        connect(&pages, &BackgroundPages::drawn, this, [this](int page, QSize box, const QImage &image) {
            if (box != kThumbnailBox)
                return;
            if (!m_drawn.contains(page))
                ++m_drawnCount;
            m_drawn.insert(page, new QPixmap(QPixmap::fromImage(image)));
            emit dataChanged(index(page), index(page), {Qt::DecorationRole});
        });
    }

    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : m_pageCount; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_pageCount)
            return {};
        switch (role) {
        case Qt::DisplayRole:
            return QString::number(index.row() + 1);
        case Qt::DecorationRole:
            if (const QPixmap *drawn = m_drawn.object(index.row()))
                return *drawn;
            m_pages.request(index.row(), kThumbnailBox);
            return {};
        case Qt::SizeHintRole:
            return kThumbnailCell; // else the list measures an item by drawing its page
        case Qt::TextAlignmentRole:
            return int(Qt::AlignHCenter | Qt::AlignBottom);
        default:
            return {};
        }
    }

    [[nodiscard]] int drawnCount() const { return m_drawnCount; }

private:
    BackgroundPages &m_pages;
    int m_pageCount = 0;
    QCache<int, QPixmap> m_drawn;
    int m_drawnCount = 0;
};

Form8::Form8(QPdfDocument &document, const QString &fileName, QWidget *parent)
    : QDialog(parent)
    , m_document(document)
    , m_pages(new BackgroundPages(document, this))
{
    setObjectName(u"Form8"_s);
    setWindowTitle(u"Sayfa Seç"_s);
    setWindowModality(Qt::WindowModal);
    createPageControls(fileName);
    createChoiceControls();

    auto *pages = new QHBoxLayout;
    pages->addWidget(List1);
    auto *selected = new QVBoxLayout;
    selected->addWidget(Label4);
    selected->addWidget(Picture1, 1);
    selected->addWidget(Label1);
    pages->addLayout(selected, 1);
    auto *choices = new QHBoxLayout;
    choices->addWidget(Frame1);
    choices->addWidget(Frame2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Label3, 1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto *all = new QVBoxLayout(this);
    all->addLayout(pages, 1);
    all->addLayout(choices);
    all->addLayout(buttons);
    resize(820, 680);

    List1->setCurrentIndex(m_thumbnails->index(0));
}

Form8::~Form8() = default;

void Form8::createPageControls(const QString &fileName)
{
    m_thumbnails = new PageThumbnails(m_document, *m_pages, this);
    List1 = new QListView(this);
    List1->setObjectName(u"List1"_s);
    List1->setViewMode(QListView::IconMode);
    List1->setFlow(QListView::TopToBottom);
    List1->setWrapping(false);
    List1->setMovement(QListView::Static);
    List1->setUniformItemSizes(true);
    List1->setIconSize(kThumbnailBox);
    List1->setGridSize(kThumbnailCell);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setFixedWidth(kThumbnailCell.width() + 28); // and a scroll bar
    List1->setModel(m_thumbnails);
    connect(List1->selectionModel(), &QItemSelectionModel::currentChanged, this, &Form8::List1_CurrentChanged);

    Picture1 = new PagePreview(this);
    Picture1->setObjectName(u"Picture1"_s);
    connect(Picture1, &PagePreview::regionChanged, this, &Form8::showChoice);
    connect(Picture1, &PagePreview::shownSizeChanged, this, &Form8::Picture1_ShownSizeChanged);
    connect(m_pages, &BackgroundPages::drawn, this, [this](int page, QSize box, const QImage &image) {
        if (page == choice().page && box == Picture1->shownRect().size().toSize())
            Picture1->setPicture(image);
    });
    Label4 = new QLabel(fileName, this);
    Label4->setObjectName(u"Label4"_s);
    Label1 = new QLabel(this);
    Label1->setObjectName(u"Label1"_s);
    Label1->setAlignment(Qt::AlignHCenter);
}

void Form8::createChoiceControls()
{
    Frame1 = new QGroupBox(u"Çözünürlük"_s, this);
    Frame1->setObjectName(u"Frame1"_s);
    auto *resolutions = new QHBoxLayout(Frame1);
    QRadioButton **options[] = {&Option1, &Option2, &Option3};
    const int dpis[] = {150, 300, 600};
    for (int i = 0; i < 3; ++i) {
        auto *option = new QRadioButton(u"%1 dpi"_s.arg(dpis[i]), Frame1);
        option->setObjectName(u"Option%1"_s.arg(i + 1));
        resolutions->addWidget(option);
        *options[i] = option;
        connect(option, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                showChoice();
        });
    }
    const QSignalBlocker quiet(Option2); // the first page's selection shows the choice
    Option2->setChecked(true);

    Frame2 = new QGroupBox(u"Bölge"_s, this);
    Frame2->setObjectName(u"Frame2"_s);
    auto *region = new QHBoxLayout(Frame2);
    Label2 = new QLabel(Frame2);
    Label2->setObjectName(u"Label2"_s);
    Label2->setWordWrap(true);
    Command3 = new QPushButton(u"&Tüm Sayfa"_s, Frame2);
    Command3->setObjectName(u"Command3"_s);
    Command3->setAutoDefault(false);
    region->addWidget(Label2, 1);
    region->addWidget(Command3);
    connect(Command3, &QPushButton::clicked, this, &Form8::Command3_Click);

    Label3 = new QLabel(this);
    Label3->setObjectName(u"Label3"_s);
    Label3->setWordWrap(true);
    Command1 = new QPushButton(u"&Aç"_s, this);
    Command1->setObjectName(u"Command1"_s);
    Command1->setDefault(true); // Enter
    Command2 = new QPushButton(u"&Vazgeç"_s, this);
    Command2->setObjectName(u"Command2"_s);
    Command2->setAutoDefault(false); // Esc cancels through the dialog itself
    connect(Command1, &QPushButton::clicked, this, &Form8::accept);
    connect(Command2, &QPushButton::clicked, this, &Form8::reject);
}

PdfPageChoice Form8::choice() const
{
    PdfPageChoice out;
    out.page = std::max(List1->currentIndex().row(), 0);
    out.dpi = Option1->isChecked() ? 150 : Option3->isChecked() ? 600 : 300;
    out.regionPoints = Picture1->region();
    return out;
}

int Form8::thumbnailsDrawn() const
{
    return m_thumbnails->drawnCount();
}

int Form8::thumbnailsInView() const
{
    // A page not drawn yet has only its number to show, so the places are the grid's cells, not the items.
    const int height = List1->viewport()->height();
    int count = 0;
    for (int row = 0; row < m_thumbnails->rowCount({}); ++row) {
        const int top = List1->visualRect(m_thumbnails->index(row)).top();
        if (top >= height)
            break;
        count += top + kThumbnailCell.height() > 0;
    }
    return count;
}

void Form8::List1_CurrentChanged(const QModelIndex &current)
{
    if (!current.isValid())
        return;
    m_pagePoints = m_document.pagePointSize(current.row());
    Picture1->setPage(m_pagePoints); // a region belongs to the page it was drawn on
    Picture1_ShownSizeChanged();
    showChoice();
}

void Form8::Picture1_ShownSizeChanged()
{
    const QSize shown = Picture1->shownRect().size().toSize();
    if (Picture1->isVisible() && !shown.isEmpty())
        m_pages->request(choice().page, shown);
}

void Form8::Command3_Click()
{
    Picture1->clearRegion(); // tells showChoice() through regionChanged
}

void Form8::showChoice()
{
    const PdfPageChoice c = choice();
    Label1->setText(u"Sayfa %1 / %2"_s.arg(QString::number(c.page + 1), QString::number(m_document.pageCount())));
    const bool region = !c.regionPoints.isEmpty();
    Label2->setText(region ? u"Sayfanın seçilen bölümü alınacak."_s
                           : u"Tüm sayfa alınacak. Yalnız grafiği almak için sayfanın üzerinde fareyle bir "
                             u"dikdörtgen çizin."_s);
    Command3->setEnabled(region);
    // The page's size is kept: asking the document would wait for a page being drawn meanwhile.
    const int dpi = fittingDpi(m_pagePoints, c.regionPoints, c.dpi, pictureDecodeLimitMiB());
    const QSize size = regionPixels(m_pagePoints, c.regionPoints, dpi).size();
    const QString pixels = u"%1 × %2 piksel"_s.arg(QString::number(size.width()), QString::number(size.height()));
    Command1->setEnabled(dpi > 0);
    if (dpi <= 0)
        Label3->setText(u"Dikkat: sayfa, en düşük çözünürlükte bile açılabilecek boyutu aşıyor."_s);
    else if (dpi < c.dpi)
        Label3->setText(u"Dikkat: %1 dpi ile resim açılabilecek boyutu aşıyor; sayfa %2 dpi ile çizilecek (%3)."_s.arg(
            QString::number(c.dpi), QString::number(dpi), pixels));
    else
        Label3->setText(u"Resim: %1."_s.arg(pixels));
}
