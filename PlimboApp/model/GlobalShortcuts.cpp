#include "GlobalShortcuts.h"

#include "GlobalHotKeyController.h"
#include "PropertyAssign.h"

#include <QPointer>

namespace plimbo {

GlobalShortcuts::GlobalShortcuts(ControllerFactory makeController, Handler pressed, QObject* parent)
    : QObject(parent)
    , m_makeController(std::move(makeController))
    , m_pressed(std::move(pressed)) {}

GlobalShortcuts::~GlobalShortcuts() = default;

void GlobalShortcuts::install() {
    std::unique_ptr<GlobalHotKeyController> controller =
        m_makeController ? m_makeController() : nullptr;
    GlobalShortcutSet registered;
    QHash<PlimboGlobalShortcut, HotKeyStatus> refusals;
    if (controller) {
        // The portal answers after this returns, and the desktop may later change its keys.
        connect(controller.get(), &GlobalHotKeyController::registrationsChanged, this,
                [this, source = controller.get()] {
                    if (m_controller.get() == source) {
                        setRegistered(activeGlobalShortcuts(*source));
                        emit labelsChanged();
                    }
                });
        for (PlimboGlobalShortcut shortcut : allGlobalShortcuts()) {
            QPointer<GlobalShortcuts> self(this);
            auto action = [self, shortcut] {
                if (self && self->m_pressed) {
                    self->m_pressed(shortcut);
                }
            };
            const HotKeyStatus status =
                controller->registerHotKey(rawValue(shortcut), bindingFor(shortcut), action);
            if (status == HotKeyStatus::success) {
                registered.insert(shortcut);
            } else if (status != HotKeyStatus::pending) {
                refusals.insert(shortcut, status);
            }
        }
    }
    setRegistered(registered);
    m_refusals = refusals;
    m_controller = std::move(controller);
    emit labelsChanged();
}

QString GlobalShortcuts::label(PlimboGlobalShortcut shortcut) const {
    return globalShortcutLabel(
        shortcut, m_controller ? m_controller->boundTrigger(rawValue(shortcut)) : QString());
}

QString GlobalShortcuts::unavailableReason() const {
    return m_controller ? m_controller->unavailableReason() : QString();
}

GlobalShortcutState GlobalShortcuts::state(PlimboGlobalShortcut shortcut) const {
    if (!m_controller) {
        return GlobalShortcutState::waiting;
    }
    const auto refusal = m_refusals.constFind(shortcut);
    return globalShortcutState(
        refusal != m_refusals.constEnd() ? *refusal : m_controller->status(rawValue(shortcut)));
}

void GlobalShortcuts::retry() {
    m_controller.reset();
    m_refusals.clear();
    setRegistered({});
    install();
}

void GlobalShortcuts::setRegistered(const GlobalShortcutSet& shortcuts) {
    assign(this, m_registered, shortcuts, &GlobalShortcuts::registeredShortcutsChanged);
}

} // namespace plimbo
