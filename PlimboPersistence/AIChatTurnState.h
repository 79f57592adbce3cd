#pragma once

#include <QString>

#include <optional>

namespace plimbo {

// Where the answer of a stored chat turn stands.
enum class AIChatTurnState { streaming, completed, stopped, failed };

QString toString(AIChatTurnState state);
// Exact, case-sensitive match of the raw value.
std::optional<AIChatTurnState> aiChatTurnStateFromString(const QString& raw);

} // namespace plimbo
