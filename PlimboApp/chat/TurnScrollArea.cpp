#include "TurnScrollArea.h"

#include "ReduceMotion.h"

#include <QCoreApplication>
#include <QLayout>
#include <QScrollBar>
#include <QTimer>
#include <QVariantAnimation>

#include <algorithm>

namespace plimbo {

TurnScrollArea::TurnScrollArea(int animationMs, std::function<QWidget*()> latestTurn,
                               QWidget* parent)
    : QScrollArea(parent)
    , m_animationMs(animationMs)
    , m_latestTurn(std::move(latestTurn)) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);
}

void TurnScrollArea::setContent(QWidget* content) {
    content->setAutoFillBackground(false);
    setWidget(content);
    content->setAutoFillBackground(false); // setWidget() turned it on
}

void TurnScrollArea::scrollToLatest(const QUuid& id) {
    m_lastScrollTarget = id;
    m_lastScrollAnimated = !ReduceMotion::enabled();
    m_scrollPending = true;
    // After the new turn is laid out.
    QTimer::singleShot(0, this, &TurnScrollArea::performPendingScroll);
}

void TurnScrollArea::performPendingScroll() {
    QWidget* last = m_latestTurn();
    if (!m_scrollPending || !last || !isVisible()) {
        return;
    }
    m_scrollPending = false;
    // Pending layouts first, so that the scroll range is the laid-out one.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QWidget* content = widget();
    if (content->layout()) {
        content->layout()->activate();
    }
    QScrollBar* bar = verticalScrollBar();
    const int bottom = last->mapTo(content, QPoint(0, last->height())).y();
    const int target = std::clamp(bottom - viewport()->height(), bar->minimum(), bar->maximum());
    if (!m_lastScrollAnimated) {
        bar->setValue(target);
        return;
    }
    auto* animation = new QVariantAnimation(this);
    animation->setDuration(m_animationMs);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    animation->setStartValue(bar->value());
    animation->setEndValue(target);
    connect(animation, &QVariantAnimation::valueChanged, bar,
            [bar](const QVariant& value) { bar->setValue(value.toInt()); });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace plimbo
