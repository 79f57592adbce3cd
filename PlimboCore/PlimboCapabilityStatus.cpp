#include "PlimboCapabilityStatus.h"

namespace plimbo {

QString toString(PlimboCapabilityStatus status) {
    switch (status) {
    case PlimboCapabilityStatus::available:
        return QStringLiteral("available");
    case PlimboCapabilityStatus::permissionRequired:
        return QStringLiteral("permissionRequired");
    case PlimboCapabilityStatus::developerIDRequired:
        return QStringLiteral("developerIDRequired");
    case PlimboCapabilityStatus::entitlementRequired:
        return QStringLiteral("entitlementRequired");
    case PlimboCapabilityStatus::unavailableInAdHoc:
        return QStringLiteral("unavailableInAdHoc");
    case PlimboCapabilityStatus::experimental:
        return QStringLiteral("experimental");
    case PlimboCapabilityStatus::unavailableThroughPublicAPI:
        return QStringLiteral("unavailableThroughPublicAPI");
    }
    return QStringLiteral("available");
}

std::optional<PlimboCapabilityStatus> plimboCapabilityStatusFromString(const QString& raw) {
    for (PlimboCapabilityStatus status : allPlimboCapabilityStatuses()) {
        if (toString(status) == raw) {
            return status;
        }
    }
    return std::nullopt;
}

QString label(PlimboCapabilityStatus status) {
    switch (status) {
    case PlimboCapabilityStatus::available:
        return QStringLiteral("Available");
    case PlimboCapabilityStatus::permissionRequired:
        return QStringLiteral("Permission required");
    case PlimboCapabilityStatus::developerIDRequired:
        return QStringLiteral("Developer ID required");
    case PlimboCapabilityStatus::entitlementRequired:
        return QStringLiteral("Entitlement required");
    case PlimboCapabilityStatus::unavailableInAdHoc:
        return QStringLiteral("Unavailable in ad-hoc");
    case PlimboCapabilityStatus::experimental:
        return QStringLiteral("Experimental");
    case PlimboCapabilityStatus::unavailableThroughPublicAPI:
        return QStringLiteral("Unavailable through public API");
    }
    return QStringLiteral("Available");
}

QList<PlimboCapabilityStatus> allPlimboCapabilityStatuses() {
    return {PlimboCapabilityStatus::available,
            PlimboCapabilityStatus::permissionRequired,
            PlimboCapabilityStatus::developerIDRequired,
            PlimboCapabilityStatus::entitlementRequired,
            PlimboCapabilityStatus::unavailableInAdHoc,
            PlimboCapabilityStatus::experimental,
            PlimboCapabilityStatus::unavailableThroughPublicAPI};
}

} // namespace plimbo
