#pragma once

#include "support/fake_desktop.h"
#include "ui/form1.h"

#include <QEvent>
#include <QPoint>
#include <QString>

#include <memory>

// A shown main window with a desktop that answers the picture dialog, as the benchmarks drive it.
struct BenchForm {
    explicit BenchForm(QSize screen);
    FakeDesktop desktop;
    std::unique_ptr<Form1> form;

    void clickButton(const char *name);
    void load(const QString &picturePath); // through the picture button and its dialog
    // Calibrates on the picture's corners (0..100 on both axes) and starts curve 1.
    void startCurve();
    void moveTo(QPoint picturePixel);
    void pressAt(QPoint picturePixel);

private:
    void send(QEvent::Type type, QPoint picturePixel);
    QWidget *m_chart = nullptr; // looked up once: a search of the window's controls per event is not the program's
};
