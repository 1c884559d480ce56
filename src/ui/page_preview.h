#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QWidget>

#include <optional>

// The page chooser's view of the selected page, as large as the widget allows; dragging on it marks the region
// of the page to keep, a click without a drag takes the region away. It is handed the page's picture when that
// is drawn, and shows a blank page until then.
class PagePreview : public QWidget {
    Q_OBJECT
public:
    explicit PagePreview(QWidget *parent = nullptr);

    // A page of this size in points, without a region and not yet drawn.
    void setPage(QSizeF pagePoints);
    void setPicture(const QImage &picture);
    [[nodiscard]] const QImage &picture() const { return m_picture; }
    // In page points from the top left corner; empty when the whole page is to be kept.
    [[nodiscard]] QRectF region() const { return m_region; }
    void clearRegion();
    // Where the page lies in the widget.
    [[nodiscard]] QRectF shownRect() const;
    [[nodiscard]] QSize sizeHint() const override { return {420, 560}; }

signals:
    void regionChanged();
    void shownSizeChanged(); // shown, or resized while shown: the page wants drawing at shownRect()'s size

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    [[nodiscard]] QRectF regionOnView() const;

    QSizeF m_pagePoints;
    QImage m_picture;
    QRectF m_region;
    std::optional<QPointF> m_dragStart;
    QPointF m_dragEnd;
};
