#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// "Farklı Eksen Tanımla": tells the user how to define the axes anew between curves.
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(const QIcon &icon, QWidget *parent = nullptr);

signals:
    void backRequested();

private:
    void Form_Load();

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Command2 = nullptr;
};
