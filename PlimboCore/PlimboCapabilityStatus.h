#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace plimbo {

// Under which condition a module's function is available.
enum class PlimboCapabilityStatus {
    available,
    permissionRequired,
    developerIDRequired,
    entitlementRequired,
    unavailableInAdHoc,
    experimental,
    unavailableThroughPublicAPI,
};

// Raw value: the case name.
QString toString(PlimboCapabilityStatus status);
// Exact, case-sensitive match of the raw value.
std::optional<PlimboCapabilityStatus> plimboCapabilityStatusFromString(const QString& raw);
// Text shown to the user.
QString label(PlimboCapabilityStatus status);
QList<PlimboCapabilityStatus> allPlimboCapabilityStatuses();

} // namespace plimbo
