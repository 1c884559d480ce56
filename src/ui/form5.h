#pragma once

#include <QWidget>

class QLabel;
class ValuesList;

// "Değerler": the values recorded in the current curve, one line a point.
class Form5 : public QWidget {
    Q_OBJECT
public:
    explicit Form5(const QIcon &icon, QWidget *parent = nullptr);

    [[nodiscard]] ValuesList *list() const { return List1; }

private:
    QLabel *Label3 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    ValuesList *List1 = nullptr;
};
