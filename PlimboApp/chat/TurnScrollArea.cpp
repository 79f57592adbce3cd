#include "TurnScrollArea.h"

#include "ReduceMotion.h"

#include <QEvent>
#include <QHash>
#include <QLayout>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace plimbo {

namespace {

// The turns' views sit on this, placed by the list; a view that changes size asks it to lay
// out again.
class TurnCanvas : public QWidget {
public:
    explicit TurnCanvas(std::function<void()> relayout)
        : m_relayout(std::move(relayout)) {
        setAutoFillBackground(false);
    }

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::LayoutRequest) {
            m_relayout();
            return true;
        }
        return QWidget::event(event);
    }

private:
    std::function<void()> m_relayout;
};

// Height a turn is given before it has been built once.
constexpr int kFirstEstimate = 240;

} // namespace

TurnScrollArea::TurnScrollArea(int animationMs, const QMargins& margins, int spacing,
                               int maximumColumnWidth, QWidget* parent)
    : QScrollArea(parent)
    , m_animationMs(animationMs)
    , m_margins(margins)
    , m_spacing(spacing)
    , m_maximumColumnWidth(maximumColumnWidth) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);
    auto* canvas = new TurnCanvas([this] { relayout(); });
    setWidget(canvas);
    canvas->setAutoFillBackground(false); // setWidget() turned it on
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TurnScrollArea::scrolled);
    m_ahead.setSingleShot(true);
    m_ahead.setInterval(0);
    connect(&m_ahead, &QTimer::timeout, this, [this] {
        m_aheadBudget = 1;
        realize();
    });
}

TurnScrollArea::~TurnScrollArea() = default;

void TurnScrollArea::setFactory(Factory factory) {
    m_factory = std::move(factory);
}

void TurnScrollArea::setOpaqueBackground(bool opaque) {
    widget()->setBackgroundRole(QPalette::Window);
    widget()->setAutoFillBackground(opaque);
}

bool TurnScrollArea::setTurns(const QList<QUuid>& ids) {
    QHash<QUuid, qsizetype> previous;
    for (qsizetype i = 0; i < m_slots.size(); ++i) {
        previous.insert(m_slots[i].id, i);
    }
    QList<Slot> next;
    next.reserve(ids.size());
    bool kept = false;
    for (const QUuid& id : ids) {
        const auto found = previous.find(id);
        if (found != previous.end()) {
            next.append(std::exchange(m_slots[found.value()], Slot{}));
            previous.erase(found);
            kept = true;
        } else {
            next.append(Slot{id});
        }
    }
    for (Slot& gone : m_slots) {
        release(gone);
    }
    const bool countChanged = next.size() != m_slots.size();
    m_slots = std::move(next);
    // Another chat (or the first one) opens at its latest turn, so only the turns there are
    // built; a list that gained or lost turns keeps its top turn in place.
    if (!kept && !m_opensAtLatest) {
        setScrollValue(0);
    }
    QScopedValueRollback<bool> latest(m_toLatest, m_toLatest || (!kept && m_opensAtLatest));
    realize();
    return countChanged;
}

QList<QWidget*> TurnScrollArea::views() const {
    QList<QWidget*> views;
    for (const Slot& slot : m_slots) {
        if (slot.view) {
            views.append(slot.view);
        }
    }
    return views;
}

QList<qsizetype> TurnScrollArea::viewIndexes() const {
    QList<qsizetype> indexes;
    for (qsizetype i = 0; i < m_slots.size(); ++i) {
        if (m_slots[i].view) {
            indexes.append(i);
        }
    }
    return indexes;
}

void TurnScrollArea::relayout() {
    if (m_scrollPending) {
        performPendingScroll();
    }
    realize();
}

void TurnScrollArea::release(Slot& slot) {
    if (slot.view) {
        // Later: the view may be the one whose event brought us here.
        slot.view->hide();
        slot.view->deleteLater();
        slot.view = nullptr;
    }
}

int TurnScrollArea::columnWidth() const {
    int width = viewport()->width() - m_margins.left() - m_margins.right();
    if (m_maximumColumnWidth > 0) {
        width = std::min(width, m_maximumColumnWidth);
    }
    return std::max(width, 1);
}

int TurnScrollArea::columnLeft() const {
    const int room = viewport()->width() - m_margins.left() - m_margins.right();
    return m_margins.left() + std::max(0, (room - columnWidth()) / 2);
}

int TurnScrollArea::estimatedHeight() const {
    qint64 total = 0;
    int count = 0;
    for (const Slot& slot : m_slots) {
        if (slot.measured) {
            total += slot.height;
            ++count;
        }
    }
    return count > 0 ? static_cast<int>(total / count) : kFirstEstimate;
}

int TurnScrollArea::heightOf(QWidget* view) const {
    return view->hasHeightForWidth() ? view->heightForWidth(columnWidth())
                                     : view->sizeHint().height();
}

QList<int> TurnScrollArea::tops() const {
    QList<int> tops;
    tops.reserve(m_slots.size());
    const int estimate = estimatedHeight();
    int y = m_margins.top();
    for (const Slot& slot : m_slots) {
        tops.append(y);
        y += (slot.measured ? slot.height : estimate) + m_spacing;
    }
    return tops;
}

int TurnScrollArea::contentHeight(const QList<int>& tops) const {
    if (m_slots.isEmpty()) {
        return m_margins.top() + m_margins.bottom();
    }
    const Slot& last = m_slots.last();
    return tops.last() + (last.measured ? last.height : estimatedHeight()) + m_margins.bottom();
}

int TurnScrollArea::latestTurnTarget(const QList<int>& tops) const {
    if (m_slots.isEmpty()) {
        return 0;
    }
    const Slot& last = m_slots.last();
    const int bottom = tops.last() + (last.measured ? last.height : estimatedHeight());
    const int maximum = std::max(0, contentHeight(tops) - viewport()->height());
    return std::clamp(bottom - viewport()->height(), 0, maximum);
}

void TurnScrollArea::setScrollValue(int value) {
    QScopedValueRollback<bool> guard(m_settingValue, true);
    verticalScrollBar()->setValue(value);
}

void TurnScrollArea::scrolled(int) {
    if (!m_settingValue) {
        realize();
    }
}

void TurnScrollArea::realize() {
    if (m_realizing || !m_factory || !isVisible()) {
        return;
    }
    if (!testAttribute(Qt::WA_Resized) && window()->layout()) {
        // Just shown and not placed yet: place it first, rather than build views for a size
        // it will not have.
        window()->layout()->activate();
    }
    if (!testAttribute(Qt::WA_Resized) || m_realizing) {
        return;
    }
    QScopedValueRollback<bool> guard(m_realizing, true);
    QWidget* canvas = widget();
    QScrollBar* bar = verticalScrollBar();
    const int viewportHeight = std::max(viewport()->height(), 1);
    const int width = columnWidth();
    QList<int> top = tops();
    int value = bar->value();

    // What stays put: the latest turn's bottom when going there (or when it was in place at the
    // bottom before the list changed size), else the first shown turn that was already built.
    bool toLatest = m_toLatest;
    if (!toLatest && m_width >= 0 && m_width != width && !m_slots.isEmpty()) {
        toLatest = m_atBottom;
    }
    qsizetype anchor = -1;
    int anchorOffset = 0;
    if (!toLatest) {
        const int estimate = estimatedHeight();
        qsizetype firstShown = -1;
        for (qsizetype i = 0; i < m_slots.size() && top[i] < value + viewportHeight; ++i) {
            const int height = m_slots[i].measured ? m_slots[i].height : estimate;
            if (top[i] + height <= value) {
                continue;
            }
            if (firstShown < 0) {
                firstShown = i;
            }
            if (m_slots[i].view) {
                anchor = i;
                break;
            }
        }
        if (anchor < 0) {
            anchor = firstShown;
        }
        if (anchor >= 0) {
            anchorOffset = top[anchor] - value;
        }
    }
    m_width = width;

    int maximum = 0;
    int aheadBudget = std::exchange(m_aheadBudget, 0);
    bool wantsAhead = false;
    for (int pass = 0; pass < 16; ++pass) {
        bool changed = false;
        wantsAhead = false;
        // In view now: built at once. Half a screen on either side: built ahead, one view per
        // pass of the event loop, so that scrolling rarely waits for one.
        const int from = value - viewportHeight / 2;
        const int to = value + viewportHeight + viewportHeight / 2;
        const int estimate = estimatedHeight();
        for (qsizetype i = 0; i < m_slots.size(); ++i) {
            Slot& slot = m_slots[i];
            const int height = slot.measured ? slot.height : estimate;
            const bool shown = top[i] < value + viewportHeight && top[i] + height > value;
            const bool near = top[i] < to && top[i] + height > from;
            if (near && !slot.view && !shown && aheadBudget <= 0) {
                wantsAhead = true;
            } else if (near && !slot.view) {
                if (!shown) {
                    --aheadBudget;
                }
                slot.view = m_factory(i);
                slot.view->setParent(canvas);
                changed = true;
            }
            if (slot.view) {
                const int measured = heightOf(slot.view);
                if (!slot.measured || measured != slot.height) {
                    slot.height = measured;
                    slot.measured = true;
                    changed = true;
                }
            }
        }
        top = tops();
        maximum = std::max(0, contentHeight(top) - viewportHeight);
        if (toLatest) {
            value = latestTurnTarget(top);
        } else if (anchor >= 0) {
            value = std::clamp(top[anchor] - anchorOffset, 0, maximum);
        } else {
            value = std::clamp(value, 0, maximum);
        }
        if (!changed) {
            break;
        }
    }

    // Views far from view go; their heights stay for placing the others.
    const int keepFrom = value - 2 * viewportHeight;
    const int keepTo = value + 3 * viewportHeight;
    for (qsizetype i = 0; i < m_slots.size(); ++i) {
        Slot& slot = m_slots[i];
        if (slot.view && (top[i] >= keepTo || top[i] + slot.height <= keepFrom)) {
            release(slot);
        }
    }

    const int left = columnLeft();
    for (qsizetype i = 0; i < m_slots.size(); ++i) {
        Slot& slot = m_slots[i];
        if (slot.view) {
            slot.view->setGeometry(left, top[i], width, slot.height);
            if (slot.view->isHidden()) {
                slot.view->show();
            }
        }
    }
    canvas->resize(viewport()->width(), contentHeight(top));
    bar->setRange(0, maximum);
    bar->setPageStep(viewportHeight);
    bar->setSingleStep(20);
    setScrollValue(value);
    m_atBottom = !m_slots.isEmpty() && value >= latestTurnTarget(top);
    if (wantsAhead && !m_ahead.isActive()) {
        m_ahead.start();
    }
}

void TurnScrollArea::resizeEvent(QResizeEvent* event) {
    const bool atBottom = m_atBottom;
    QScrollArea::resizeEvent(event);
    m_atBottom = atBottom;
    if (m_scrollPending) {
        performPendingScroll();
        return;
    }
    // A list that showed its latest turn at the bottom keeps showing it.
    QScopedValueRollback<bool> keep(m_toLatest, m_toLatest || atBottom);
    realize();
}

void TurnScrollArea::showEvent(QShowEvent* event) {
    QScrollArea::showEvent(event);
    // Once laid out at the size it is shown at.
    QTimer::singleShot(0, this, &TurnScrollArea::relayout);
}

void TurnScrollArea::scrollToLatest(const QUuid& id) {
    m_lastScrollTarget = id;
    m_lastScrollAnimated = !ReduceMotion::enabled();
    m_scrollPending = true;
    // After the new turns are in place.
    QTimer::singleShot(0, this, &TurnScrollArea::performPendingScroll);
}

void TurnScrollArea::performPendingScroll() {
    if (!m_scrollPending || m_slots.isEmpty() || !isVisible() || !m_factory) {
        return;
    }
    m_scrollPending = false;
    if (m_animation) {
        m_animation->stop();
        delete m_animation;
    }
    const int from = verticalScrollBar()->value();
    {
        QScopedValueRollback<bool> latest(m_toLatest, true);
        realize();
    }
    if (!m_lastScrollAnimated) {
        return;
    }
    // Animated over at most one screen, so that the turns further away are never built.
    const int viewportHeight = viewport()->height();
    const int target = verticalScrollBar()->value();
    const int start = std::clamp(from, target - viewportHeight, target + viewportHeight);
    if (start == target) {
        return;
    }
    setScrollValue(start);
    realize();
    auto* animation = new QVariantAnimation(this);
    animation->setDuration(m_animationMs);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    connect(animation, &QVariantAnimation::valueChanged, this,
            [this, start](const QVariant& progress) {
                const int target = latestTurnTarget(tops());
                setScrollValue(start +
                               static_cast<int>(std::lround((target - start) * progress.toReal())));
                realize();
            });
    connect(animation, &QVariantAnimation::finished, this, [this] {
        QScopedValueRollback<bool> latest(m_toLatest, true);
        realize();
    });
    m_animation = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace plimbo
