#include "AIRoutingProfile.h"

namespace plimbo {

QString toString(AIRoutingProfile profile) {
    switch (profile) {
    case AIRoutingProfile::fast:
        return QStringLiteral("fast");
    case AIRoutingProfile::balanced:
        return QStringLiteral("balanced");
    case AIRoutingProfile::quality:
        return QStringLiteral("quality");
    case AIRoutingProfile::economical:
        return QStringLiteral("economical");
    case AIRoutingProfile::custom:
        return QStringLiteral("custom");
    }
    return QStringLiteral("balanced");
}

std::optional<AIRoutingProfile> aiRoutingProfileFromString(const QString& raw) {
    for (AIRoutingProfile profile : allAIRoutingProfiles()) {
        if (toString(profile) == raw) {
            return profile;
        }
    }
    return std::nullopt;
}

QString label(AIRoutingProfile profile) {
    QString text = toString(profile);
    text[0] = text[0].toUpper();
    return text;
}

QList<AIRoutingProfile> allAIRoutingProfiles() {
    return {AIRoutingProfile::fast, AIRoutingProfile::balanced, AIRoutingProfile::quality,
            AIRoutingProfile::economical, AIRoutingProfile::custom};
}

} // namespace plimbo
