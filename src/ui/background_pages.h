#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QThreadPool>

#include <atomic>
#include <map>
#include <tuple>

class QPdfDocument;

// Draws pages of a PDF on a thread of its own, so that a window showing them never waits for one: a page of a
// scanned paper takes a tenth of a second. The latest request is drawn first; one overtaken by many later ones
// is dropped, to be asked for again if it is still wanted, so that scrolling through a long paper draws what is
// in view rather than everything passed on the way.
class BackgroundPages : public QObject {
    Q_OBJECT
public:
    explicit BackgroundPages(QPdfDocument &document, QObject *parent = nullptr);
    ~BackgroundPages() override; // waits for the page being drawn, if any

    // The page as large as fits in `box`, on white; nothing happens while the same request is still waiting.
    void request(int page, QSize box);

signals:
    void drawn(int page, QSize box, const QImage &image);

private:
    using Key = std::tuple<int, int, int>; // page, box width, box height

    QPdfDocument &m_document;
    std::map<Key, quint64> m_waiting; // by the order they were asked in; read and written on the window's thread
    std::atomic<quint64> m_latest{0};
    QThreadPool m_pool; // last: stopped before the rest goes
};
