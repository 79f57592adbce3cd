#pragma once

#include "AIChatAttachment.h"
#include "AIChatTurn.h"
#include "ReduceMotion.h"

#include <QApplication>
#include <QDateTime>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QUrl>
#include <QUuid>
#include <QWidget>

// Small builders and event helpers shared by the chat view tests.
namespace plimbo::test::chat {

inline AIChatAttachment attachment(const QString& name,
                                   AIChatAttachmentKind kind = AIChatAttachmentKind::text,
                                   qint64 bytes = 1240) {
    return AIChatAttachment{
        QUuid::createUuid(), name, QStringLiteral("application/octet-stream"), kind, bytes, name};
}

inline AIChatTurn turn(const QString& prompt, const QString& response,
                       AIChatTurnState state = AIChatTurnState::completed,
                       std::optional<QString> failure = std::nullopt,
                       QList<AIChatAttachment> attachments = {}) {
    return AIChatTurn(QUuid::createUuid(), prompt, response,
                      QDateTime(QDate(2025, 3, 1), QTime(12, 0), Qt::UTC), state,
                      std::move(failure), std::move(attachments));
}

inline QImage solidImage(const QColor& color, QSize size = QSize(40, 30)) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

// Sets the reduce-motion switch for one test and puts it back after.
class MotionScope {
public:
    explicit MotionScope(bool reduce)
        : m_before(ReduceMotion::enabled()) {
        ReduceMotion::instance().setEnabled(reduce);
    }
    ~MotionScope() { ReduceMotion::instance().setEnabled(m_before); }

private:
    bool m_before;
};

// Drags the addresses over `target` and drops them; whether the drop was taken.
inline bool dropUrls(QWidget* target, const QList<QUrl>& urls, const QString& text = QString()) {
    QMimeData data;
    data.setUrls(urls);
    if (!text.isEmpty()) {
        data.setText(text);
    }
    const QPointF point(target->width() / 2.0, target->height() / 2.0);
    QDragEnterEvent enter(point.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(point.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted() && drop.dropAction() != Qt::IgnoreAction;
}

inline QImage grab(QWidget* widget) {
    return widget->grab().toImage();
}

} // namespace plimbo::test::chat
