#include "NotchExpandedShelf.h"

#include "ChatStyle.h"
#include "DesktopActions.h"
#include "NotchActionGrid.h"
#include "NotchCameraStage.h"
#include "NotchDropLandingZone.h"
#include "NotchFileTray.h"
#include "NotchShelfFooter.h"
#include "NotchShelfHeader.h"
#include "NotchSilhouette.h"
#include "NotchSurfaceState.h"
#include "NotchSurfaceView.h"
#include "NotchSystemStrip.h"
#include "PlimboTheme.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace plimbo {

namespace {

constexpr int kHorizontalPadding = 16;
constexpr int kTopGap = 10;
constexpr int kBottomPadding = 14;
constexpr int kRowSpacing = 13;

} // namespace

NotchExpandedShelf::NotchExpandedShelf(NotchSurfaceView& surface, QWidget* parent)
    : QWidget(parent)
    , m_surface(surface)
    , m_content(new QWidget(this))
    , m_contentEffect(new NotchMorphEffect(m_content))
    , m_contentShown(new NotchAnimatedValue(surface.state().showsExpandedContent() ? 1 : 0, this)) {
    m_content->setGraphicsEffect(m_contentEffect);

    m_normal = new QWidget(m_content);
    m_header = new NotchShelfHeader(surface, m_normal);
    m_strip = new NotchSystemStrip(surface.features().systemMonitor, m_normal);
    m_gridOrTray = new QStackedWidget(m_normal);
    m_grid = new NotchActionGrid(surface, m_gridOrTray);
    m_tray = new NotchFileTray(surface.features().desktop, m_gridOrTray);
    m_gridOrTray->addWidget(m_grid);
    m_gridOrTray->addWidget(m_tray);
    m_footer = new NotchShelfFooter(surface, m_normal);
    auto* rows = new QVBoxLayout(m_normal);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(kRowSpacing);
    rows->addWidget(m_header);
    rows->addWidget(m_strip);
    rows->addWidget(m_gridOrTray);
    rows->addWidget(m_footer);
    rows->addStretch(1);

    m_camera = new QWidget(m_content);
    m_stage = new NotchCameraStage(surface, m_camera);
    auto* cameraColumn = new QVBoxLayout(m_camera);
    cameraColumn->setContentsMargins(0, 0, 0, 0);
    cameraColumn->addWidget(m_stage);
    cameraColumn->addStretch(1);

    m_landing = new NotchDropLandingZone(m_content);

    const QList<QWidget*> pages{m_normal, m_camera, m_landing, m_grid, m_tray};
    for (QWidget* page : pages) {
        auto* effect = new NotchMorphEffect(page);
        page->setGraphicsEffect(effect);
        auto* value = new NotchAnimatedValue(1, this);
        connect(value, &NotchAnimatedValue::valueChanged, this, [this, page, value] {
            auto* pageEffect = static_cast<NotchMorphEffect*>(page->graphicsEffect());
            const qreal from = value->property("scaleFrom").toReal();
            const qreal v = value->value();
            const qreal scale = from + (1 - from) * v;
            pageEffect->setScale(scale, scale);
            pageEffect->setOpacity(v);
        });
        m_reveals.insert(page, value);
    }

    const NotchSurfaceState& state = surface.state();
    connect(&state, &NotchSurfaceState::showsExpandedContentChanged, this,
            &NotchExpandedShelf::contentShownChanged);
    connect(&state, &NotchSurfaceState::topInsetChanged, this, [this] {
        resizeEvent(nullptr);
        update();
    });
    connect(m_contentShown, &NotchAnimatedValue::valueChanged, this, [this](qreal shown) {
        const qreal scale = 0.9 + 0.1 * shown;
        m_contentEffect->setScale(scale, scale);
        m_contentEffect->setOpacity(shown);
    });
    connect(&surface, &NotchSurfaceView::dropTargetedChanged, this, [this] {
        update();
        updatePage();
    });
    connect(&surface, &NotchSurfaceView::cameraPresentationChanged, this,
            &NotchExpandedShelf::updatePage);
    connect(&surface.features().desktop, &DesktopActions::shelfURLsChanged, this,
            &NotchExpandedShelf::updateFileSwap);

    m_contentEffect->setOpacity(m_contentShown->value());
    m_contentEffect->setScale(0.9 + 0.1 * m_contentShown->value(),
                              0.9 + 0.1 * m_contentShown->value());
    m_showedTray = showsFileTray();
    m_gridOrTray->setCurrentWidget(m_showedTray ? static_cast<QWidget*>(m_tray) : m_grid);
    updatePage();
}

bool NotchExpandedShelf::showsFileTray() const {
    return !m_surface.features().desktop.shelfURLs().isEmpty();
}

qreal NotchExpandedShelf::contentOpacity() const {
    return m_contentShown->value();
}

QRect NotchExpandedShelf::contentRect() const {
    const int top = qRound(m_surface.state().topInset()) + kTopGap;
    return QRect(kHorizontalPadding, top, width() - 2 * kHorizontalPadding,
                 height() - top - kBottomPadding);
}

NotchCircleButton& NotchExpandedShelf::collapseButton() const {
    return m_header->collapseButton();
}

NotchTextButton& NotchExpandedShelf::settingsButton() const {
    return m_footer->settingsButton();
}

NotchTextButton& NotchExpandedShelf::exitButton() const {
    return m_footer->exitButton();
}

void NotchExpandedShelf::contentShownChanged() {
    const NotchSurfaceState& state = m_surface.state();
    const bool shown = state.showsExpandedContent();
    std::optional<NotchAnimatedValue::Motion> motion;
    // Only a transition animates the fade; show() and hide() set it at once.
    if (state.isTransitioning()) {
        motion = shown ? NotchAnimatedValue::easeOut(0.14) : NotchAnimatedValue::easeIn(0.08);
    }
    m_contentShown->moveTo(shown ? 1 : 0, motion);
}

void NotchExpandedShelf::updatePage() {
    Page wanted = Page::normal;
    if (m_surface.isDropTargeted()) {
        wanted = Page::landing;
    } else if (m_surface.cameraPresentationActive()) {
        wanted = Page::camera;
    }
    const Page previous = m_page;
    m_page = wanted;
    m_normal->setVisible(wanted == Page::normal);
    m_camera->setVisible(wanted == Page::camera);
    m_landing->setVisible(wanted == Page::landing);
    if (wanted == previous) {
        return;
    }
    switch (wanted) {
    case Page::landing:
        reveal(m_landing, 0.94, NotchMorphEffect::Anchor::centre,
               NotchAnimatedValue::easeInOut(0.14));
        break;
    case Page::camera:
        reveal(m_camera, 0.18, NotchMorphEffect::Anchor::topTrailing,
               previous == Page::landing ? NotchAnimatedValue::easeInOut(0.14)
                                         : NotchAnimatedValue::spring(0.38));
        break;
    case Page::normal:
        reveal(m_normal, 1, NotchMorphEffect::Anchor::centre,
               previous == Page::landing ? NotchAnimatedValue::easeInOut(0.14)
                                         : NotchAnimatedValue::spring(0.38));
        break;
    }
}

void NotchExpandedShelf::updateFileSwap() {
    const bool tray = showsFileTray();
    if (tray == m_showedTray) {
        return;
    }
    m_showedTray = tray;
    if (tray) {
        m_gridOrTray->setCurrentWidget(m_tray);
        reveal(m_tray, 0.96, NotchMorphEffect::Anchor::centre, NotchAnimatedValue::spring(0.22));
    } else {
        m_gridOrTray->setCurrentWidget(m_grid);
        reveal(m_grid, 0.96, NotchMorphEffect::Anchor::topCentre, NotchAnimatedValue::spring(0.22));
    }
}

void NotchExpandedShelf::reveal(QWidget* page, qreal scaleFrom, NotchMorphEffect::Anchor anchor,
                                NotchAnimatedValue::Motion motion) {
    NotchAnimatedValue* value = m_reveals.value(page);
    if (!value) {
        return;
    }
    static_cast<NotchMorphEffect*>(page->graphicsEffect())->setAnchor(anchor);
    value->setProperty("scaleFrom", scaleFrom);
    // Hidden content appears at once: nobody would see the fade.
    if (!isVisible() || m_contentShown->value() <= 0) {
        value->moveTo(1);
        value->finish();
        return;
    }
    value->moveTo(0);
    value->moveTo(1, motion);
}

void NotchExpandedShelf::resizeEvent(QResizeEvent* event) {
    if (event) {
        QWidget::resizeEvent(event);
    }
    const QRect content = contentRect();
    m_content->setGeometry(content);
    const QRect inner(QPoint(0, 0), content.size());
    m_normal->setGeometry(inner);
    m_camera->setGeometry(inner);
    m_landing->setGeometry(inner);
}

void NotchExpandedShelf::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const NotchSilhouette silhouette(true);
    const QRectF bounds(rect());
    painter.fillPath(silhouette.path(bounds), ChatStyle::black(0.975));
    const bool targeted = m_surface.isDropTargeted();
    const qreal width = targeted ? 2 : 1;
    painter.strokePath(silhouette.path(bounds.adjusted(width / 2, -width, -width / 2, -width / 2)),
                       QPen(targeted ? PlimboTheme::accent() : ChatStyle::white(0.1), width));
}

void NotchExpandedShelf::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        m_surface.onCollapse();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace plimbo
