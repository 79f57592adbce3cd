#include "GlobalHotKeyController.h"

#include "PortalHotKeyBackend.h"
#include "X11HotKeyBackend.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace plimbo {

GlobalHotKeyController::GlobalHotKeyController()
    : GlobalHotKeyController(desktopBackend()) {}

GlobalHotKeyController::GlobalHotKeyController(std::unique_ptr<HotKeyBackend> backend)
    : m_backend(std::move(backend)) {
    m_backend->setBindingsChangedHandler([this] { emit registrationsChanged(); });
    m_handlerStatus = m_backend->installHandler([this](quint32 id) { return handlePress(id); });
}

bool GlobalHotKeyController::isWaylandSession(const QProcessEnvironment& environment) {
    return environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland") ||
           !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
}

std::unique_ptr<HotKeyBackend>
GlobalHotKeyController::desktopBackend(const QHash<quint32, PortalShortcut>& portalShortcuts,
                                       const QProcessEnvironment& environment,
                                       const QString& portalService) {
    if (!isWaylandSession(environment)) {
        return std::make_unique<X11HotKeyBackend>();
    }
    QHash<quint32, PortalHotKeyBackend::Shortcut> names;
    for (auto it = portalShortcuts.constBegin(); it != portalShortcuts.constEnd(); ++it) {
        names.insert(it.key(), {it->id, it->description});
    }
    return std::make_unique<PortalHotKeyBackend>(QDBusConnection::sessionBus(), portalService,
                                                 names);
}

GlobalHotKeyController::~GlobalHotKeyController() {
    m_backend->setBindingsChangedHandler(nullptr);
    for (const quint64 ref : std::as_const(m_hotKeyRefs)) {
        m_backend->unregisterHotKey(ref);
    }
    if (m_handlerStatus == HotKeyStatus::success) {
        m_backend->removeHandler();
    }
}

HotKeyStatus GlobalHotKeyController::registerHotKey(quint32 id, QKeyCombination keys,
                                                    Action action) {
    if (m_handlerStatus != HotKeyStatus::success) {
        return m_handlerStatus;
    }
    if (m_hotKeyRefs.contains(id)) {
        return HotKeyStatus::alreadyTaken;
    }
    const HotKeyBackend::Registration registration = m_backend->registerHotKey(id, keys);
    if (registration.status != HotKeyStatus::success &&
        registration.status != HotKeyStatus::pending) {
        return registration.status;
    }
    if (registration.ref == 0) {
        // Success or a pending answer without anything held would leave a shortcut that never
        // fires and never gets an answer.
        return HotKeyStatus::nothingStored;
    }
    m_hotKeyRefs.insert(id, registration.ref);
    m_actions.insert(id, std::move(action));
    return registration.status;
}

bool GlobalHotKeyController::isActive(quint32 id) const {
    return status(id) == HotKeyStatus::success;
}

HotKeyStatus GlobalHotKeyController::status(quint32 id) const {
    const auto it = m_hotKeyRefs.constFind(id);
    return it == m_hotKeyRefs.constEnd() ? HotKeyStatus::nothingStored
                                         : m_backend->binding(*it).status;
}

QString GlobalHotKeyController::boundTrigger(quint32 id) const {
    const auto it = m_hotKeyRefs.constFind(id);
    if (it == m_hotKeyRefs.constEnd()) {
        return {};
    }
    const HotKeyBackend::Binding binding = m_backend->binding(*it);
    return binding.status == HotKeyStatus::success ? binding.trigger : QString();
}

QString GlobalHotKeyController::unavailableReason() const {
    return m_backend->unavailableReason();
}

bool GlobalHotKeyController::handlePress(quint32 id) {
    const auto it = m_actions.constFind(id);
    if (it == m_actions.constEnd() || !*it) {
        return false;
    }
    // Answer the press first; the action runs on its own turn of the event loop, even when
    // this controller has been replaced by then.
    QMetaObject::invokeMethod(QCoreApplication::instance(), *it, Qt::QueuedConnection);
    return true;
}

} // namespace plimbo
