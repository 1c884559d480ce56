// Loading a chart picture: the reset, the dialog, natural or scaled display, the curve file names.
#include "ui/form1.h"

#include "digitize/curve_file.h"
#include "ui/busy_pointer.h"
#include "ui/chart_picture.h"
#include "ui/desktop.h"
#include "ui/magnifier.h"
#include "ui/picture_box.h"
#include "ui/twips_widgets.h"
#include "workspace/display_fit.h"
#include "workspace/pdf_names.h"
#include "workspace/picture_loader.h"
#include "workspace/picture_names.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {

// The two designed entries, PDF papers, then every other format this Qt reads.
QString pictureFilter()
{
    QStringList others;
    for (const QByteArray &format : QImageReader::supportedImageFormats()) {
        if (format != "jpg" && format != "bmp")
            others.append(u"*."_s + QString::fromLatin1(format));
    }
    QString filter = u"JPG Resimler (*.jpg);;BMP Resimler (*.bmp);;PDF Belgeler (*.pdf)"_s;
    if (!others.isEmpty())
        filter += u";;Diğer Resimler ("_s + others.join(u' ') + u")"_s;
    return filter;
}

// The one local file a drop or a paste brings; empty for anything else.
QString singleLocalFile(const QMimeData *data)
{
    const QList<QUrl> urls = data->urls();
    return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

struct SavedPicture {
    QString path;
    bool saved = false;
};

// Saves a pasted picture as PNG in the current folder under a name no file has yet.
SavedPicture savePastedPicture(const QImage &image)
{
    const QDateTime now = QDateTime::currentDateTime();
    SavedPicture out;
    int copy = 1;
    do {
        out.path = QDir::current().absoluteFilePath(pastedPictureName(now, copy++));
    } while (QFileInfo::exists(out.path));
    const BusyPointer busy; // a large screenshot takes a while to compress
    QSaveFile file(out.path);
    // commit() misses a write that fails only when flushed (a full disk); left uncommitted, the copy goes.
    out.saved = file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.flush() && file.commit();
    return out;
}

} // namespace

void Form1::Command3_Click()
{
    QString path = m_desktop.choosePicture(this, u" Resim Dosyaları "_s, pictureFilter());
    if (path.isEmpty())
        path = m_picturePath; // the dialog yields its previous choice on a cancel
    loadChart(path);
}

void Form1::loadChart(const QString &path)
{
    if (!path.isEmpty() && isPdfFile(path)) {
        // The chosen page becomes a picture beside the PDF, which then loads as any picture does.
        if (const QString picture = pictureFromPdf(path); !picture.isEmpty())
            loadChart(picture);
        return;
    }
    // Decode first: a file that is no picture leaves the window and the state exactly as they were.
    LoadedPicture picture;
    DisplayFit fit;
    if (!path.isEmpty()) {
        {
            const BusyPointer busy; // gone before any warning
            picture = loadPicture(path, [&](QSize natural) {
                fit = fitPicture(natural.width() * kTwipsPerPixel, natural.height() * kTwipsPerPixel,
                                 m_state.screenWidthPx, m_state.screenHeightPx);
                return fit.natural() ? natural : fit.picturePixels();
            });
        }
        if (!picture.ok()) {
            m_desktop.warn(this, picture.error);
            return;
        }
    }

    resetCalibrationControls();
    setChartControlsVisible(true);
    Picture6->hide();
    if (!path.isEmpty()) {
        // The earlier chart's symbols and scaled picture would lie over the new chart: they go with it.
        Picture1->eraseDrawings();
        if (fit.natural()) {
            Picture1->setNaturalPicture(picture.image);
        } else {
            Picture1->clearNaturalPicture();
            TwipsRect area = twipsRect(Picture1);
            area.width = fit.outerWidth;
            area.height = fit.outerHeight;
            setTwipsRect(Picture1, area);
            Picture1->drawScaledPicture(picture.image);
        }
        m_picturePath = path;
        m_fullPicture = QImage(); // the magnifier's full-resolution copy belongs to the old picture
        resetTracing();
        m_shownSizePx = fit.natural() ? QSize() : picture.image.size();
        if (m_magnifier && m_magnifier->isVisible())
            m_magnifier->setSource(sourcePicture());
        QDir::setCurrent(QFileInfo(path).absolutePath()); // curve files are written beside the picture
    }

    const QString fileName = pictureFileName(path);
    if (!fileName.isEmpty()) {
        m_state.curveFileStem = curveFileStem(fileName);
        m_state.curveFileName = curveFileName(m_state.curveFileStem, m_state.curveNumber);
        placeCalibrationControls();
        Text8->clear();
        Text9->setText(fileName);
        m_state.curveNumber = 0;
    }
    if (path.isEmpty())
        setChartControlsVisible(false);
}

void Form1::resetCalibrationControls()
{
    Label6->setText(u"x0"_s);
    Label7->setText(u"y0"_s);
    Label8->setText(u"x1"_s);
    Label9->setText(u"y1"_s);
    Check1->setChecked(false);
    Check2->setChecked(false);
    for (QLineEdit *box : {Text1, Text2, Text3, Text4})
        box->clear();
    for (QWidget *w : lockedByCurveStart())
        w->setEnabled(true);
}

void Form1::setChartControlsVisible(bool visible)
{
    Picture1->setVisible(visible);
    for (QWidget *w : readoutControls())
        w->setVisible(visible);
    for (QWidget *w : calibrationControls())
        w->setVisible(visible);
}

void Form1::dragEnterEvent(QDragEnterEvent *event)
{
    if (!singleLocalFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent *event)
{
    const QString file = singleLocalFile(event->mimeData());
    if (file.isEmpty())
        return;
    event->acceptProposedAction();
    loadChart(file);
}

// Ctrl+V that no control took for itself (the value boxes paste text); Esc ends a pending pick of a curve.
void Form1::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste))
        Form1_Paste();
    else if (event->key() == Qt::Key_Escape && m_trace.pickPending)
        cancelPick();
    else
        QWidget::keyPressEvent(event);
}

void Form1::Form1_Paste()
{
    const QMimeData *data = m_desktop.clipboard();
    if (const QString file = singleLocalFile(data); !file.isEmpty()) {
        loadChart(file); // a copied file, as if dropped
        return;
    }
    const QImage image = data->hasImage() ? qvariant_cast<QImage>(data->imageData()) : QImage();
    if (image.isNull()) {
        m_desktop.warn(this, u"Panoda bir resim yok."_s);
        return;
    }
    // Saved first, so that the curve files get a name and a folder like those of any other picture.
    const SavedPicture pasted = savePastedPicture(image);
    if (!pasted.saved) {
        m_desktop.warn(this, u"\"%1\" dosyası yazılamadı."_s.arg(QDir::toNativeSeparators(pasted.path)));
        return;
    }
    loadChart(pasted.path);
}
