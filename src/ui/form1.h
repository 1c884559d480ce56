#pragma once

#include "state/digitizing_state.h"
#include "trace/trace_request.h"
#include "ui/form6.h"
#include "ui/printed_text.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <optional>
#include <vector>

struct ChartValues;
class ChartPicture;
class FrameBox;
class PictureBox;
class PictureButton;
class QCheckBox;
class QColor;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QToolButton;
class Form2;
class Form3;
class Form5;
class Form7;
class ContactWindow;
class Magnifier;
struct Desktop;

// The main window: the chart, its calibration controls, the button column and the panels. It owns the
// digitizing state; the desktop seam gives it dialogs, message boxes, programs and the screen.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(Desktop &desktop, QWidget *parent = nullptr);
    ~Form1() override;

    [[nodiscard]] const DigitizingState &state() const { return m_state; }
    [[nodiscard]] const QStringList &printedLines() const { return m_printed.lines(); }
    // The values window, created when first needed.
    [[nodiscard]] Form5 *form5();
    // The one way a chart picture is loaded: the dialog, a drop, a paste and the command line all come here.
    void loadChart(const QString &path);

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createButtonColumn();
    void createSymbolPanel();
    void createPointerFrame();
    void createFormatPanel();
    void createFileBar();
    void createReadoutRow();
    void createChartArea();
    void createCalibrationControls();
    void setTabOrderOfButtonColumn();
    [[nodiscard]] QWidgetList readoutControls() const;
    [[nodiscard]] QWidgetList calibrationControls() const;

    void Form_Load();
    void moveFormatPanelToTop(float windowWidthTwips);
    void readFormatFiles();
    void selectSavedFormats();
    void placeCalibrationControls();
    void connectHandlers();

    // Graph loading
    void Command3_Click();
    void Form1_Paste();
    [[nodiscard]] QString pictureFromPdf(const QString &pdfPath);
    void resetCalibrationControls();
    void setChartControlsVisible(bool visible);

    // Readout, capture and calibration
    void Picture1_MouseMove(QPointF twips);
    void Picture1_MouseDown(QPointF twips);
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void assignPosition(QLabel *tag, const QColor &colour, float shown, float &position, float click);
    void readCalibrationValues();
    void readFormatChoices();
    [[nodiscard]] ChartValues chartValues(QPointF twips) const;
    void showPointer(QPointF twips);
    void recordPoint(const QString &xText, const QString &yText);
    void simgebas(float X, float Y, std::int16_t secim, std::int16_t &olcekk);
    [[nodiscard]] float pictureHeightTwips() const;

    // Choices, formats and workspace tools
    void Picture2_MouseDown(QPointF pixels);
    void Picture3_MouseDown(QPointF pixels);
    void Picture4_MouseDown(QPointF pixels);
    void VScroll1_Change(int value);
    void saveFormat(std::int16_t &choice, const QString &fileName);
    void Command13_Click();
    void Command14_Click();
    void Command16_Click();
    void Command15_Click();
    void Command2_Click();

    // Magnifier
    void Command18_Click();
    void openMagnifier();
    // The full-resolution picture, shared by the magnifier and tracing: decoded when first needed in scaled
    // display, released with its picture.
    [[nodiscard]] QImage sourcePicture();
    void followWithMagnifier(QPointF twips);
    // Between Picture1's twips and pixels of the magnifier's source picture, each axis with its own scale.
    [[nodiscard]] QPointF sourceToTwips(QPointF source) const;
    [[nodiscard]] QPointF twipsToSource(QPointF twips) const;

    // Automatic tracing
    void Command19_Click();
    void Form7_PickRequested();
    void Form7_TraceRequested();
    void Form7_WriteRequested();
    void Form7_PreviewDropped();
    void Form7_UndoRequested();
    void Form7_SettingsChanged();
    void cancelPick();
    void chartPressed(QPointF twips); // a press on Picture1 or in the magnifier
    void pickCurveAt(QPointF twips);
    [[nodiscard]] QPointF snappedPress(QPointF twips);
    [[nodiscard]] const QImage &traceSource();
    [[nodiscard]] double sourcePixelsPerShown() const;
    [[nodiscard]] bool traceAgain();                 // false when nothing of the colour was found
    [[nodiscard]] TraceRequest traceRequest() const; // as the tracing window's controls ask
    void showPreview();
    void dropPreview();
    void forgetWrittenTrace();
    void resetTracing(); // a new picture

    // Auxiliary windows
    void Command11_Click();
    void Command9_Click();
    void Command10_Click();
    void openManual();
    void showAndRaise(QWidget *window);
    void backToMainWindow(QWidget *window);

    // Curves
    void Command8_Click();
    [[nodiscard]] QString curveStartRefusal() const; // the warning that stops a curve start, or empty
    void Command1_Click();
    [[nodiscard]] QWidgetList lockedByCurveStart() const;

    Desktop &m_desktop;
    DigitizingState m_state;
    Form6 m_form6;
    PrintedText m_printed;
    QString m_startFolder; // the format files live here, wherever pictures are loaded from later
    QString m_picturePath; // the dialog's previous choice, which a cancel yields again
    QPointer<Form2> m_form2;
    QPointer<Form3> m_form3;
    QPointer<Form5> m_form5;
    QPointer<ContactWindow> m_contactWindow;
    QPointer<Magnifier> m_magnifier;
    QPointer<Form7> m_form7;
    // Automatic tracing: places are in pixels of sourcePicture().
    struct Tracing {
        bool pickPending = false;
        std::optional<std::uint32_t> colour; // picked on the chart
        QPointF start;
        std::vector<QPointF> preview; // in the order they are recorded
        TraceRequest previewFor;      // what the preview was found for
        qsizetype writtenLines = 0;   // appended by the last "Noktaları Yaz", while it can be taken back
        QString writtenFile;
        bool writing = false;
    } m_trace;
    QImage m_traceSource;                        // sourcePicture() as Format_RGB32, on white where it was transparent
    qint64 m_appendedLines = 0;                  // curve-file lines appended this run
    QImage m_fullPicture;                        // scaled display only, decoded when the magnifier first needs it
    QSize m_shownSizePx;                         // the picture as drawn in scaled display; empty in natural display
    QSizeF m_sourcePerAreaPixel{1, 1};           // magnifier source pixels per pixel of Picture1, across and down
    Qt::MouseButton m_dragButton = Qt::NoButton; // the button moving the window by hand, while it is held
    QPoint m_dragOffset;                         // from the window's corner to the pointer

    // Button column
    QPushButton *Command3 = nullptr;
    QPushButton *Command8 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command15 = nullptr;
    QPushButton *Command11 = nullptr;
    QPushButton *Command9 = nullptr;
    QPushButton *Command10 = nullptr;
    QPushButton *Command2 = nullptr;
    QFrame *Line1 = nullptr;

    // Symbol panel
    FrameBox *Frame2 = nullptr;
    PictureBox *Picture2 = nullptr;
    QLabel *Label21 = nullptr;
    QScrollBar *VScroll1 = nullptr;
    QLabel *Label20 = nullptr;
    QLabel *Label17 = nullptr;
    QLabel *Label18 = nullptr;
    PictureBox *Picture3 = nullptr;
    PictureBox *Picture4 = nullptr;

    // Pointer frame
    FrameBox *Frame1 = nullptr;
    QToolButton *Option1 = nullptr;
    QToolButton *Option2 = nullptr;
    QToolButton *Option3 = nullptr;

    // Number-format panel
    QPushButton *Command16 = nullptr;
    FrameBox *Frame3 = nullptr;
    FrameBox *Frame4 = nullptr;
    QRadioButton *Option4 = nullptr;
    QRadioButton *Option5 = nullptr;
    QRadioButton *Option6 = nullptr;
    QRadioButton *Option7 = nullptr;
    QRadioButton *Option8 = nullptr;
    QRadioButton *Option9 = nullptr;
    QPushButton *Command13 = nullptr;
    QPushButton *Command14 = nullptr;

    // File-name bar and magnifier
    QLabel *Label3 = nullptr;
    QLineEdit *Text9 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Text8 = nullptr;
    PictureButton *Command18 = nullptr;
    QPushButton *Command19 = nullptr;

    // Readout row
    QLabel *Label11 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label12 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label13 = nullptr;
    QLineEdit *Text6 = nullptr;
    QLabel *Label14 = nullptr;
    QLineEdit *Text7 = nullptr;
    QLabel *Label15 = nullptr;
    QLabel *Label16 = nullptr;

    // Chart area
    ChartPicture *Picture1 = nullptr;
    PictureBox *Picture6 = nullptr;

    // Calibration controls
    QLineEdit *Text1 = nullptr;
    QLabel *Label6 = nullptr;
    QPushButton *Command4 = nullptr;
    QLineEdit *Text3 = nullptr;
    QLabel *Label8 = nullptr;
    QPushButton *Command6 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLabel *Label7 = nullptr;
    QPushButton *Command5 = nullptr;
    QLineEdit *Text4 = nullptr;
    QLabel *Label9 = nullptr;
    QPushButton *Command7 = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QLabel *Label2 = nullptr;
};
