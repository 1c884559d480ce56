#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// About the program: version, licence, and where to report problems.
class ContactWindow : public QWidget {
    Q_OBJECT
public:
    ContactWindow(const QIcon &icon, const QIcon &closeIcon, QWidget *parent = nullptr);

signals:
    void closeRequested();

private:
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Command1 = nullptr;
};
