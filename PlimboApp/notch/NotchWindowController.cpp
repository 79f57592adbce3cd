#include "NotchWindowController.h"

#include "DesktopActions.h"
#include "GlobalClickMonitor.h"
#include "LocalClickMonitor.h"
#include "MiniCamera.h"
#include "MiniCameraService.h"
#include "NotchGeometry.h"
#include "NotchSurfaceState.h"
#include "NotchSurfaceView.h"
#include "OwnedWindows.h"
#include "PlimboNotchPanel.h"
#include "PresentedError.h"
#include "QtScreenLayout.h"
#include "ReduceMotion.h"
#include "X11WindowActivation.h"

#include <QGuiApplication>
#include <QLayout>
#include <QWindow>

namespace plimbo {

NotchWindowController::NotchWindowController(NotchFeatures features,
                                             std::shared_ptr<ScreenLayout> screens,
                                             std::shared_ptr<WindowActivation> windows,
                                             QObject* parent)
    : QObject(parent)
    , m_state(std::make_unique<NotchSurfaceState>())
    , m_desktop(&features.desktop)
    , m_error(&features.error)
    , m_camera(features.camera)
    , m_screens(screens ? std::move(screens) : std::make_shared<QtScreenLayout>())
    , m_windows(windows ? std::move(windows) : std::make_shared<X11WindowActivation>()) {
    m_panel = std::make_unique<PlimboNotchPanel>();
    m_panel->setWindowTitle(QStringLiteral("Plimbo Notch"));
    // Shown without taking the keyboard; an expand makes it key on purpose.
    m_panel->setAttribute(Qt::WA_ShowWithoutActivating);
    m_panel->setMouseTracking(true);
    m_panel->setOnAllDesktops(true);
    // Compact, it takes no focus, so the desktop hands the focus back to the user's window
    // when a panel above goes; expanded, the shelf takes keys.
    m_panel->setTakesFocus(false);

    // Each callback does nothing once the controller is gone.
    QPointer<NotchWindowController> self(this);
    NotchSurfaceView::Callbacks callbacks;
    callbacks.onToggle = [self] {
        if (self) {
            self->toggle();
        }
    };
    callbacks.onExpand = [self] {
        if (self) {
            self->expand();
        }
    };
    callbacks.onCollapse = [self] {
        if (self) {
            self->collapse();
        }
    };
    callbacks.onCompactHover = [self](bool hovered) {
        if (self) {
            self->setCompactHovered(hovered);
        }
    };
    callbacks.onFilesDropped = [self] {
        if (self) {
            self->takeFocusAfterDrop();
        }
    };
    m_view = new NotchSurfaceView(features, *m_state, std::move(callbacks));
    m_panel->setContent(m_view);

    m_compactHoverTimer.setSingleShot(true);
    m_compactHoverTimer.setInterval(hoverShrinkDelay);
    connect(&m_compactHoverTimer, &QTimer::timeout, this,
            &NotchWindowController::shrinkHoverCanvas);

    connect(m_state.get(), &NotchSurfaceState::isExpandedChanged, this,
            [this] { m_panel->setTakesFocus(m_state->isExpanded()); });

    // Observers act on a later turn of the event loop.
    connect(m_screens.get(), &ScreenLayout::changed, this,
            [this] { QTimer::singleShot(0, this, [this] { refreshGeometry(std::nullopt); }); });
    if (qGuiApp) {
        connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this] {
            QTimer::singleShot(0, this, &NotchWindowController::reassertVisibility);
        });
    }
    m_globalMouseMonitor = std::make_unique<GlobalClickMonitor>([this] { setExpanded(false); });
    m_localMouseMonitor =
        std::make_unique<LocalClickMonitor>([this](QWindow* window) { localClick(window); });

    // A preview that breaks down while it runs is reported like a failed start.
    if (auto* camera = dynamic_cast<MiniCameraService*>(m_camera)) {
        connect(camera, &MiniCameraService::failed, this, [this](const QString& description) {
            if (m_error) {
                m_error->setMessage(description);
            }
        });
    }
}

NotchWindowController::~NotchWindowController() {
    m_globalMouseMonitor.reset();
    m_localMouseMonitor.reset();
    m_transitionID.reset();
    m_compactHoverTimer.stop();
}

bool NotchWindowController::hasHardwareNotch() const {
    return m_state->hasHardwareNotch();
}

std::optional<QRect> NotchWindowController::targetFrame(bool expanded,
                                                        std::optional<bool> compactHovered) {
    const QList<DisplayScreen> screens = m_screens->screens();
    const std::optional<qsizetype> index = NotchGeometry::preferredScreen(
        screens, m_screens->cursorPosition(), m_screens->mainScreenIndex());
    if (!index) {
        return std::nullopt;
    }
    const DisplayScreen& screen = screens.at(*index);
    const NotchGeometry::Measurements measured = NotchGeometry::measure(screen);
    m_state->setHasHardwareNotch(measured.hasHardwareNotch);
    m_state->setTopInset(measured.topInset);
    m_state->setCollapsedWidth(measured.collapsedWidth);
    m_state->setScreenName(measured.screenName);
    const bool hovered = compactHovered.value_or(m_state->usesExpandedCompactCanvas());
    return NotchGeometry::frame(screen.frame, NotchGeometry::size(measured, expanded, hovered));
}

std::optional<QRect> NotchWindowController::compactStrip() const {
    if (!m_isPresented || !m_panel->isVisible()) {
        return std::nullopt;
    }
    const NotchGeometry::Measurements measured{m_state->hasHardwareNotch(), m_state->topInset(),
                                               m_state->collapsedWidth(), m_state->screenName()};
    // The panel is centred on the strip in every shape and hangs from the same top edge.
    const QRect panel = m_panel->geometry();
    return NotchGeometry::frame(QRect(panel.x(), panel.y(), panel.width(), 0),
                                NotchGeometry::size(measured, false, false));
}

void NotchWindowController::refreshGeometry(std::optional<bool> expanded) {
    if (m_state->isTransitioning()) {
        return;
    }
    if (const auto frame = targetFrame(expanded.value_or(m_state->isExpanded()), std::nullopt)) {
        setFrame(*frame);
    }
}

void NotchWindowController::show(bool expanded) {
    cancelTransition();
    m_state->setExpanded(expanded);
    m_state->setShowsExpandedContent(expanded);
    m_state->setExpansionProgress(expanded ? 1 : 0);
    m_state->setCompactHovered(false);
    m_state->setUsesExpandedCompactCanvas(false);
    m_isPresented = true;
    refreshGeometry(expanded);
    showRaised();
}

void NotchWindowController::hide() {
    cancelTransition();
    m_isPresented = false;
    m_state->setExpanded(false);
    m_state->setShowsExpandedContent(false);
    m_state->setCompactHovered(false);
    m_state->setUsesExpandedCompactCanvas(false);
    m_state->setExpansionProgress(0);
    m_compactHoverTimer.stop();
    stopCameraAndEmptyShelf();
    m_panel->hide();
}

void NotchWindowController::raise() {
    m_isPresented = true;
    showRaised();
}

void NotchWindowController::updatePresentation(bool surfaceEnabled, bool virtualNotchEnabled) {
    refreshGeometry(std::nullopt);
    if (surfaceEnabled && (virtualNotchEnabled || m_state->hasHardwareNotch())) {
        raise();
    } else {
        hide();
    }
}

void NotchWindowController::toggle() {
    setExpanded(!m_state->isExpanded());
}

void NotchWindowController::expand() {
    setExpanded(true);
}

void NotchWindowController::collapse() {
    setExpanded(false);
}

void NotchWindowController::setExpanded(bool expanded) {
    if (expanded == m_state->isExpanded() || m_state->isTransitioning()) {
        return;
    }
    clearCompactHover();
    if (!expanded) {
        // Before anything moves.
        stopCameraAndEmptyShelf();
    }
    m_state->setTransitioning(true);
    const QUuid id = QUuid::createUuid();
    m_transitionID = id;
    after(0, id, [this, id, expanded] {
        if (expanded) {
            runExpand(id);
        } else {
            runCollapse(id);
        }
    });
}

void NotchWindowController::runExpand(const QUuid& id) {
    const bool reduceMotion = ReduceMotion::enabled();
    m_state->setShowsExpandedContent(false);
    m_state->setExpanded(true);
    const std::optional<QRect> frame = targetFrame(true, std::nullopt);
    if (!frame) {
        m_state->setTransitioning(false);
        finishTransition(id);
        return;
    }
    setFrame(*frame);
    showRaisedAndActive();
    if (reduceMotion || !m_panel->isVisible()) {
        m_state->setExpansionProgress(1);
        m_state->setShowsExpandedContent(true);
        m_state->setTransitioning(false);
        finishTransition(id);
        return;
    }
    after(0, id, [this, id] {
        // Lay the content out at its final size before anything grows.
        if (QLayout* layout = m_panel->layout()) {
            layout->activate();
        }
        m_panel->update();
        after(expandSettleDelay, id, [this, id] {
            m_state->setExpansionProgress(1);
            after(expandGrowDuration, id, [this, id] {
                m_state->setShowsExpandedContent(true);
                after(expandRevealDuration, id, [this, id] {
                    m_state->setTransitioning(false);
                    finishTransition(id);
                });
            });
        });
    });
}

void NotchWindowController::runCollapse(const QUuid& id) {
    const bool reduceMotion = ReduceMotion::enabled();
    if (reduceMotion || !m_panel->isVisible()) {
        m_state->setShowsExpandedContent(false);
        m_state->setExpansionProgress(0);
        m_state->setExpanded(false);
        m_state->setTransitioning(false);
        refreshGeometry(false);
        finishTransition(id);
        return;
    }
    m_state->setShowsExpandedContent(false);
    after(collapseFadeDuration, id, [this, id] {
        m_state->setExpansionProgress(0);
        after(collapseShrinkDuration, id, [this, id] {
            m_state->setExpanded(false);
            m_state->setTransitioning(false);
            refreshGeometry(false);
            showRaised();
            finishTransition(id);
        });
    });
}

void NotchWindowController::after(int delay, const QUuid& id, std::function<void()> step) {
    QTimer::singleShot(delay, this, [this, id, step = std::move(step)] {
        if (transitionIsCurrent(id)) {
            step();
        }
    });
}

bool NotchWindowController::transitionIsCurrent(const QUuid& id) const {
    return m_transitionID == id;
}

void NotchWindowController::finishTransition(const QUuid& id) {
    if (m_transitionID == id) {
        m_transitionID.reset();
    }
}

void NotchWindowController::cancelTransition() {
    m_transitionID.reset();
    m_state->setTransitioning(false);
}

void NotchWindowController::clearCompactHover() {
    m_compactHoverTimer.stop();
    m_state->setCompactHovered(false);
    m_state->setUsesExpandedCompactCanvas(false);
}

void NotchWindowController::setCompactHovered(bool hovered) {
    if (m_state->isExpanded() || m_state->isTransitioning() ||
        m_state->isCompactHovered() == hovered) {
        return;
    }
    m_compactHoverTimer.stop();
    if (hovered) {
        const std::optional<QRect> frame = targetFrame(false, true);
        if (!frame) {
            return;
        }
        setFrame(*frame);
        m_state->setUsesExpandedCompactCanvas(true);
        m_state->setCompactHovered(true);
        showRaised();
    } else {
        m_state->setCompactHovered(false);
        m_compactHoverTimer.start();
    }
}

void NotchWindowController::shrinkHoverCanvas() {
    if (m_state->isCompactHovered() || m_state->isExpanded()) {
        return;
    }
    m_state->setUsesExpandedCompactCanvas(false);
    refreshGeometry(false);
}

void NotchWindowController::reassertVisibility() {
    if (!m_isPresented) {
        return;
    }
    if (!m_state->isTransitioning()) {
        refreshGeometry(std::nullopt);
    }
    showRaised();
    QTimer::singleShot(reassertDelay, this, [this] {
        if (m_isPresented) {
            showRaised();
        }
    });
}

void NotchWindowController::stopCameraAndEmptyShelf() {
    if (!m_desktop) {
        return;
    }
    if (m_camera) {
        m_camera->stop();
    }
    m_desktop->setShelfURLs({});
}

void NotchWindowController::setFrame(const QRect& frame) {
    m_panel->setGeometry(frame);
}

void NotchWindowController::showRaised() {
    m_panel->show();
    // Its own alert stays above it, however often the notch comes to the front.
    OwnedWindows::raise(*m_panel);
}

void NotchWindowController::showRaisedAndActive() {
    showRaised();
    OwnedWindows::activate(*m_panel);
}

void NotchWindowController::takeFocusAfterDrop() {
    // A drop from another program activates nothing, and the program that dragged keeps the
    // focus: the shelf would take no keys and never learn of a click elsewhere. Qt would ask
    // with the time of this program's own last input, older than the dragging program's focus,
    // and be refused; asked now as a pager would, for the user who just dropped, the desktop
    // grants it with or without a window manager. On the next turn, once the drag has ended.
    QTimer::singleShot(0, this, [this] {
        if (!m_panel->isVisible()) {
            return;
        }
        QWidget* modal = OwnedWindows::shownModal(*m_panel);
        QWidget& target = modal ? *modal : *m_panel;
        const RunningApplication own{QCoreApplication::applicationPid(), target.winId()};
        if (!m_windows->activate(own)) {
            OwnedWindows::activate(*m_panel);
        }
    });
}

void NotchWindowController::localClick(QWindow* window) {
    if (!m_state->isExpanded()) {
        return;
    }
    const QWindow* panelWindow = m_panel->windowHandle();
    // The notch's own alert sits over the panel and belongs to it.
    for (const QWindow* w = window; w; w = w->transientParent()) {
        if (w == panelWindow) {
            return;
        }
    }
    setExpanded(false);
}

} // namespace plimbo
