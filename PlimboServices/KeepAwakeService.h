#pragma once

#include "PlimboModule.h"
#include "PowerAssertion.h"
#include "ReadyHealth.h"

#include <QObject>
#include <QTimer>

#include <chrono>

#include <memory>
#include <optional>

namespace plimbo {

// Keeps the display awake while the user wants it, by holding one power assertion. A
// switchable module, but starting it takes nothing: toggle() does, whether or not the module
// runs, and stopping the module releases the assertion. The desktop is asked without blocking;
// isKeepingAwake turns true when it grants. When it does not answer within `answerTimeout`, the
// request counts as failed (failed() says so) and a grant that still comes later is released at
// once, or kept when the user has asked again meanwhile, so the desktop never keeps the screen
// awake while Plimbo shows it off. When the desktop loses a held assertion (its screen saver
// restarted), it is asked again at once; keep-awake stays on if that is granted and otherwise
// turns off, with failed() saying why. Main thread.
class KeepAwakeService : public QObject, public PlimboModule {
    Q_OBJECT
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY isRunningChanged)
    Q_PROPERTY(bool isKeepingAwake READ isKeepingAwake NOTIFY isKeepingAwakeChanged)

public:
    static inline const QString assertionName = QStringLiteral("Plimbo Keep Awake");
    static constexpr std::chrono::milliseconds defaultAnswerTimeout{2000};

    // Asks the desktop's screen saver on the session bus, else the X server's own.
    KeepAwakeService();
    explicit KeepAwakeService(std::unique_ptr<PowerAssertion> assertion,
                              std::chrono::milliseconds answerTimeout = defaultAnswerTimeout);
    ~KeepAwakeService() override;

    ModuleManifest manifest() const override;
    bool isRunning() const override { return m_isRunning; }
    QFuture<void> start() override;
    QFuture<void> stop() override;
    QFuture<ModuleHealth> healthCheck() override;
    ModuleResourceSnapshot resourceUsageSnapshot() override;

    bool isKeepingAwake() const { return m_isKeepingAwake; }

    // Asks for the assertion unless one is held or a request is still within its time; true
    // when one is held afterwards (at once only when the system answered inside the call).
    bool enable();
    // Releases a held assertion, and any grant still on its way when it comes.
    void disable();
    void toggle();

    // The message failed() carries when the session has no screen-saver inhibit service.
    static QString noInhibitServiceMessage();
    static QString noAnswerMessage();
    static QString refusedMessage();
    static QString lostMessage();

signals:
    void isRunningChanged();
    void isKeepingAwakeChanged();
    // A request to keep the display awake failed; `message` is for the user.
    void failed(const QString& message);

private:
    void setRunning(bool running);
    void setKeepingAwake(bool keepingAwake);
    void onReply(quint64 request, const PowerAssertionReply& reply);
    void onNoAnswer();
    void onLost(quint32 id);
    void request();

    std::unique_ptr<PowerAssertion> m_assertion;
    bool m_isRunning = false;
    bool m_isKeepingAwake = false;
    // Present while held; any value, 0 included, is a valid identifier.
    std::optional<quint32> m_assertionID;
    // What the user last asked for; a grant that arrives while it is false is released.
    bool m_wanted = false;
    // A held assertion was lost and is being asked for again, still shown as on.
    bool m_reacquiring = false;
    // Numbers the requests; the one still within its time, if any, is m_waitingFor.
    quint64 m_lastRequest = 0;
    std::optional<quint64> m_waitingFor;
    QTimer m_answerTimer;
    ReadyHealth m_readyHealth;
};

} // namespace plimbo
