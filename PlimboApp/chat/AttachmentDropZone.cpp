#include "AttachmentDropZone.h"

#include <QDragEnterEvent>
#include <QMimeData>

namespace plimbo {

AttachmentDropZone::AttachmentDropZone(QWidget* parent)
    : QWidget(parent) {
    setAcceptDrops(true);
}

void AttachmentDropZone::setHandler(Handler handler) {
    m_handler = std::move(handler);
}

void AttachmentDropZone::setTargeted(bool targeted) {
    if (m_targeted != targeted) {
        m_targeted = targeted;
        emit targetedChanged(targeted);
    }
}

QList<QUrl> AttachmentDropZone::fileUrls(const QList<QUrl>& urls) {
    QList<QUrl> files;
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            files.append(url);
        }
    }
    return files;
}

bool AttachmentDropZone::drop(const QList<QUrl>& urls) {
    setTargeted(false);
    return m_handler ? m_handler(fileUrls(urls)) : false;
}

void AttachmentDropZone::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
        setTargeted(true);
    } else {
        event->ignore();
    }
}

void AttachmentDropZone::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void AttachmentDropZone::dragLeaveEvent(QDragLeaveEvent* event) {
    setTargeted(false);
    event->accept();
}

void AttachmentDropZone::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    if (drop(event->mimeData()->urls())) {
        event->acceptProposedAction();
    } else {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
    }
}

} // namespace plimbo
