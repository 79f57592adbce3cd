#pragma once

#include "AIUsage.h"

#include <QJsonValue>

#include <optional>

namespace plimbo {

// The provider's token counts, shared by one-shot answers and stream chunks.
struct UsageBody {
    std::optional<qint64> promptTokens;
    std::optional<qint64> completionTokens;
    std::optional<qint64> totalTokens;

    // Field by field; an absent count stays absent.
    AIUsage toAIUsage() const { return AIUsage{promptTokens, completionTokens, totalTokens}; }

    static UsageBody fromJson(const QJsonValue& value);
};

} // namespace plimbo
