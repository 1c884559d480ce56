#pragma once

#include "ui/printed_text.h"

#include <QWidget>

class QLabel;
class QPushButton;

// "Tanıtım ve Kılavuz": the window from which the user manual is opened.
class Form3 : public QWidget {
    Q_OBJECT
public:
    explicit Form3(QWidget *parent = nullptr);

    // Prints a line onto the window, one line lower each time.
    void printLine(const QString &line);
    [[nodiscard]] const QStringList &printedLines() const { return m_printed.lines(); }

signals:
    void manualRequested();
    void backRequested();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *Label1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    PrintedText m_printed;
};
