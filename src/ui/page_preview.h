#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QWidget>

#include <optional>

class QPdfDocument;

// The page chooser's view of the selected page, as large as the widget allows; dragging on it marks the region
// of the page to keep, a click without a drag takes the region away.
class PagePreview : public QWidget {
    Q_OBJECT
public:
    explicit PagePreview(QWidget *parent = nullptr);

    // Shows a page (drawn when it is first painted at a size) without a region.
    void setPage(QPdfDocument *document, int page);
    // In page points from the top left corner; empty when the whole page is to be kept.
    [[nodiscard]] QRectF region() const { return m_region; }
    void clearRegion();
    // Where the page lies in the widget.
    [[nodiscard]] QRectF shownRect() const;
    [[nodiscard]] QSize sizeHint() const override { return {420, 560}; }

signals:
    void regionChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    [[nodiscard]] QRectF regionOnView() const;

    QPdfDocument *m_document = nullptr;
    int m_page = 0;
    QImage m_picture; // the page at the size it was last shown
    QRectF m_region;
    std::optional<QPointF> m_dragStart;
    QPointF m_dragEnd;
};
