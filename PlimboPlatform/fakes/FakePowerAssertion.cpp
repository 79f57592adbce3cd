#include "FakePowerAssertion.h"

#include <utility>

namespace plimbo {

namespace {

PowerAssertionReply decide(FakePowerAssertion::State& state) {
    if (state.refuse) {
        return PowerAssertionReply{std::nullopt, state.serviceMissing,
                                   QStringLiteral("refused by the fake")};
    }
    const quint32 id = state.nextID++;
    state.held.insert(id);
    return PowerAssertionReply{id, false, {}};
}

} // namespace

FakePowerAssertion::FakePowerAssertion(std::shared_ptr<State> state)
    : m_state(std::move(state)) {
    m_state->backend = this;
}

FakePowerAssertion::~FakePowerAssertion() {
    if (m_state->backend == this) {
        m_state->backend = nullptr;
    }
}

bool FakePowerAssertion::loseHeld(State& state) {
    const QSet<quint32> lost = std::exchange(state.held, {});
    if (state.backend) {
        for (const quint32 id : lost) {
            state.backend->reportLost(id);
        }
    }
    return !lost.isEmpty();
}

void FakePowerAssertion::requestNoDisplaySleepAssertion(const QString& name, ReplyHandler replied) {
    ++m_state->createCalls;
    m_state->lastName = name;
    if (m_state->holdReplies) {
        m_state->waiting.append(std::move(replied));
        return;
    }
    replied(decide(*m_state));
}

void FakePowerAssertion::releaseAssertion(quint32 id) {
    ++m_state->releaseCalls;
    m_state->held.remove(id);
}

bool FakePowerAssertion::answerWaiting(State& state) {
    if (state.waiting.isEmpty()) {
        return false;
    }
    const ReplyHandler replied = state.waiting.takeFirst();
    replied(decide(state));
    return true;
}

} // namespace plimbo
