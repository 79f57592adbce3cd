#include "ChatStatusText.h"

namespace plimbo {

QString chatStatusText(ChatStatus status) {
    switch (status) {
    case ChatStatus::ready:
        return QStringLiteral("Ready");
    case ChatStatus::loadingHistory:
        return QStringLiteral("Loading chat history…");
    case ChatStatus::attaching:
        return QStringLiteral("Attaching…");
    case ChatStatus::thinking:
        return QStringLiteral("Thinking…");
    case ChatStatus::writing:
        return QStringLiteral("Writing…");
    case ChatStatus::done:
        return QStringLiteral("Done");
    case ChatStatus::noText:
        return QStringLiteral("No text returned");
    case ChatStatus::stopped:
        return QStringLiteral("Stopped");
    case ChatStatus::failed:
        return QStringLiteral("Failed");
    case ChatStatus::copied:
        return QStringLiteral("Copied");
    }
    return QString();
}

} // namespace plimbo
