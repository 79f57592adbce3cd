#pragma once

#include <QScrollArea>
#include <QUuid>

#include <functional>
#include <optional>

namespace plimbo {

// The scrolling list of a chat's turns: frameless, without scroll bars, painting nothing behind
// its content. A scroll to the latest turn waits until that turn is laid out and the list is on
// screen, then brings the turn's bottom into view, animated unless motion is reduced.
class TurnScrollArea : public QScrollArea {
    Q_OBJECT

public:
    // `latestTurn` is the view of the latest turn, or null while there is none.
    TurnScrollArea(int animationMs, std::function<QWidget*()> latestTurn,
                   QWidget* parent = nullptr);

    void setContent(QWidget* content);

    // Scrolls to the bottom of the latest turn, whose id is `id`, after it is laid out.
    void scrollToLatest(const QUuid& id);
    // Makes a scroll still waiting, if the list is on screen now.
    void performPendingScroll();

    // The turn id the last scroll went to, and whether it was animated.
    std::optional<QUuid> lastScrollTarget() const { return m_lastScrollTarget; }
    bool lastScrollAnimated() const { return m_lastScrollAnimated; }

private:
    int m_animationMs;
    std::function<QWidget*()> m_latestTurn;
    std::optional<QUuid> m_lastScrollTarget;
    bool m_lastScrollAnimated = false;
    bool m_scrollPending = false;
};

} // namespace plimbo
