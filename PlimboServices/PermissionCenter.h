#pragma once

#include "PermissionKind.h"
#include "PermissionState.h"

#include <QMap>
#include <QObject>

#include <memory>
#include <optional>

namespace plimbo {

class PermissionBackend;
enum class SettingsPage;

using PermissionStates = QMap<PermissionKind, PermissionState>;

// Which permissions the application has on this desktop. Only screen capture is asked of the
// system; the other kinds are things Linux never asks an application for, so they read
// "Not needed on Linux". Not a module; lives on the main thread.
class PermissionCenter : public QObject {
    Q_OBJECT
    Q_PROPERTY(plimbo::PermissionStates states READ states NOTIFY statesChanged)

public:
    // backend: the desktop's side; the Linux one when null. Refreshes at once.
    explicit PermissionCenter(std::shared_ptr<PermissionBackend> backend = nullptr,
                              QObject* parent = nullptr);
    ~PermissionCenter() override;

    // Every kind has an entry.
    PermissionStates states() const { return m_states; }

    // Re-reads screen capture (never prompts) and sets every kind, in kind order, each change
    // announced on its own.
    void refresh();
    // Asks for screen capture where the desktop can ask ahead, refreshes, answers whether it
    // is granted now.
    bool requestScreenRecording();
    // Whether the desktop has a settings page for the kind.
    bool hasSystemSettings(PermissionKind kind) const;
    // Opens the nearest desktop settings page for the kind; false when there is none here or
    // it could not be opened.
    bool openSystemSettings(PermissionKind kind);

    // The desktop page closest to the kind's meaning, if any.
    static std::optional<SettingsPage> settingsPage(PermissionKind kind);

signals:
    void statesChanged();

private:
    void setState(PermissionKind kind, PermissionState state);

    std::shared_ptr<PermissionBackend> m_backend;
    PermissionStates m_states;
};

} // namespace plimbo
