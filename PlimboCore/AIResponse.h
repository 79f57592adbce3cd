#pragma once

#include "AIUsage.h"

#include <QString>

#include <optional>

namespace plimbo {

// The whole answer of a one-shot (non-streamed) request.
struct AIResponse {
    QString id;
    QString model;
    QString content;
    std::optional<QString> finishReason;
    std::optional<AIUsage> usage;

    bool operator==(const AIResponse&) const = default;
};

} // namespace plimbo
