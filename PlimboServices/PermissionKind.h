#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace plimbo {

// The permissions the permission view lists, in this order.
enum class PermissionKind {
    screenRecording,
    microphone,
    speechRecognition,
    fullDiskAccess,
    notifications,
    loginItem,
    systemExtension,
    networkExtension,
};

// Raw value (also the id): the case name.
QString toString(PermissionKind kind);
// Exact match of the raw value.
std::optional<PermissionKind> permissionKindFromString(const QString& raw);
// Title shown to the user.
QString name(PermissionKind kind);
QList<PermissionKind> allPermissionKinds();

} // namespace plimbo
