#pragma once

#include "workspace/pdf_page_geometry.h"

#include <QDialog>
#include <QSizeF>

class BackgroundPages;
class PagePreview;
class PageThumbnails;
class QGroupBox;
class QLabel;
class QListView;
class QModelIndex;
class QPdfDocument;
class QPushButton;
class QRadioButton;

// The page chooser: the pages as thumbnails, drawn as they come into view, the selected one large enough to drag
// a region on, the resolution, and "Aç" or "Vazgeç". Modal to the main window.
class Form8 : public QDialog {
    Q_OBJECT
public:
    Form8(QPdfDocument &document, const QString &fileName, QWidget *parent = nullptr);
    ~Form8() override;

    [[nodiscard]] PdfPageChoice choice() const;
    // How many pages have been drawn as thumbnails so far, and how many places for them the list shows.
    [[nodiscard]] int thumbnailsDrawn() const;
    [[nodiscard]] int thumbnailsInView() const;

private:
    void createPageControls(const QString &fileName);
    void createChoiceControls();
    void List1_CurrentChanged(const QModelIndex &current);
    void Picture1_ShownSizeChanged();
    void Command3_Click();
    void showChoice();

    QPdfDocument &m_document;
    BackgroundPages *m_pages = nullptr;
    PageThumbnails *m_thumbnails = nullptr;
    QSizeF m_pagePoints; // of the selected page

    QListView *List1 = nullptr;
    PagePreview *Picture1 = nullptr;
    QLabel *Label4 = nullptr; // the file's name
    QLabel *Label1 = nullptr; // "Sayfa 3 / 12"
    QGroupBox *Frame1 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QRadioButton *Option3 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Command3 = nullptr;
    QLabel *Label3 = nullptr; // the picture's size, and whether the resolution is lowered
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
};
