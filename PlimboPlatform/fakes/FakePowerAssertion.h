#pragma once

#include "PowerAssertion.h"

#include <QSet>

#include <memory>

namespace plimbo {

// Power assertions kept in memory. The state outlives the backend so a test can check that
// an owner released what it held when it went away.
class FakePowerAssertion final : public PowerAssertion {
public:
    struct State {
        bool refuse = false;
        // The first identifier handed out; 0 is a valid one.
        quint32 nextId = 0;
        QSet<quint32> held;
        QString lastName;
        int createCalls = 0;
        int releaseCalls = 0;
    };

    explicit FakePowerAssertion(std::shared_ptr<State> state = std::make_shared<State>());

    std::shared_ptr<State> state() const { return m_state; }

    std::optional<quint32> createNoDisplaySleepAssertion(const QString& name) override;
    bool releaseAssertion(quint32 id) override;

private:
    std::shared_ptr<State> m_state;
};

} // namespace plimbo
