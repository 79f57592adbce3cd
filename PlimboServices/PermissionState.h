#pragma once

#include <QString>

#include <optional>

namespace plimbo {

// What the permission view shows for one kind.
enum class PermissionState {
    granted,
    denied,
    notRequested,
    unavailableInAdHoc,
    // The kind has no meaning on this system: nothing to grant.
    notNeeded,
};

// Raw value: the case name.
QString toString(PermissionState state);
// Exact match of the raw value.
std::optional<PermissionState> permissionStateFromString(const QString& raw);
// Text shown to the user.
QString label(PermissionState state);

} // namespace plimbo
