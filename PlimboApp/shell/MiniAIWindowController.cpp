#include "MiniAIWindowController.h"

#include "ChatComposer.h"
#include "ChatList.h"
#include "MiniAIView.h"
#include "OwnedWindows.h"
#include "PanelPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <utility>

namespace plimbo {

MiniAIWindowController::MiniAIWindowController(ChatList& chats, ChatComposer& composer,
                                               std::function<void()> showAllChats,
                                               const ContentFactory& makeContent)
    : m_chats(&chats)
    , m_composer(&composer)
    , m_showAllChats(std::move(showAllChats))
    , m_window(std::make_unique<PlimboNotchPanel>()) {
    m_window->setWindowTitle(QStringLiteral("Plimbo AI"));
    m_window->resize(PanelPlacement::miniAIWidth, PanelPlacement::miniAICompactHeight);
    MiniAIView* view = makeContent([this] { beginConversation(); }, [this] { openAllChats(); },
                                   [this] { close(); });
    m_window->setContent(view);
    QObject::connect(view, &MiniAIView::fileDialogOpened, m_window.get(),
                     [this] { pauseDismissal(); });
    QObject::connect(view, &MiniAIView::fileDialogClosed, m_window.get(),
                     [this] { resumeDismissal(); });
    QObject::connect(&composer, &ChatComposer::pendingAttachmentsChanged, m_window.get(), [this] {
        if (m_chats) {
            setFrame(!m_chats->conversation().isEmpty());
        }
    });
}

MiniAIWindowController::~MiniAIWindowController() {
    stopOutsideClickMonitoring();
}

QScreen* MiniAIWindowController::preferredScreen() {
    if (QScreen* screen = PanelPlacement::screenUnderCursorOrPrimary()) {
        return screen;
    }
    // No display here has a camera housing to prefer.
    const QList<QScreen*> screens = QGuiApplication::screens();
    return screens.isEmpty() ? nullptr : screens.first();
}

void MiniAIWindowController::setFrame(bool conversation) {
    QScreen* screen = preferredScreen();
    if (!m_window || !screen || !m_composer) {
        return;
    }
    m_window->setGeometry(PanelPlacement::miniAIFrame(screen->availableGeometry(), conversation,
                                                      !m_composer->pendingAttachments().isEmpty()));
    m_window->update();
}

void MiniAIWindowController::show() {
    if (!m_window || !m_chats) {
        return;
    }
    setFrame(!m_chats->conversation().isEmpty());
    stopOutsideClickMonitoring();
    startOutsideClickMonitoring();
    m_window->present();
}

void MiniAIWindowController::startOutsideClickMonitoring() {
    m_monitors.start([this](QWindow* window) { return isOwnedWindow(window); },
                     [this] { dismiss(); });
}

void MiniAIWindowController::stopOutsideClickMonitoring() {
    m_monitors.stop();
}

bool MiniAIWindowController::isVisible() const {
    return m_window && m_window->isVisible();
}

bool MiniAIWindowController::isOwnedWindow(const QWindow* window) const {
    const QWindow* panel = m_window ? m_window->windowHandle() : nullptr;
    if (!panel || !window) {
        return false;
    }
    for (const QWindow* candidate = window; candidate; candidate = candidate->transientParent()) {
        if (candidate == panel) {
            return true;
        }
    }
    return false;
}

void MiniAIWindowController::pauseDismissal() {
    m_pausedForDialog = isVisible();
    if (m_pausedForDialog) {
        stopOutsideClickMonitoring();
    }
}

void MiniAIWindowController::resumeDismissal() {
    if (std::exchange(m_pausedForDialog, false) && isVisible()) {
        stopOutsideClickMonitoring();
        startOutsideClickMonitoring();
    }
}

void MiniAIWindowController::dismiss() {
    stopOutsideClickMonitoring();
    if (m_window) {
        m_window->hide();
    }
}

void MiniAIWindowController::beginConversation() {
    // The panel grows to its conversation height at once, before the reply starts.
    setFrame(true);
    if (m_window) {
        m_window->show();
        OwnedWindows::raise(*m_window);
        OwnedWindows::activate(*m_window);
    }
}

void MiniAIWindowController::openAllChats() {
    dismiss();
    // The workbench belongs to the same model as the chats.
    if (m_chats && m_showAllChats) {
        m_showAllChats();
    }
}

void MiniAIWindowController::close() {
    dismiss();
}

} // namespace plimbo
