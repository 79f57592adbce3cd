#include "TrayIcon.h"

#include "KeepAwakeService.h"
#include "OwnedWindows.h"
#include "PanelPlacement.h"
#include "PlimboMenuBarTemplateIcon.h"

#include <QCursor>
#include <QEvent>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QVBoxLayout>
#include <QWidget>

namespace plimbo {

namespace {

// The press outside the popup that closes it also reaches the icon when it lands there.
constexpr qint64 reopenGuardMilliseconds = 250;

} // namespace

TrayIcon::TrayIcon(KeepAwakeService& keepAwake, const ContentFactory& makeContent, QObject* parent)
    : QObject(parent)
    , m_keepAwake(&keepAwake)
    , m_trayIcon(std::make_unique<QSystemTrayIcon>(PlimboMenuBarTemplateIcon::icon()))
    , m_window(std::make_unique<QWidget>(nullptr, Qt::Popup | Qt::FramelessWindowHint)) {
    auto* layout = new QVBoxLayout(m_window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeContent([this] { hideWindow(); }));
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    // Names it for window lists, accessibility and tests; a popup shows no title.
    m_window->setWindowTitle(menuTitle);
    m_window->installEventFilter(this);

    connect(m_trayIcon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick ||
                    reason == QSystemTrayIcon::MiddleClick) {
                    toggleWindow();
                }
            });
    connect(&keepAwake, &KeepAwakeService::isKeepingAwakeChanged, this, &TrayIcon::updateLabel);
    updateLabel();
    m_trayIcon->show();
}

TrayIcon::~TrayIcon() = default;

QString TrayIcon::label(bool keepingAwake) {
    return keepingAwake ? QStringLiteral("Plimbo, keeping this computer awake")
                        : QStringLiteral("Plimbo");
}

void TrayIcon::updateLabel() {
    m_trayIcon->setToolTip(label(m_keepAwake && m_keepAwake->isKeepingAwake()));
}

void TrayIcon::showWindow() {
    m_window->adjustSize();
    QScreen* screen = PanelPlacement::screenUnderCursorOrPrimary();
    if (screen) {
        m_window->setGeometry(PanelPlacement::popupFrame(QCursor::pos(), m_window->size(),
                                                         screen->availableGeometry()));
    }
    m_window->show();
    OwnedWindows::raise(*m_window);
    OwnedWindows::activate(*m_window);
}

void TrayIcon::hideWindow() {
    m_window->hide();
}

void TrayIcon::toggleWindow() {
    if (m_window->isVisible()) {
        hideWindow();
        return;
    }
    if (m_sinceHidden.isValid() && m_sinceHidden.elapsed() < reopenGuardMilliseconds) {
        return;
    }
    showWindow();
}

bool TrayIcon::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window.get() && event->type() == QEvent::Hide) {
        m_sinceHidden.start();
    }
    return false;
}

} // namespace plimbo
