// The magnifier button: the desktop's magnifier where there is one, otherwise the program's own.
#include "ui/form1.h"

#include "ui/busy_pointer.h"
#include "ui/chart_picture.h"
#include "ui/desktop.h"
#include "ui/magnifier.h"
#include "ui/twips.h"
#include "workspace/picture_loader.h"

using namespace Qt::StringLiterals;

void Form1::Command18_Click()
{
    if (m_magnifier && m_magnifier->isVisible()) {
        m_magnifier->close();
        return;
    }
    if (m_desktop.startProgram(u"C:\\windows\\system32\\magnify.exe"_s))
        return;
    if (m_desktop.startProgram(u"C:\\winnt\\system32\\magnify.exe"_s))
        return;
    openMagnifier();
}

void Form1::openMagnifier()
{
    if (!m_magnifier) {
        m_magnifier = new Magnifier(this);
        connect(m_magnifier, &Magnifier::pressedAt, this,
                [this](QPointF source) { chartPressed(sourceToTwips(source)); });
        connect(m_magnifier, &Magnifier::movedTo, this,
                [this](QPointF source) { Picture1_MouseMove(sourceToTwips(source)); });
    }
    m_magnifier->setSource(sourcePicture());
    const QRect main = geometry();
    m_magnifier->move(main.right() - m_magnifier->width() - 16, main.top() + 120);
    m_magnifier->show();
}

QImage Form1::sourcePicture()
{
    if (!Picture1->naturalPicture().isNull() || m_picturePath.isEmpty()) {
        m_sourcePerAreaPixel = {1, 1};
        return Picture1->naturalPicture();
    }
    // Scaled display: the full-resolution picture, decoded only now that the magnifier needs it.
    if (m_fullPicture.isNull()) {
        const BusyPointer busy;
        const LoadedPicture full = loadPicture(m_picturePath, [](QSize natural) { return natural; });
        m_fullPicture = full.image;
    }
    const QSize shown = m_shownSizePx.expandedTo({1, 1});
    if (m_fullPicture.isNull()) {
        m_sourcePerAreaPixel = {1, 1};
        return Picture1->drawings().copy(QRect(QPoint(), shown));
    }
    // Each axis has its own scale: a picture fitted by its height loses more at the bottom than at the right.
    m_sourcePerAreaPixel = {double(m_fullPicture.width()) / shown.width(),
                            double(m_fullPicture.height()) / shown.height()};
    return m_fullPicture;
}

QPointF Form1::sourceToTwips(QPointF source) const
{
    return {source.x() / m_sourcePerAreaPixel.width() * kTwipsPerPixel,
            source.y() / m_sourcePerAreaPixel.height() * kTwipsPerPixel};
}

QPointF Form1::twipsToSource(QPointF twips) const
{
    return {twips.x() / kTwipsPerPixel * m_sourcePerAreaPixel.width(),
            twips.y() / kTwipsPerPixel * m_sourcePerAreaPixel.height()};
}

void Form1::followWithMagnifier(QPointF twips)
{
    if (m_magnifier && m_magnifier->isVisible())
        m_magnifier->setCentre(twipsToSource(twips));
}
