#include "NotchSurfaceView.h"

#include "DesktopActions.h"
#include "MiniCamera.h"
#include "MiniCameraService.h"
#include "NotchAnimatedValue.h"
#include "NotchCircleButton.h"
#include "NotchCompactSurface.h"
#include "NotchExpandedShelf.h"
#include "NotchGeometry.h"
#include "NotchMorphEffect.h"
#include "NotchSilhouette.h"
#include "NotchSurfaceState.h"
#include "NotchSymbols.h"
#include "NotchTextButton.h"
#include "PresentedErrorAlert.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>

namespace plimbo {

NotchSurfaceView::NotchSurfaceView(NotchFeatures features, NotchSurfaceState& state,
                                   Callbacks callbacks, QWidget* parent)
    : QWidget(parent)
    , m_features(std::move(features))
    , m_state(state)
    , m_callbacks(std::move(callbacks))
    , m_progress(new NotchAnimatedValue(state.expansionProgress(), this)) {
    NotchSymbols::ensureRegistered();
    setAttribute(Qt::WA_TranslucentBackground);
    setAcceptDrops(true);
    setAccessibleDescription(QStringLiteral("Drop files here to open quick actions"));

    m_shelf = new NotchExpandedShelf(*this, this);
    m_compact = new NotchCompactSurface(*this, this);
    m_shelfEffect = new NotchMorphEffect(m_shelf);
    m_shelf->setGraphicsEffect(m_shelfEffect);
    m_compactEffect = new NotchMorphEffect(m_compact);
    m_compact->setGraphicsEffect(m_compactEffect);

    if (MiniCameraService* service = camera()) {
        connect(service, &MiniCameraService::isActiveChanged, this,
                &NotchSurfaceView::cameraPresentationChanged);
        connect(service, &MiniCameraService::isStartingChanged, this,
                &NotchSurfaceView::cameraPresentationChanged);
    }

    connect(&state, &NotchSurfaceState::expansionProgressChanged, this,
            &NotchSurfaceView::expansionProgressChanged);
    connect(&state, &NotchSurfaceState::isExpandedChanged, this,
            &NotchSurfaceView::expandedChanged);
    for (auto signal :
         {&NotchSurfaceState::isTransitioningChanged, &NotchSurfaceState::collapsedWidthChanged,
          &NotchSurfaceState::topInsetChanged, &NotchSurfaceState::hasHardwareNotchChanged,
          &NotchSurfaceState::usesExpandedCompactCanvasChanged}) {
        connect(&state, signal, this, &NotchSurfaceView::updateLayout);
    }
    connect(&state, &NotchSurfaceState::hasHardwareNotchChanged, this,
            &NotchSurfaceView::updateAccessibility);
    connect(m_progress, &NotchAnimatedValue::valueChanged, this, [this] {
        updateLayout();
        update();
    });
    m_alert = new PresentedErrorAlert(m_features.error, m_features.focus, *this);

    updateAccessibility();
    updateLayout();
}

QMessageBox* NotchSurfaceView::alert() const {
    return m_alert->messageBox();
}

void NotchSurfaceView::onToggle() const {
    if (m_callbacks.onToggle) {
        m_callbacks.onToggle();
    }
}

void NotchSurfaceView::onExpand() const {
    if (m_callbacks.onExpand) {
        m_callbacks.onExpand();
    }
}

void NotchSurfaceView::onCollapse() const {
    if (m_callbacks.onCollapse) {
        m_callbacks.onCollapse();
    }
}

void NotchSurfaceView::onCompactHover(bool hovered) const {
    if (m_callbacks.onCompactHover) {
        m_callbacks.onCompactHover(hovered);
    }
}

void NotchSurfaceView::setCapHovered(bool hovered) {
    if (m_isCapHovered != hovered) {
        m_isCapHovered = hovered;
        emit capHoveredChanged();
    }
}

void NotchSurfaceView::setDropTargeted(bool targeted) {
    if (m_isDropTargeted != targeted) {
        m_isDropTargeted = targeted;
        emit dropTargetedChanged();
    }
}

std::optional<NotchSurfaceView::NotchControl> NotchSurfaceView::focusedControl() const {
    const QWidget* focus = window() ? window()->focusWidget() : nullptr;
    if (!focus) {
        return std::nullopt;
    }
    if (focus == m_compact) {
        return NotchControl::cap;
    }
    if (focus == &m_shelf->collapseButton()) {
        return NotchControl::collapse;
    }
    if (focus == &m_shelf->settingsButton()) {
        return NotchControl::settings;
    }
    if (focus == &m_shelf->exitButton()) {
        return NotchControl::exit;
    }
    return std::nullopt;
}

void NotchSurfaceView::setFocusedControl(NotchControl control) {
    QWidget* target = nullptr;
    switch (control) {
    case NotchControl::cap:
        target = m_compact;
        break;
    case NotchControl::collapse:
        target = &m_shelf->collapseButton();
        break;
    case NotchControl::settings:
        target = &m_shelf->settingsButton();
        break;
    case NotchControl::exit:
        target = &m_shelf->exitButton();
        break;
    }
    target->setFocus(Qt::OtherFocusReason);
}

MiniCameraService* NotchSurfaceView::camera() const {
    return dynamic_cast<MiniCameraService*>(m_features.camera);
}

bool NotchSurfaceView::cameraPresentationActive() const {
    const MiniCamera* miniCamera = m_features.camera;
    return miniCamera && (miniCamera->isStarting() || miniCamera->isActive());
}

qreal NotchSurfaceView::collapsedHeight() const {
    return NotchGeometry::collapsedHeight(m_state.hasHardwareNotch(), m_state.topInset());
}

qreal NotchSurfaceView::compactCanvasWidth() const {
    return NotchGeometry::compactWidth(m_state.collapsedWidth(),
                                       m_state.usesExpandedCompactCanvas());
}

QSizeF NotchSurfaceView::expandedShelfSize() const {
    return NotchGeometry::expandedSize(m_state.topInset());
}

qreal NotchSurfaceView::displayedProgress() const {
    return m_progress->value();
}

bool NotchSurfaceView::showsCanvas() const {
    return m_state.isExpanded() || m_state.isTransitioning();
}

void NotchSurfaceView::expansionProgressChanged() {
    std::optional<NotchAnimatedValue::Motion> motion;
    // The controller moves the progress inside its transitions; anywhere else it jumps.
    if (m_state.isTransitioning()) {
        motion = m_state.expansionProgress() > m_progress->value()
                     ? NotchAnimatedValue::spring(0.34)
                     : NotchAnimatedValue::spring(0.24);
    }
    m_progress->moveTo(m_state.expansionProgress(), motion);
}

void NotchSurfaceView::expandedChanged() {
    setFocusedControl(m_state.isExpanded() ? NotchControl::collapse : NotchControl::cap);
    updateLayout();
}

void NotchSurfaceView::updateLayout() {
    const QSizeF shelfSize = expandedShelfSize();
    const qreal w = m_state.collapsedWidth();
    const qreal hc = collapsedHeight();
    if (!showsCanvas()) {
        m_shelf->hide();
        m_shelfEffect->setScale(1, 1);
        const qreal canvas = compactCanvasWidth();
        m_compact->setGeometry(qRound((width() - canvas) / 2), 0, qRound(canvas), qRound(hc));
        m_compactEffect->setOpacity(1);
        m_compact->setAttribute(Qt::WA_TransparentForMouseEvents, false);
        m_compact->show();
        update();
        return;
    }
    // The shelf keeps its full-size layout and is drawn squeezed onto the cap at progress 0.
    const qreal p = m_progress->value();
    const qreal sx = w / shelfSize.width() + (1 - w / shelfSize.width()) * p;
    const qreal sy = hc / shelfSize.height() + (1 - hc / shelfSize.height()) * p;
    m_shelf->setGeometry(qRound((width() - shelfSize.width()) / 2), 0, qRound(shelfSize.width()),
                         qRound(shelfSize.height()));
    m_shelfEffect->setScale(sx, sy);
    const bool settled = m_state.isExpanded() && !m_state.isTransitioning();
    m_shelf->setAttribute(Qt::WA_TransparentForMouseEvents, !settled);
    m_shelf->show();

    const qreal compactOpacity = std::max<qreal>(0, 1 - 4 * p);
    m_compact->setGeometry(qRound((width() - w) / 2), 0, qRound(w), qRound(hc));
    m_compactEffect->setOpacity(compactOpacity);
    m_compact->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    m_compact->setVisible(compactOpacity > 0);
    m_compact->raise();
    update();
}

void NotchSurfaceView::updateAccessibility() {
    setAccessibleName(QStringLiteral("Plimbo ") + (m_state.hasHardwareNotch()
                                                       ? QStringLiteral("Camera notch")
                                                       : QStringLiteral("Virtual notch")));
}

void NotchSurfaceView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateLayout();
}

void NotchSurfaceView::paintEvent(QPaintEvent*) {
    if (!showsCanvas()) {
        return;
    }
    // The shelf's shadow grows with the expansion; it shows around the shape only while
    // the shape is smaller than the panel.
    const qreal p = m_progress->value();
    if (p <= 0 || (p >= 1 && !m_state.isTransitioning())) {
        return;
    }
    const QSizeF full = expandedShelfSize();
    const QRectF shelf(m_shelf->geometry());
    const QPointF anchor(shelf.center().x(), shelf.top());
    const QSizeF drawn(full.width() * m_shelfEffect->scaleX(),
                       full.height() * m_shelfEffect->scaleY());
    const QRectF shape(anchor.x() - drawn.width() / 2, anchor.y(), drawn.width(), drawn.height());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal radius = 24 * p;
    const qreal offset = 12 * p;
    // Many faint layers, each a little wider: a soft edge without a blur pass.
    const int layers = 16;
    for (int i = layers; i >= 1; --i) {
        const qreal spread = radius * i / layers;
        const QRectF layer = shape.translated(0, offset).adjusted(-spread, 0, spread, spread);
        painter.fillPath(NotchSilhouette(true).path(layer),
                         QColor::fromRgbF(0, 0, 0, static_cast<float>(0.42 * p / layers)));
    }
}

void NotchSurfaceView::dragEnterEvent(QDragEnterEvent* event) {
    if (!event->mimeData()->hasUrls() || !(event->possibleActions() & Qt::CopyAction)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    setDropTargeted(true);
    onExpand();
}

void NotchSurfaceView::dragMoveEvent(QDragMoveEvent* event) {
    if (!event->mimeData()->hasUrls() || !(event->possibleActions() & Qt::CopyAction)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void NotchSurfaceView::dragLeaveEvent(QDragLeaveEvent* event) {
    setDropTargeted(false);
    QWidget::dragLeaveEvent(event);
}

void NotchSurfaceView::dropEvent(QDropEvent* event) {
    setDropTargeted(false);
    QList<QUrl> files;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            files.append(url);
        }
    }
    if (files.isEmpty() || !(event->possibleActions() & Qt::CopyAction)) {
        event->ignore();
        return;
    }
    if (MiniCamera* miniCamera = m_features.camera) {
        miniCamera->stop();
    }
    m_features.desktop.receiveDroppedFiles(files);
    onExpand();
    if (m_state.isExpanded()) {
        // The shelf opened under the drag showing its landing zone, where the collapse
        // control was hidden and could not take the focus; it is back now.
        setFocusedControl(NotchControl::collapse);
    }
    if (m_callbacks.onFilesDropped) {
        m_callbacks.onFilesDropped();
    }
    // The files are listed, never taken: the source keeps them.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

} // namespace plimbo
