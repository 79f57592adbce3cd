#include "FakeHotKeyBackend.h"

namespace plimbo {

void FakeHotKeyBackend::State::refuse(QKeyCombination keys, HotKeyStatus status) {
    refusals.insert(keys.toCombined(), status);
}

bool FakeHotKeyBackend::State::press(QKeyCombination keys) {
    for (const Held& held : std::as_const(this->held)) {
        if (held.keys == keys) {
            return deliver(held.id);
        }
    }
    return false;
}

bool FakeHotKeyBackend::State::deliver(quint32 id) {
    if (!handler) {
        return false;
    }
    const Handler current = handler;
    return current(id);
}

void FakeHotKeyBackend::State::answer(quint32 id, Binding binding) {
    for (auto it = held.cbegin(); it != held.cend(); ++it) {
        if (it->id == id) {
            bindings.insert(it.key(), binding);
        }
    }
    if (bindingsChanged) {
        const std::function<void()> changed = bindingsChanged;
        changed();
    }
}

FakeHotKeyBackend::FakeHotKeyBackend(std::shared_ptr<State> state)
    : m_state(std::move(state)) {}

FakeHotKeyBackend::~FakeHotKeyBackend() = default;

HotKeyStatus FakeHotKeyBackend::installHandler(Handler handler) {
    if (m_state->installStatus != HotKeyStatus::success) {
        return m_state->installStatus;
    }
    m_state->handler = std::move(handler);
    return HotKeyStatus::success;
}

void FakeHotKeyBackend::removeHandler() {
    m_state->handler = nullptr;
}

HotKeyBackend::Registration FakeHotKeyBackend::registerHotKey(quint32 id, QKeyCombination keys) {
    ++m_state->registerCalls;
    const auto refusal = m_state->refusals.constFind(keys.toCombined());
    if (refusal != m_state->refusals.constEnd()) {
        return {*refusal, 0};
    }
    if (m_state->succeedWithoutReference) {
        return {HotKeyStatus::success, 0};
    }
    for (const Held& held : std::as_const(m_state->held)) {
        if (held.keys == keys) {
            return {HotKeyStatus::alreadyTaken, 0};
        }
    }
    const quint64 ref = m_state->nextRef++;
    m_state->held.insert(ref, Held{id, keys});
    if (m_state->answersLater) {
        m_state->bindings.insert(ref, Binding{HotKeyStatus::pending, {}});
        return {HotKeyStatus::pending, ref};
    }
    return {HotKeyStatus::success, ref};
}

HotKeyBackend::Binding FakeHotKeyBackend::binding(quint64 ref) const {
    if (!m_state->held.contains(ref)) {
        return {HotKeyStatus::nothingStored, {}};
    }
    return m_state->bindings.value(ref, Binding{HotKeyStatus::success, {}});
}

void FakeHotKeyBackend::setBindingsChangedHandler(std::function<void()> handler) {
    m_state->bindingsChanged = std::move(handler);
}

void FakeHotKeyBackend::unregisterHotKey(quint64 ref) {
    ++m_state->unregisterCalls;
    m_state->held.remove(ref);
    m_state->bindings.remove(ref);
}

} // namespace plimbo
