#pragma once

#include "HotKeyBackend.h"

#include <QHash>
#include <QMap>

#include <memory>

namespace plimbo {

// Hot keys without a display server. The state outlives the backend, so a test can see what a
// released owner left behind and press keys afterwards.
class FakeHotKeyBackend final : public HotKeyBackend {
public:
    struct Held {
        quint32 id = 0;
        QKeyCombination keys;
    };

    struct State {
        // What installHandler answers.
        HotKeyStatus installStatus = HotKeyStatus::success;
        // Combinations another application holds (by QKeyCombination::toCombined()), with the
        // status a registration gets; refuse() adds one.
        QHash<int, HotKeyStatus> refusals;
        // Answer success without handing back a reference.
        bool succeedWithoutReference = false;
        // Answer pending, as the desktop portal does; answer() settles them.
        bool answersLater = false;
        // What binding() reports per reference once answered.
        QMap<quint64, Binding> bindings;
        QString unavailableReason;
        std::function<void()> bindingsChanged;

        Handler handler;
        QMap<quint64, Held> held;
        int registerCalls = 0;
        int unregisterCalls = 0;
        quint64 nextRef = 1;

        void refuse(QKeyCombination keys, HotKeyStatus status);
        // The user presses a combination: whether the handler took it (not when nothing holds
        // it).
        bool press(QKeyCombination keys);
        // Delivers a press for any identifier, held or not.
        bool deliver(quint32 id);
        // The desktop answers for the identifier it holds; tells the owner.
        void answer(quint32 id, Binding binding);
    };

    explicit FakeHotKeyBackend(std::shared_ptr<State> state = std::make_shared<State>());
    ~FakeHotKeyBackend() override;

    std::shared_ptr<State> state() const { return m_state; }

    HotKeyStatus installHandler(Handler handler) override;
    void removeHandler() override;
    Registration registerHotKey(quint32 id, QKeyCombination keys) override;
    void unregisterHotKey(quint64 ref) override;
    Binding binding(quint64 ref) const override;
    QString unavailableReason() const override { return m_state->unavailableReason; }
    void setBindingsChangedHandler(std::function<void()> handler) override;

private:
    std::shared_ptr<State> m_state;
};

} // namespace plimbo
