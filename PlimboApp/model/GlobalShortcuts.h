#pragma once

#include "PlimboGlobalShortcut.h"

#include <QObject>

#include <functional>
#include <memory>

namespace plimbo {

class GlobalHotKeyController;

// The three system-wide shortcuts: registers them through a fresh hot-key controller, keeps the
// set whose registration succeeded and calls `pressed` when one fires. Main thread only. A
// shortcut that cannot be registered (taken by another program, no X server) is simply left out
// of registeredShortcuts(); the settings offer a retry.
class GlobalShortcuts : public QObject {
    Q_OBJECT

public:
    using ControllerFactory = std::function<std::unique_ptr<GlobalHotKeyController>()>;
    using Handler = std::function<void(PlimboGlobalShortcut)>;

    // Without a factory nothing is ever registered.
    GlobalShortcuts(ControllerFactory makeController, Handler pressed, QObject* parent = nullptr);
    ~GlobalShortcuts() override;

    GlobalShortcutSet registeredShortcuts() const { return m_registered; }
    // Registers all three through a new controller; only then is the previous one released
    // (which releases its keys).
    void install();
    // Drops the current keys first, so the new registrations never meet them, then installs.
    void retry();

signals:
    void registeredShortcutsChanged();

private:
    void setRegistered(const GlobalShortcutSet& shortcuts);

    ControllerFactory m_makeController;
    Handler m_pressed;
    std::unique_ptr<GlobalHotKeyController> m_controller;
    GlobalShortcutSet m_registered;
};

} // namespace plimbo
