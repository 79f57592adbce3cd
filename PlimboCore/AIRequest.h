#pragma once

#include "AIMessage.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

namespace plimbo {

// One chat request. The caller creates the id; the client keys its running stream by it.
struct AIRequest {
    QUuid id;
    QString model;
    QList<AIMessage> messages;
    std::optional<double> temperature;
    std::optional<int> maxOutputTokens;

    bool operator==(const AIRequest&) const = default;
};

} // namespace plimbo
