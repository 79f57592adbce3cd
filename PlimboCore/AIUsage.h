#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QMetaType>

#include <optional>

namespace plimbo {

// Token counts of one request; each count is absent when the provider did not report it.
struct AIUsage {
    std::optional<qint64> promptTokens;
    std::optional<qint64> completionTokens;
    std::optional<qint64> totalTokens;

    // Keys are the field names; absent counts are left out.
    QJsonObject toJson() const;
    static AIUsage fromJson(const QJsonValue& value);

    bool operator==(const AIUsage&) const = default;
};

} // namespace plimbo

Q_DECLARE_METATYPE(plimbo::AIUsage)
