#pragma once

#include <QColor>
#include <QWidget>

// A frame: an etched outline with a caption on its top edge. Children are placed relative to its corner.
class FrameBox : public QWidget {
    Q_OBJECT
public:
    explicit FrameBox(const QString &caption, QWidget *parent = nullptr);

    [[nodiscard]] QString title() const { return m_caption; }
    void setCaptionColour(const QColor &colour);
    [[nodiscard]] QColor captionColour() const { return m_captionColour; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    QColor m_captionColour;
};
