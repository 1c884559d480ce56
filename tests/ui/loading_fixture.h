#pragma once

#include "support/fake_desktop.h"
#include "support/widget_helpers.h"
#include "ui/form1.h"

#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Loading into the main window: the files in a folder of their own, the program started in another, and the
// desktop (1024 x 768) answering as the test tells it.
class LoadingTest : public ::testing::Test {
protected:
    // "Grafik Yükle", with the file dialog answering `path` (an empty one: cancelled).
    void loadThroughDialog(Form1 &form, const QString &path)
    {
        desktop.pictureAnswers.push_back(path);
        click(form, QStringLiteral("Command3"));
    }
    static QString text(const Form1 &form, const QString &name) { return control<QLineEdit>(form, name)->text(); }

    QTemporaryDir folder;
    QTemporaryDir startFolder;
    CurrentFolder current{startFolder.path()};
    FakeDesktop desktop;
};
