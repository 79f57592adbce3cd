#pragma once

#include "PlimboGlobalShortcut.h"

#include <QHash>
#include <QObject>

#include <functional>
#include <memory>

namespace plimbo {

class GlobalHotKeyController;

// The three system-wide shortcuts: registers them through a fresh hot-key controller, keeps the
// set the desktop holds now and calls `pressed` when one fires. Main thread only. A shortcut
// that cannot be registered (taken by another program, refused by the desktop, no facility) is
// left out of registeredShortcuts(); the settings offer a retry. Through the desktop portal the
// answer comes later, and the desktop may bind other keys than ours: both follow the
// controller's registrationsChanged.
class GlobalShortcuts : public QObject {
    Q_OBJECT

public:
    using ControllerFactory = std::function<std::unique_ptr<GlobalHotKeyController>()>;
    using Handler = std::function<void(PlimboGlobalShortcut)>;

    // Without a factory nothing is ever registered.
    GlobalShortcuts(ControllerFactory makeController, Handler pressed, QObject* parent = nullptr);
    ~GlobalShortcuts() override;

    GlobalShortcutSet registeredShortcuts() const { return m_registered; }
    // The keys of a shortcut as the desktop bound them, or ours while it bound none.
    QString label(PlimboGlobalShortcut shortcut) const;
    // Why no shortcut can work here (empty when they can).
    QString unavailableReason() const;
    // Follows labelsChanged.
    GlobalShortcutState state(PlimboGlobalShortcut shortcut) const;
    // Registers all three through a new controller; only then is the previous one released
    // (which releases its keys).
    void install();
    // Drops the current keys first, so the new registrations never meet them, then installs.
    void retry();

signals:
    void registeredShortcutsChanged();
    // A label or the unavailable reason may have changed.
    void labelsChanged();

private:
    void setRegistered(const GlobalShortcutSet& shortcuts);

    ControllerFactory m_makeController;
    Handler m_pressed;
    std::unique_ptr<GlobalHotKeyController> m_controller;
    GlobalShortcutSet m_registered;
    // The refusals of the current controller's registrations, which it does not keep.
    QHash<PlimboGlobalShortcut, HotKeyStatus> m_refusals;
};

} // namespace plimbo
