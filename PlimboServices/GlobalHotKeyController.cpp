#include "GlobalHotKeyController.h"

#include "X11HotKeyBackend.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace plimbo {

GlobalHotKeyController::GlobalHotKeyController()
    : GlobalHotKeyController(std::make_unique<X11HotKeyBackend>()) {}

GlobalHotKeyController::GlobalHotKeyController(std::unique_ptr<HotKeyBackend> backend)
    : m_backend(std::move(backend)) {
    m_handlerStatus = m_backend->installHandler([this](quint32 id) { return handlePress(id); });
}

GlobalHotKeyController::~GlobalHotKeyController() {
    for (const quint64 ref : std::as_const(m_hotKeyRefs)) {
        m_backend->unregisterHotKey(ref);
    }
    if (m_handlerStatus == HotKeyBackend::NoError) {
        m_backend->removeHandler();
    }
}

qint32 GlobalHotKeyController::registerHotKey(quint32 id, quint32 keyCode, quint32 modifiers,
                                              Action action) {
    if (m_handlerStatus != HotKeyBackend::NoError) {
        return m_handlerStatus;
    }
    if (m_hotKeyRefs.contains(id)) {
        return HotKeyBackend::HotKeyExists;
    }
    const HotKeyBackend::Registration registration =
        m_backend->registerHotKey(id, keyCode, modifiers);
    if (registration.status != HotKeyBackend::NoError) {
        return registration.status;
    }
    if (registration.ref == 0) {
        // Success without anything held would leave a shortcut that never fires.
        return HotKeyBackend::NothingStored;
    }
    m_hotKeyRefs.insert(id, registration.ref);
    m_actions.insert(id, std::move(action));
    return HotKeyBackend::NoError;
}

qint32 GlobalHotKeyController::handlePress(quint32 id) {
    const auto it = m_actions.constFind(id);
    if (it == m_actions.constEnd() || !*it) {
        return HotKeyBackend::EventNotHandled;
    }
    // Answer the press first; the action runs on its own turn of the event loop, even when
    // this controller has been replaced by then.
    QMetaObject::invokeMethod(QCoreApplication::instance(), *it, Qt::QueuedConnection);
    return HotKeyBackend::NoError;
}

} // namespace plimbo
