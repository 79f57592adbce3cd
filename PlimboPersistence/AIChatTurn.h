#pragma once

#include "AIChatAttachment.h"
#include "AIChatTurnState.h"
#include "ChatDate.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QUuid>

#include <optional>

namespace plimbo {

// One prompt of a chat and the answer to it.
struct AIChatTurn {
    QUuid id;
    QString prompt;
    QString response; // what has arrived so far; may be empty
    ChatDate createdAt;
    AIChatTurnState state = AIChatTurnState::completed;
    std::optional<QString> failureMessage;
    QList<AIChatAttachment> attachments;

    AIChatTurn() = default;
    AIChatTurn(QUuid id, QString prompt, QString response, ChatDate createdAt,
               AIChatTurnState state, std::optional<QString> failureMessage,
               QList<AIChatAttachment> attachments);
    // Without a failure message.
    AIChatTurn(QUuid id, QString prompt, QString response, ChatDate createdAt,
               AIChatTurnState state, QList<AIChatAttachment> attachments);

    // "failureMessage" is written only when present; "state" and "attachments" always.
    // Reading: "state" absent or null gives completed, "failureMessage" absent or null gives
    // none, "attachments" absent or null gives an empty list; anything malformed throws
    // JsonDecodingError.
    QJsonObject toJson() const;
    static AIChatTurn fromJson(const QJsonValue& value);

    bool operator==(const AIChatTurn&) const = default;
};

} // namespace plimbo

Q_DECLARE_METATYPE(plimbo::AIChatTurn)
