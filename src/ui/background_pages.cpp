#include "ui/background_pages.h"

#include "workspace/pdf_pages.h"

namespace {

// Requests kept waiting: a few screens of thumbnails and the preview.
constexpr quint64 kKeptWaiting = 24;

} // namespace

BackgroundPages::BackgroundPages(QPdfDocument &document, QObject *parent)
    : QObject(parent)
    , m_document(document)
{
    m_pool.setMaxThreadCount(1); // the PDF library draws one page at a time anyway
}

BackgroundPages::~BackgroundPages()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void BackgroundPages::request(int page, QSize box)
{
    const Key key{page, box.width(), box.height()};
    const auto it = m_waiting.find(key);
    if (it != m_waiting.end() && it->second + kKeptWaiting > m_latest)
        return;
    const quint64 order = ++m_latest;
    m_waiting[key] = order;
    m_pool.start(
        [this, page, box, order, key] {
            if (order + kKeptWaiting <= m_latest)
                return; // overtaken
            const QImage image = renderPageToFit(m_document, page, box);
            QMetaObject::invokeMethod(
                this,
                [this, page, box, image, key] {
                    m_waiting.erase(key);
                    emit drawn(page, box, image);
                },
                Qt::QueuedConnection);
        },
        int(order % (1u << 30))); // the latest first
}
