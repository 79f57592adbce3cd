#include "PermissionState.h"

namespace plimbo {

QString toString(PermissionState state) {
    switch (state) {
    case PermissionState::granted:
        return QStringLiteral("granted");
    case PermissionState::denied:
        return QStringLiteral("denied");
    case PermissionState::notRequested:
        return QStringLiteral("notRequested");
    case PermissionState::unavailableInAdHoc:
        return QStringLiteral("unavailableInAdHoc");
    case PermissionState::notNeeded:
        return QStringLiteral("notNeeded");
    }
    return {};
}

std::optional<PermissionState> permissionStateFromString(const QString& raw) {
    for (PermissionState state :
         {PermissionState::granted, PermissionState::denied, PermissionState::notRequested,
          PermissionState::unavailableInAdHoc, PermissionState::notNeeded}) {
        if (toString(state) == raw) {
            return state;
        }
    }
    return std::nullopt;
}

QString label(PermissionState state) {
    switch (state) {
    case PermissionState::granted:
        return QStringLiteral("Granted");
    case PermissionState::denied:
        return QStringLiteral("Not granted");
    case PermissionState::notRequested:
        return QStringLiteral("Ask when needed");
    case PermissionState::unavailableInAdHoc:
        return QStringLiteral("Developer ID required");
    case PermissionState::notNeeded:
        return QStringLiteral("Not needed on Linux");
    }
    return {};
}

} // namespace plimbo
