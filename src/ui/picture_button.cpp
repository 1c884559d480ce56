#include "ui/picture_button.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

PictureButton::PictureButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{}

void PictureButton::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect inner = rect().adjusted(3, 3, -3, -3);
    int top = inner.top();
    if (!m_picture.isNull()) {
        painter.drawImage(inner.left() + (inner.width() - m_picture.width()) / 2, top, m_picture);
        top += m_picture.height() + 1;
    }
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    const QRect textRect(inner.left(), top, inner.width(), inner.bottom() - top);
    painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic,
                     text().trimmed());
}
