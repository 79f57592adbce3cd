#include "PermissionCenter.h"

#include "LinuxPermissionBackend.h"

namespace plimbo {

PermissionCenter::PermissionCenter(std::shared_ptr<PermissionBackend> backend, QObject* parent)
    : QObject(parent)
    , m_backend(backend ? std::move(backend) : std::make_shared<LinuxPermissionBackend>()) {
    refresh();
}

PermissionCenter::~PermissionCenter() = default;

void PermissionCenter::refresh() {
    PermissionState screen = PermissionState::denied;
    switch (m_backend->screenCaptureAccess()) {
    case ScreenCaptureAccess::granted:
        screen = PermissionState::granted;
        break;
    case ScreenCaptureAccess::askEachTime:
        // The desktop's portal asks at each capture.
        screen = PermissionState::notRequested;
        break;
    case ScreenCaptureAccess::unavailable:
        screen = PermissionState::denied;
        break;
    }
    setState(PermissionKind::screenRecording, screen);
    // Linux applications reach the microphone, notifications, autostart and files without a
    // grant of their own, and there are no speech or extension permissions to hold.
    for (PermissionKind kind : allPermissionKinds()) {
        if (kind != PermissionKind::screenRecording) {
            setState(kind, PermissionState::notNeeded);
        }
    }
}

bool PermissionCenter::requestScreenRecording() {
    const bool granted = m_backend->requestScreenCaptureAccess();
    refresh();
    return granted;
}

std::optional<SettingsPage> PermissionCenter::settingsPage(PermissionKind kind) {
    switch (kind) {
    case PermissionKind::screenRecording:
        return SettingsPage::privacy;
    case PermissionKind::microphone:
        return SettingsPage::sound;
    case PermissionKind::notifications:
        return SettingsPage::notifications;
    case PermissionKind::loginItem:
        return SettingsPage::autostart;
    case PermissionKind::speechRecognition:
    case PermissionKind::fullDiskAccess:
    case PermissionKind::systemExtension:
    case PermissionKind::networkExtension:
        return std::nullopt;
    }
    return std::nullopt;
}

bool PermissionCenter::hasSystemSettings(PermissionKind kind) const {
    const auto page = settingsPage(kind);
    return page && m_backend->hasSettingsPage(*page);
}

bool PermissionCenter::openSystemSettings(PermissionKind kind) {
    const auto page = settingsPage(kind);
    return page && m_backend->openSettingsPage(*page);
}

void PermissionCenter::setState(PermissionKind kind, PermissionState state) {
    const auto found = m_states.constFind(kind);
    if (found != m_states.cend() && *found == state) {
        return;
    }
    m_states.insert(kind, state);
    emit statesChanged();
}

} // namespace plimbo
