#include "AIStreamEvent.h"

namespace plimbo {

AIStreamEvent AIStreamEvent::makeText(const QString& text) {
    AIStreamEvent event;
    event.kind = Kind::text;
    event.text = text;
    return event;
}

AIStreamEvent AIStreamEvent::makeMetadata(const std::optional<QString>& model) {
    AIStreamEvent event;
    event.kind = Kind::metadata;
    event.model = model;
    return event;
}

AIStreamEvent AIStreamEvent::makeUsage(const AIUsage& usage) {
    AIStreamEvent event;
    event.kind = Kind::usage;
    event.usage = usage;
    return event;
}

AIStreamEvent AIStreamEvent::makeFinished(const std::optional<QString>& reason) {
    AIStreamEvent event;
    event.kind = Kind::finished;
    event.reason = reason;
    return event;
}

} // namespace plimbo
