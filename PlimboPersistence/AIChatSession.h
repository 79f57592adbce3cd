#pragma once

#include "AIChatTurn.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QUuid>

namespace plimbo {

// One chat: its title and its turns in the order the application keeps them.
struct AIChatSession {
    QUuid id;
    QString title;
    QList<AIChatTurn> turns;
    ChatDate createdAt;
    ChatDate updatedAt;

    // All five keys are written and all are required on read; fromJson() throws
    // JsonDecodingError when this record or any turn in it is malformed.
    QJsonObject toJson() const;
    static AIChatSession fromJson(const QJsonValue& value);

    bool operator==(const AIChatSession&) const = default;
};

} // namespace plimbo

Q_DECLARE_METATYPE(plimbo::AIChatSession)
