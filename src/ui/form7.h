#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

// "Otomatik İzleme": finds a whole curve, or every marker, of a colour picked on the chart and records the
// points found. The main window does the work; this window holds the choices and says what was found.
class Form7 : public QWidget {
    Q_OBJECT
public:
    explicit Form7(const QIcon &icon, QWidget *parent = nullptr);

    [[nodiscard]] bool markersMode() const;
    [[nodiscard]] int colourTolerance() const;
    [[nodiscard]] int stepPixels() const;
    [[nodiscard]] bool snapsPresses() const;

    void showColour(const QColor &colour);
    void showFound(const QString &text);
    void setPreviewShown(bool shown); // Noktaları Yaz and Vazgeç act on a preview only
    void setUndoable(bool undoable);

signals:
    void pickRequested();
    void traceRequested();
    void writeRequested();
    void previewDropped();
    void undoRequested();
    void settingsChanged(); // mode, tolerance or step
    void escapePressed();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QRadioButton *Option10 = nullptr;
    QRadioButton *Option11 = nullptr;
    QPushButton *Command20 = nullptr;
    QLabel *Picture30 = nullptr;
    QLabel *Label31 = nullptr;
    QSpinBox *Text10 = nullptr;
    QLabel *Label32 = nullptr;
    QSpinBox *Text11 = nullptr;
    QCheckBox *Check3 = nullptr;
    QPushButton *Command21 = nullptr;
    QLabel *Label30 = nullptr;
    QPushButton *Command22 = nullptr;
    QPushButton *Command23 = nullptr;
    QPushButton *Command24 = nullptr;
};
