#include "NotchCompactSurface.h"

#include "AppModel.h"
#include "MiniAIController.h"
#include "NotchAnimatedValue.h"
#include "NotchCompactActionButton.h"
#include "NotchGeometry.h"
#include "NotchIdentityMark.h"
#include "NotchMorphEffect.h"
#include "NotchSilhouette.h"
#include "NotchSurfaceState.h"
#include "NotchSurfaceView.h"
#include "PlimboTheme.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace plimbo {

namespace {

const QString kAssistantTitle = QStringLiteral("Plimbo AI");
const QString kScreenshotTitle = QStringLiteral("Screenshot");

QColor screenshotTint() {
    return QColor::fromRgbF(0.98f, 0.48f, 0.42f);
}

// The cap as assistive tools see it: a button that also offers the two hover-only quick
// actions by name.
class CapAccessible : public QAccessibleWidget {
public:
    explicit CapAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Button) {}

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames()
               << pressAction() << kAssistantTitle << kScreenshotTitle;
    }

    void doAction(const QString& name) override {
        auto* cap = static_cast<NotchCompactSurface*>(widget());
        if (name == pressAction()) {
            cap->activate();
        } else if (name == kAssistantTitle) {
            cap->runAssistantAction();
        } else if (name == kScreenshotTitle) {
            cap->runScreenshotAction();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }
};

QAccessibleInterface* capAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("plimbo::NotchCompactSurface") && object &&
        object->isWidgetType()) {
        return new CapAccessible(static_cast<QWidget*>(object));
    }
    return nullptr;
}

void installCapAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(capAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace

NotchCompactSurface::NotchCompactSurface(NotchSurfaceView& surface, QWidget* parent)
    : QWidget(parent)
    , m_surface(surface)
    , m_visibleWidth(new NotchAnimatedValue(0, this))
    , m_quickActions(new NotchAnimatedValue(0, this))
    , m_mark(new NotchIdentityMark(surface, this))
    , m_assistant(new NotchCompactActionButton(
          kAssistantTitle, QStringLiteral("sparkles"), PlimboTheme::accent(),
          [this] { runAssistantAction(); }, this))
    , m_screenshot(new NotchCompactActionButton(
          kScreenshotTitle, QStringLiteral("viewfinder"), screenshotTint(),
          [this] { runScreenshotAction(); }, this)) {
    installCapAccessibleFactory();
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(QStringLiteral("Open Plimbo Notch"));
    setAccessibleDescription(QStringLiteral("Shows system status and quick actions"));
    for (NotchCompactActionButton* button : {m_assistant, m_screenshot}) {
        auto* effect = new NotchMorphEffect(button);
        effect->setAnchor(NotchMorphEffect::Anchor::centre);
        button->setGraphicsEffect(effect);
    }

    m_visibleWidth->moveTo(compactVisibleWidth());
    const NotchSurfaceState& state = surface.state();
    connect(&state, &NotchSurfaceState::isCompactHoveredChanged, this,
            &NotchCompactSurface::hoverChanged);
    for (auto signal :
         {&NotchSurfaceState::collapsedWidthChanged, &NotchSurfaceState::topInsetChanged,
          &NotchSurfaceState::hasHardwareNotchChanged}) {
        connect(&state, signal, this, [this] {
            m_visibleWidth->moveTo(compactVisibleWidth());
            layoutChildren();
        });
    }
    connect(m_visibleWidth, &NotchAnimatedValue::valueChanged, this, [this] {
        layoutChildren();
        update();
    });
    connect(m_quickActions, &NotchAnimatedValue::valueChanged, this,
            &NotchCompactSurface::layoutChildren);
    hoverChanged();
}

qreal NotchCompactSurface::compactVisibleWidth() const {
    return NotchGeometry::compactWidth(m_surface.state().collapsedWidth(),
                                       m_surface.state().isCompactHovered());
}

qreal NotchCompactSurface::displayedVisibleWidth() const {
    return m_visibleWidth->value();
}

QRectF NotchCompactSurface::pillRect() const {
    const qreal w = std::min<qreal>(displayedVisibleWidth(), width());
    return {(width() - w) / 2, 0, w, qreal(height())};
}

QPainterPath NotchCompactSurface::pillPath() const {
    return NotchSilhouette(false).path(pillRect());
}

qreal NotchCompactSurface::quickActionsTopPadding(qreal topInset) {
    return std::max<qreal>((topInset - 28) * 0.5, 1);
}

bool NotchCompactSurface::showsQuickActions() const {
    return m_surface.state().isCompactHovered();
}

void NotchCompactSurface::activate() {
    m_surface.onToggle();
}

void NotchCompactSurface::runAssistantAction() {
    m_surface.setFocusedControl(NotchSurfaceView::NotchControl::cap);
    m_surface.onCompactHover(false);
    AppModel& model = m_surface.model();
    model.newAIChat();
    if (MiniAIController* mini = model.miniAIController()) {
        mini->show();
    }
}

void NotchCompactSurface::runScreenshotAction() {
    m_surface.setFocusedControl(NotchSurfaceView::NotchControl::cap);
    m_surface.onCompactHover(false);
    m_surface.model().startScreenshot();
}

void NotchCompactSurface::hoverChanged() {
    const bool hovered = m_surface.state().isCompactHovered();
    const auto motion = NotchAnimatedValue::spring(0.18);
    m_visibleWidth->moveTo(compactVisibleWidth(), motion);
    m_quickActions->moveTo(hovered ? 1 : 0, motion);
    layoutChildren();
    update();
}

void NotchCompactSurface::layoutChildren() {
    const QRectF pill = pillRect();
    m_mark->setGeometry(pill.toAlignedRect());
    const qreal opacity = m_quickActions->value();
    const bool hovered = showsQuickActions();
    const qreal top = quickActionsTopPadding(m_surface.state().topInset());
    const int side = NotchCompactActionButton::side;
    m_assistant->move(qRound(pill.left() + quickActionSideInset), qRound(top));
    m_screenshot->move(qRound(pill.right() - quickActionSideInset - side), qRound(top));
    for (NotchCompactActionButton* button : {m_assistant, m_screenshot}) {
        button->setVisible(opacity > 0 || hovered);
        button->setAttribute(Qt::WA_TransparentForMouseEvents, !hovered);
        if (auto* effect = qobject_cast<NotchMorphEffect*>(button->graphicsEffect())) {
            const qreal scale = 0.96 + 0.04 * opacity;
            effect->setScale(scale, scale);
            effect->setOpacity(opacity);
        }
        button->raise();
    }
}

void NotchCompactSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = pillPath();
    painter.fillPath(path, Qt::black);
    if (isFocused()) {
        painter.strokePath(path, QPen(PlimboTheme::accent(), 2));
    }
}

void NotchCompactSurface::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChildren();
}

void NotchCompactSurface::mouseMoveEvent(QMouseEvent* event) {
    setPointerInside(pillPath().contains(event->position()));
    QWidget::mouseMoveEvent(event);
}

void NotchCompactSurface::enterEvent(QEnterEvent* event) {
    setPointerInside(pillPath().contains(event->position()));
    QWidget::enterEvent(event);
}

void NotchCompactSurface::leaveEvent(QEvent* event) {
    setPointerInside(false);
    QWidget::leaveEvent(event);
}

void NotchCompactSurface::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton && pillPath().contains(event->position());
    if (m_pressed) {
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void NotchCompactSurface::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && pillPath().contains(event->position());
    m_pressed = false;
    if (click) {
        event->accept();
        activate();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void NotchCompactSurface::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        activate();
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool NotchCompactSurface::isFocused() const {
    return hasFocus() && m_focusReason != Qt::ActiveWindowFocusReason;
}

void NotchCompactSurface::focusInEvent(QFocusEvent* event) {
    m_focusReason = event->reason();
    QWidget::focusInEvent(event);
    update();
}

void NotchCompactSurface::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void NotchCompactSurface::setPointerInside(bool inside) {
    if (m_pointerInside == inside) {
        return;
    }
    m_pointerInside = inside;
    m_surface.setCapHovered(inside);
    if (!inside) {
        m_surface.setFocusedControl(NotchSurfaceView::NotchControl::cap);
    }
    m_surface.onCompactHover(inside);
}

} // namespace plimbo
