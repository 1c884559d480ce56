// Automatic tracing: picking a curve's colour on the chart, following the curve or finding its markers,
// previewing and recording the points, taking the last written trace back, and snapping presses to a stroke.
#include "ui/form1.h"

#include "digitize/curve_file.h"
#include "trace/colour_pick.h"
#include "trace/line_trace.h"
#include "trace/marker_find.h"
#include "trace/record_order.h"
#include "trace/stroke_snap.h"
#include "ui/busy_pointer.h"
#include "ui/chart_picture.h"
#include "ui/desktop.h"
#include "ui/form7.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>

#include <array>

using namespace Qt::StringLiterals;

namespace {

// A pick looks this far around the press, and a snap this far, in pixels of the picture as shown.
constexpr double kPickRadiusShown = 5;
constexpr double kSnapReachShown = 6;

PixelView viewOf(const QImage &picture)
{
    return {reinterpret_cast<const std::uint32_t *>(picture.constBits()), picture.width(), picture.height(),
            picture.bytesPerLine() / 4};
}

// The one of a few vivid colours farthest from the curve's, so the preview stands out on it.
QColor previewColour(std::uint32_t curve)
{
    const std::array<QColor, 4> candidates = {QColor(255, 0, 255), QColor(255, 128, 0), QColor(0, 170, 255),
                                              QColor(0, 200, 0)};
    const QColor c = QColor::fromRgb(curve);
    const auto distance = [&](const QColor &o) {
        const int r = o.red() - c.red(), g = o.green() - c.green(), b = o.blue() - c.blue();
        return r * r + g * g + b * b;
    };
    return *std::max_element(candidates.begin(), candidates.end(),
                             [&](const QColor &a, const QColor &b) { return distance(a) < distance(b); });
}

} // namespace

void Form1::Command19_Click()
{
    if (!m_form7) {
        m_form7 = new Form7(QIcon(QPixmap::fromImage(m_form6.auxiliaryIcon())), this);
        connect(m_form7, &Form7::pickRequested, this, &Form1::Form7_PickRequested);
        connect(m_form7, &Form7::traceRequested, this, &Form1::Form7_TraceRequested);
        connect(m_form7, &Form7::writeRequested, this, &Form1::Form7_WriteRequested);
        connect(m_form7, &Form7::previewDropped, this, &Form1::Form7_PreviewDropped);
        connect(m_form7, &Form7::undoRequested, this, &Form1::Form7_UndoRequested);
        connect(m_form7, &Form7::settingsChanged, this, &Form1::Form7_SettingsChanged);
        connect(m_form7, &Form7::escapePressed, this, &Form1::cancelPick);
        const QRect main = geometry();
        m_form7->move(main.right() - m_form7->width() - 24, main.top() + 160);
    }
    showAndRaise(m_form7);
}

void Form1::Form7_PickRequested()
{
    if (m_picturePath.isEmpty()) {
        m_desktop.warn(m_form7, u"İz sürmek için önce bir grafik yükleyiniz."_s);
        return;
    }
    m_trace.pickPending = true;
    Picture1->setCursor(Qt::PointingHandCursor);
}

void Form1::cancelPick()
{
    if (!m_trace.pickPending)
        return;
    m_trace.pickPending = false;
    Picture1->setCursor(Option3->isChecked() ? Qt::ArrowCursor : Qt::CrossCursor);
}

void Form1::chartPressed(QPointF twips)
{
    if (m_trace.pickPending) {
        pickCurveAt(twips); // records nothing, changes no state field, draws nothing
        return;
    }
    Picture1_MouseDown(snappedPress(twips));
}

void Form1::pickCurveAt(QPointF twips)
{
    const QImage &source = traceSource();
    const std::optional<PickedStroke> picked =
        pickStroke(viewOf(source), twipsToSource(twips), kPickRadiusShown * sourcePixelsPerShown());
    if (!picked)
        return; // bare background: the pick waits for a press on a curve
    cancelPick();
    m_trace.colour = picked->argb;
    m_trace.start = picked->start;
    m_form7->showColour(QColor::fromRgb(picked->argb));
    if (!m_trace.preview.empty())
        (void)traceAgain();
}

QPointF Form1::snappedPress(QPointF twips)
{
    if (!m_form7 || !m_form7->snapsPresses() || !m_trace.colour || m_state.curveNumber <= 0)
        return twips;
    const std::optional<QPointF> onStroke =
        snapToStroke(viewOf(traceSource()), twipsToSource(twips), *m_trace.colour, m_form7->colourTolerance(),
                     kSnapReachShown * sourcePixelsPerShown());
    return onStroke ? sourceToTwips(*onStroke) : twips;
}

const QImage &Form1::traceSource()
{
    const QImage source = sourcePicture(); // also sets the scale between the two pictures
    if (m_traceSource.isNull() || m_traceSource.size() != source.size()) {
        if (source.format() == QImage::Format_RGB32) {
            m_traceSource = source;
        } else {
            m_traceSource = QImage(source.size(), QImage::Format_RGB32);
            m_traceSource.fill(Qt::white);
            QPainter(&m_traceSource).drawImage(0, 0, source);
        }
    }
    return m_traceSource;
}

double Form1::sourcePixelsPerShown() const
{
    return (m_sourcePerAreaPixel.width() + m_sourcePerAreaPixel.height()) / 2;
}

void Form1::Form7_TraceRequested()
{
    if (m_picturePath.isEmpty()) {
        m_desktop.warn(m_form7, u"İz sürmek için önce bir grafik yükleyiniz."_s);
        return;
    }
    if (!m_trace.colour) {
        m_desktop.warn(m_form7, u"Önce bir renk seçiniz."_s);
        return;
    }
    const std::vector<QPointF> before = m_trace.preview;
    const TraceRequest beforeFor = m_trace.previewFor;
    if (!traceAgain()) {
        m_trace.preview = before; // nothing changes
        m_trace.previewFor = beforeFor;
        showPreview();
        m_desktop.warn(m_form7, u"Bu renkte bir eğri bulunamadı."_s);
    }
}

TraceRequest Form1::traceRequest() const
{
    return {m_form7->markersMode(),
            TraceSettings{m_form7->colourTolerance(), m_form7->stepPixels() * sourcePixelsPerShown()}};
}

bool Form1::traceAgain()
{
    const TraceRequest request = traceRequest();
    std::vector<QPointF> found;
    {
        const BusyPointer busy; // a large source takes a while, its first decode longer
        const PixelView view = viewOf(traceSource());
        found = request.markers ? findMarkers(view, *m_trace.colour, request.settings)
                                : traceLine(view, m_trace.start, *m_trace.colour, request.settings);
    }
    m_trace.preview = recordingOrder(std::move(found), request.markers);
    m_trace.previewFor = request;
    showPreview();
    return !m_trace.preview.empty();
}

void Form1::showPreview()
{
    std::vector<QPointF> shown;
    shown.reserve(m_trace.preview.size());
    for (const QPointF &p : m_trace.preview)
        shown.push_back({p.x() / m_sourcePerAreaPixel.width(), p.y() / m_sourcePerAreaPixel.height()});
    Picture1->setPreview(shown, m_trace.colour ? previewColour(*m_trace.colour) : QColor(Qt::magenta));
    if (m_form7) {
        m_form7->setPreviewShown(!m_trace.preview.empty());
        m_form7->showFound(shown.empty() ? QString() : u"%1 nokta bulundu."_s.arg(shown.size()));
    }
}

void Form1::Form7_SettingsChanged()
{
    // Markers found once stay as they are for a new step: on a large picture they take a while.
    if (!m_trace.preview.empty() && m_trace.colour && !findsTheSame(m_trace.previewFor, traceRequest()))
        (void)traceAgain(); // an empty result takes the preview away
}

void Form1::Form7_PreviewDropped()
{
    dropPreview();
}

void Form1::dropPreview()
{
    m_trace.preview.clear();
    showPreview();
}

void Form1::Form7_WriteRequested()
{
    if (m_state.curveNumber <= 0) {
        m_desktop.warn(m_form7, u"Noktaları yazmak için önce İlk / Başka Çizgi ile bir çizgi başlatınız."_s);
        return;
    }
    const qint64 appendedBefore = m_appendedLines;
    m_trace.writing = true;
    // Each point exactly as a press on the chart at its place, fractions included.
    for (const QPointF &p : m_trace.preview)
        Picture1_MouseDown(sourceToTwips(p));
    m_trace.writing = false;
    m_trace.writtenLines = m_appendedLines - appendedBefore;
    m_trace.writtenFile = m_state.curveFileName;
    dropPreview();
    m_form7->setUndoable(m_trace.writtenLines > 0);
}

void Form1::Form7_UndoRequested()
{
    if (m_trace.writtenLines <= 0 || m_trace.writtenFile != m_state.curveFileName)
        return;
    const qsizetype lines = m_trace.writtenLines;
    forgetWrittenTrace(); // once only
    if (rewriteWithoutLast(m_state.curveFileName, lines) != RewriteResult::Rewritten)
        m_desktop.warn(m_form7, u"Henüz değer girilmedi."_s);
}

void Form1::forgetWrittenTrace()
{
    m_trace.writtenLines = 0;
    m_trace.writtenFile.clear();
    if (m_form7)
        m_form7->setUndoable(false);
}

void Form1::resetTracing()
{
    cancelPick();
    m_trace.colour.reset();
    m_traceSource = QImage();
    dropPreview();
    forgetWrittenTrace();
    if (m_form7)
        m_form7->showColour(palette().color(QPalette::Window));
}
