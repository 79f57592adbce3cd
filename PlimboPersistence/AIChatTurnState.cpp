#include "AIChatTurnState.h"

namespace plimbo {

QString toString(AIChatTurnState state) {
    switch (state) {
    case AIChatTurnState::streaming:
        return QStringLiteral("streaming");
    case AIChatTurnState::completed:
        return QStringLiteral("completed");
    case AIChatTurnState::stopped:
        return QStringLiteral("stopped");
    case AIChatTurnState::failed:
        return QStringLiteral("failed");
    }
    return QStringLiteral("completed");
}

std::optional<AIChatTurnState> aiChatTurnStateFromString(const QString& raw) {
    for (AIChatTurnState state : {AIChatTurnState::streaming, AIChatTurnState::completed,
                                  AIChatTurnState::stopped, AIChatTurnState::failed}) {
        if (toString(state) == raw) {
            return state;
        }
    }
    return std::nullopt;
}

} // namespace plimbo
