#include "ui/picture_box.h"

#include "ui/twips_widgets.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent)
    : QWidget(parent)
{}

void PictureBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    if (!picture.isNull()) {
        resize(picture.size());
        takePixelSize(this);
    }
    update();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    emit pressed(event->position());
}
