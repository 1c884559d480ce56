#pragma once

#include <QImage>
#include <QPushButton>

// A button that shows its picture above a caption wrapped to the button's width.
class PictureButton : public QPushButton {
    Q_OBJECT
public:
    PictureButton(const QString &caption, QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    [[nodiscard]] const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};
