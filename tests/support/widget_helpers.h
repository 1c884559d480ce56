#pragma once

#include "ui/twips.h"

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

// Finds a control by its object name; fails the test when it is missing.
template <class Control = QWidget> Control *control(const QWidget &window, const QString &name)
{
    auto *found = window.findChild<Control *>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

void click(const QWidget &window, const QString &buttonName);

// Mouse events on the chart, at a pixel of the picture (the border is added here).
void moveOverChart(const QWidget &window, QPoint picturePixel);
void pressOnChart(const QWidget &window, QPoint picturePixel, Qt::MouseButton button = Qt::LeftButton);
// Drags the file over the window and drops it there, as a file manager does; tells whether the window took
// the drag.
bool dropFile(QWidget &window, const QString &path);
// Types into a value box, replacing what it held.
void typeInto(const QWidget &window, const QString &boxName, const QString &text);

// Makes the current folder a given one for a test's lifetime: the program reads and writes bare names.
class CurrentFolder {
public:
    explicit CurrentFolder(const QString &path);
    ~CurrentFolder();
    CurrentFolder(const CurrentFolder &) = delete;
    CurrentFolder &operator=(const CurrentFolder &) = delete;

private:
    QString m_previous;
};

std::ostream &operator<<(std::ostream &out, const TwipsRect &rect);
std::ostream &operator<<(std::ostream &out, const TwipsPoint &point);
