#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>

// A small window, kept above the main window, showing the chart around the pointer enlarged. Positions are in
// pixels of the source picture (the full-resolution chart); a press or an arrow key reports the exact place it
// stands for, fractions included.
class Magnifier : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinZoom = 2;
    static constexpr int kMaxZoom = 16;

    explicit Magnifier(QWidget *parent = nullptr);

    void setSource(const QImage &picture);
    void setCentre(QPointF sourcePixels);
    [[nodiscard]] QPointF centre() const { return m_centre; }
    [[nodiscard]] int zoom() const { return m_zoom; }
    // The source place under a point of this window.
    [[nodiscard]] QPointF sourceAt(QPointF windowPos) const;

signals:
    void pressedAt(QPointF sourcePixels);
    void movedTo(QPointF sourcePixels);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QImage m_source;
    QPointF m_centre;
    int m_zoom = 4;
};
