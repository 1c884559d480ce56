#pragma once

#include <QAbstractScrollArea>
#include <QStringList>

// A list box of text lines, one a recorded point. It keeps only the texts and paints the lines in view, so
// adding a line costs the same at the hundred-thousandth point as at the first.
class ValuesList : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ValuesList(QWidget *parent = nullptr);

    void addLine(const QString &text); // appends, selects and scrolls to it
    void clear();

    [[nodiscard]] int count() const { return int(m_lines.size()); }
    [[nodiscard]] const QString &line(int row) const { return m_lines.at(row); }
    [[nodiscard]] int currentRow() const { return m_current; } // -1 when none is selected
    void setCurrentRow(int row);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    [[nodiscard]] int lineHeight() const;
    [[nodiscard]] int linesInView() const;
    void updateScrollRanges();
    void scrollToRow(int row);
    void repaintRow(int row);

    QStringList m_lines;
    int m_current = -1;
    int m_widest = 0; // pixels, for the horizontal scroll range
};
