#include "FakeHotKeyBackend.h"

namespace plimbo {

qint32 FakeHotKeyBackend::State::press(quint32 keyCode, quint32 modifiers) {
    for (const Held& held : std::as_const(this->held)) {
        if (held.keyCode == keyCode && held.modifiers == modifiers) {
            return deliver(held.id);
        }
    }
    return EventNotHandled;
}

qint32 FakeHotKeyBackend::State::deliver(quint32 id) {
    if (!handler) {
        return EventNotHandled;
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

qint32 FakeHotKeyBackend::installHandler(Handler handler) {
    if (m_state->installStatus != NoError) {
        return m_state->installStatus;
    }
    m_state->handler = std::move(handler);
    return NoError;
}

void FakeHotKeyBackend::removeHandler() {
    m_state->handler = nullptr;
}

HotKeyBackend::Registration FakeHotKeyBackend::registerHotKey(quint32 id, quint32 keyCode,
                                                              quint32 modifiers) {
    ++m_state->registerCalls;
    const auto refusal = m_state->refusals.constFind({keyCode, modifiers});
    if (refusal != m_state->refusals.constEnd()) {
        return {*refusal, 0};
    }
    if (m_state->succeedWithoutReference) {
        return {NoError, 0};
    }
    for (const Held& held : std::as_const(m_state->held)) {
        if (held.keyCode == keyCode && held.modifiers == modifiers) {
            return {HotKeyExists, 0};
        }
    }
    const quint64 ref = m_state->nextRef++;
    m_state->held.insert(ref, Held{id, keyCode, modifiers});
    if (m_state->answersLater) {
        m_state->bindings.insert(ref, Binding{RegistrationPending, {}});
        return {RegistrationPending, ref};
    }
    return {NoError, ref};
}

HotKeyBackend::Binding FakeHotKeyBackend::binding(quint64 ref) const {
    if (!m_state->held.contains(ref)) {
        return {NothingStored, {}};
    }
    return m_state->bindings.value(ref, Binding{NoError, {}});
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
