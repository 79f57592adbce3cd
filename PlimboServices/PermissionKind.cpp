#include "PermissionKind.h"

namespace plimbo {

QString toString(PermissionKind kind) {
    switch (kind) {
    case PermissionKind::screenRecording:
        return QStringLiteral("screenRecording");
    case PermissionKind::microphone:
        return QStringLiteral("microphone");
    case PermissionKind::speechRecognition:
        return QStringLiteral("speechRecognition");
    case PermissionKind::fullDiskAccess:
        return QStringLiteral("fullDiskAccess");
    case PermissionKind::notifications:
        return QStringLiteral("notifications");
    case PermissionKind::loginItem:
        return QStringLiteral("loginItem");
    case PermissionKind::systemExtension:
        return QStringLiteral("systemExtension");
    case PermissionKind::networkExtension:
        return QStringLiteral("networkExtension");
    }
    return {};
}

std::optional<PermissionKind> permissionKindFromString(const QString& raw) {
    for (PermissionKind kind : allPermissionKinds()) {
        if (toString(kind) == raw) {
            return kind;
        }
    }
    return std::nullopt;
}

QString name(PermissionKind kind) {
    switch (kind) {
    case PermissionKind::screenRecording:
        return QStringLiteral("Screen Recording");
    case PermissionKind::microphone:
        return QStringLiteral("Microphone");
    case PermissionKind::speechRecognition:
        return QStringLiteral("Speech Recognition");
    case PermissionKind::fullDiskAccess:
        return QStringLiteral("Full Disk Access");
    case PermissionKind::notifications:
        return QStringLiteral("Notifications");
    case PermissionKind::loginItem:
        return QStringLiteral("Login Item");
    case PermissionKind::systemExtension:
        return QStringLiteral("System Extension");
    case PermissionKind::networkExtension:
        return QStringLiteral("Network Extension");
    }
    return {};
}

QList<PermissionKind> allPermissionKinds() {
    return {PermissionKind::screenRecording,   PermissionKind::microphone,
            PermissionKind::speechRecognition, PermissionKind::fullDiskAccess,
            PermissionKind::notifications,     PermissionKind::loginItem,
            PermissionKind::systemExtension,   PermissionKind::networkExtension};
}

} // namespace plimbo
