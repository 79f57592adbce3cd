#pragma once

#include "PowerAssertion.h"

#include <QList>
#include <QSet>

#include <memory>

namespace plimbo {

// Power assertions kept in memory. The state outlives the backend so a test can check that
// an owner released what it held when it went away. Requests are answered at once unless the
// state holds them back; a held request is answered by answerWaiting(), as late as the test likes.
class FakePowerAssertion final : public PowerAssertion {
public:
    struct State {
        bool refuse = false;
        // Refusals say the session has no service for it.
        bool serviceMissing = false;
        // Leaves requests unanswered until answerWaiting().
        bool holdReplies = false;
        // The first identifier handed out; 0 is a valid one.
        quint32 nextID = 0;
        // Granted and not released.
        QSet<quint32> held;
        QString lastName;
        int createCalls = 0;
        int releaseCalls = 0;
        QList<ReplyHandler> waiting;
        // The backend using this state, while it exists.
        FakePowerAssertion* backend = nullptr;
    };

    explicit FakePowerAssertion(std::shared_ptr<State> state = std::make_shared<State>());
    ~FakePowerAssertion() override;

    std::shared_ptr<State> state() const { return m_state; }

    void requestNoDisplaySleepAssertion(const QString& name, ReplyHandler replied) override;
    void releaseAssertion(quint32 id) override;

    // Answers the oldest held request as `refuse` says; false when none is waiting.
    static bool answerWaiting(State& state);
    // Every held assertion is lost, as when the service that granted them restarts; false when
    // none was held.
    static bool loseHeld(State& state);

private:
    std::shared_ptr<State> m_state;
};

} // namespace plimbo
