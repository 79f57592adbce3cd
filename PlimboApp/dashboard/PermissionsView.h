#pragma once

#include "PermissionKind.h"

#include <QHash>
#include <QWidget>

class QLabel;
class QPushButton;

namespace plimbo {

class DashboardList;
class PermissionCenter;
class PresentedError;
class StatusPill;

// The dashboard's permissions section: every permission kind with its state on this desktop
// and one action: ask for screen capture, open the desktop's settings page for the kind, or
// explain a limit of this build. Shows the states of the permission centre's last refresh.
class PermissionsView : public QWidget {
    Q_OBJECT

public:
    // What a row offers, at most one.
    enum class Action { none, explainLimit, request, openSettings };

    // The limits' explanation goes to `error`, the message every surface shows.
    PermissionsView(PermissionCenter& permissions, PresentedError& error,
                    QWidget* parent = nullptr);

    QPushButton* refreshButton() const { return m_refresh; }
    QString stateText(PermissionKind kind) const;
    Action action(PermissionKind kind) const;
    // The row's button for its action (null for none).
    QPushButton* actionButton(PermissionKind kind) const;

    static QString symbol(PermissionKind kind);
    // What a signed build would add; the general settings' distribution note says the same.
    static QString signedBuildNote();

private:
    struct Row {
        QLabel* state = nullptr;
        QWidget* limit = nullptr;
        QPushButton* why = nullptr;
        QPushButton* request = nullptr;
        QPushButton* openSettings = nullptr;
        Action action = Action::none;
    };

    QWidget* makeRow(PermissionKind kind);
    void refresh();

    PermissionCenter& m_permissions;
    PresentedError& m_error;
    QPushButton* m_refresh;
    DashboardList* m_list;
    QHash<PermissionKind, Row> m_rows;
};

} // namespace plimbo
