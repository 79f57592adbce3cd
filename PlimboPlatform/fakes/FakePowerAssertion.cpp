#include "FakePowerAssertion.h"

namespace plimbo {

FakePowerAssertion::FakePowerAssertion(std::shared_ptr<State> state)
    : m_state(std::move(state)) {}

std::optional<quint32> FakePowerAssertion::createNoDisplaySleepAssertion(const QString& name) {
    ++m_state->createCalls;
    m_state->lastName = name;
    if (m_state->refuse) {
        return std::nullopt;
    }
    const quint32 id = m_state->nextId++;
    m_state->held.insert(id);
    return id;
}

bool FakePowerAssertion::releaseAssertion(quint32 id) {
    ++m_state->releaseCalls;
    return m_state->held.remove(id);
}

} // namespace plimbo
