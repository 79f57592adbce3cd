#pragma once

#include <QList>
#include <QMargins>
#include <QPointer>
#include <QScrollArea>
#include <QTimer>
#include <QUuid>

#include <functional>
#include <optional>

class QVariantAnimation;

namespace plimbo {

// The scrolling list of a chat's turns (the history list uses it for its chats too): frameless,
// without scroll bars, painting nothing behind its content. Only the items in or near view have
// a view: the others are a remembered height (or an estimate until first built), so a long chat
// opens, scrolls and switches at the cost of the few turns on screen, and views that scroll far
// away are dropped again. When items come into view above, or a view changes height, the item
// at the top of the view stays where it is. A new list opens at its latest item (or at its top,
// see setOpensAtLatest()). A scroll to the latest turn waits until the list is on screen, then
// brings that turn's bottom into view, animated unless motion is reduced.
class TurnScrollArea : public QScrollArea {
    Q_OBJECT

public:
    // Makes the view of the turn at `index` of the ids last given to setTurns().
    using Factory = std::function<QWidget*(qsizetype index)>;

    // Turns are `spacing` apart inside `margins`, in a column at most `maximumColumnWidth` wide
    // (0: the whole width) centred in the list.
    TurnScrollArea(int animationMs, const QMargins& margins, int spacing,
                   int maximumColumnWidth = 0, QWidget* parent = nullptr);
    ~TurnScrollArea() override;

    void setFactory(Factory factory);
    // Whether a list whose items are all new shows its latest item (true, the default) or its
    // first.
    void setOpensAtLatest(bool atLatest) { m_opensAtLatest = atLatest; }
    // Paints the window colour behind the items, for a list over a plain window background:
    // scrolling then moves what is already drawn and paints only what comes into view.
    void setOpaqueBackground(bool opaque);

    // Shows these turns: views and heights of turns that stay are kept, those of the others are
    // dropped. Returns whether the number of turns changed.
    bool setTurns(const QList<QUuid>& ids);
    // Whether the list shows turns with exactly these ids, in this order.
    template <typename Item> bool shows(const QList<Item>& items) const {
        if (items.size() != m_slots.size()) {
            return false;
        }
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (items[i].id != m_slots[i].id) {
                return false;
            }
        }
        return true;
    }
    qsizetype turnCount() const { return m_slots.size(); }
    // The views that exist, in the turns' order, with the index of each.
    QList<QWidget*> views() const;
    QList<qsizetype> viewIndexes() const;
    // Places the views again after their contents changed.
    void relayout();

    // Scrolls to the bottom of the latest turn, whose id is `id`, once the list is on screen.
    void scrollToLatest(const QUuid& id);
    // Makes a scroll still waiting, if the list is on screen now.
    void performPendingScroll();

    // The turn id the last scroll went to, and whether it was animated.
    std::optional<QUuid> lastScrollTarget() const { return m_lastScrollTarget; }
    bool lastScrollAnimated() const { return m_lastScrollAnimated; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Slot {
        QUuid id;
        int height = 0;
        bool measured = false;
        QWidget* view = nullptr;
    };

    int columnWidth() const;
    int columnLeft() const;
    int estimatedHeight() const;
    int heightOf(QWidget* view) const;
    QList<int> tops() const;
    int contentHeight(const QList<int>& tops) const;
    int latestTurnTarget(const QList<int>& tops) const;
    void release(Slot& slot);
    // Builds the views in or near view, measures them, drops far ones, places them and keeps
    // the top turn (or, while `toLatest`, the latest turn's bottom) in place.
    void realize();
    void scrolled(int value);
    void setScrollValue(int value);

    int m_animationMs;
    QMargins m_margins;
    int m_spacing;
    int m_maximumColumnWidth;
    Factory m_factory;
    QList<Slot> m_slots;
    int m_width = -1;
    bool m_realizing = false;
    bool m_settingValue = false;
    bool m_opensAtLatest = true;
    bool m_toLatest = false;
    bool m_atBottom = false;
    // Views to build ahead of the scrolling in the next pass, and the timer that makes it.
    int m_aheadBudget = 0;
    QTimer m_ahead;

    std::optional<QUuid> m_lastScrollTarget;
    bool m_lastScrollAnimated = false;
    bool m_scrollPending = false;
    QPointer<QVariantAnimation> m_animation;
};

} // namespace plimbo
