#pragma once

#include "HotKeyBackend.h"

#include <QHash>
#include <QObject>

#include <functional>
#include <memory>

namespace plimbo {

// System-wide shortcuts that work while another application is in front. Each has a numeric
// identifier and an action; a press runs the action on the event loop, after the press has
// been answered. Releasing the controller releases its keys.
class GlobalHotKeyController : public QObject {
    Q_OBJECT

public:
    using Action = std::function<void()>;

    // On the desktop's own facility (X11 key grabs); without X11 every registration fails.
    GlobalHotKeyController();
    explicit GlobalHotKeyController(std::unique_ptr<HotKeyBackend> backend);
    ~GlobalHotKeyController() override;

    // The result of installing the press handler; 0 when presses can arrive.
    qint32 handlerStatus() const { return m_handlerStatus; }

    // keyCode is a Qt::Key, modifiers a combination of HotKeyBackend's modifier bits.
    // Returns 0 when the key is held; otherwise the handler's installation status,
    // HotKeyBackend::HotKeyExists for an identifier already used here (its first action stays),
    // or the platform's refusal. Nothing is kept unless 0 is returned.
    qint32 registerHotKey(quint32 id, quint32 keyCode, quint32 modifiers, Action action);

private:
    qint32 handlePress(quint32 id);

    std::unique_ptr<HotKeyBackend> m_backend;
    QHash<quint32, quint64> m_hotKeyRefs;
    QHash<quint32, Action> m_actions;
    qint32 m_handlerStatus = HotKeyBackend::EventNotHandled;
};

} // namespace plimbo
