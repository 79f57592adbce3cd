#pragma once

#include "PlimboModule.h"
#include "PowerAssertion.h"

#include <QObject>

#include <memory>
#include <optional>

namespace plimbo {

// Keeps the display awake while the user wants it, by holding one power assertion. A
// switchable module, but starting it takes nothing: toggle() does, whether or not the module
// runs, and stopping the module releases the assertion.
class KeepAwakeService : public QObject, public PlimboModule {
    Q_OBJECT
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY isRunningChanged)
    Q_PROPERTY(bool isKeepingAwake READ isKeepingAwake NOTIFY isKeepingAwakeChanged)

public:
    static inline const QString assertionName = QStringLiteral("Plimbo Keep Awake");

    // Asks the desktop's screen saver on the session bus.
    KeepAwakeService();
    explicit KeepAwakeService(std::unique_ptr<PowerAssertion> assertion);
    ~KeepAwakeService() override;

    ModuleManifest manifest() const override;
    bool isRunning() const override { return m_isRunning; }
    QFuture<void> start() override;
    QFuture<void> stop() override;
    QFuture<ModuleHealth> healthCheck() override;
    ModuleResourceSnapshot resourceUsageSnapshot() override;

    bool isKeepingAwake() const { return m_isKeepingAwake; }

    // Takes the assertion unless one is held; true when one is held afterwards.
    bool enable();
    // Releases a held assertion; does nothing otherwise.
    void disable();
    void toggle();

signals:
    void isRunningChanged();
    void isKeepingAwakeChanged();

private:
    void setRunning(bool running);
    void setKeepingAwake(bool keepingAwake);

    std::unique_ptr<PowerAssertion> m_assertion;
    bool m_isRunning = false;
    bool m_isKeepingAwake = false;
    // Present while held; any value, 0 included, is a valid identifier.
    std::optional<quint32> m_assertionID;
};

} // namespace plimbo
