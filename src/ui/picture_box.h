#pragma once

#include <QImage>
#include <QWidget>

// A borderless box that shows one picture at its natural size, sizes itself to it, and reports presses
// in pixels of that picture.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    [[nodiscard]] const QImage &picture() const { return m_picture; }

signals:
    void pressed(QPointF pixels);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QImage m_picture;
};
