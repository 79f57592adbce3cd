#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace plimbo {

enum class AIRoutingProfile { fast, balanced, quality, economical, custom };

QString toString(AIRoutingProfile profile);
std::optional<AIRoutingProfile> aiRoutingProfileFromString(const QString& raw);
// The raw value with its first letter in upper case ("Fast", "Balanced", ...).
QString label(AIRoutingProfile profile);
QList<AIRoutingProfile> allAIRoutingProfiles();

} // namespace plimbo
