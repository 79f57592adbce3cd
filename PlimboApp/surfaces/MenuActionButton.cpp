#include "MenuActionButton.h"

#include <QTimer>

namespace plimbo {

namespace {

// Milliseconds for a closed menu's focus changes to reach the window manager and come back.
constexpr int closingSettleDelay = 120;

} // namespace

MenuActionButton::MenuActionButton(std::function<void()> action, QWidget* parent)
    : QAbstractButton(parent)
    , m_action(std::move(action)) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::ArrowCursor);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (m_beforeAction) {
            m_beforeAction();
            // The menu's closing (its grab let go, the window manager handing the focus on) is
            // seen through before the next surface comes up; otherwise the focus the window
            // manager hands on late lands after that surface took it, and takes it away again.
            QTimer::singleShot(closingSettleDelay, this, [this] {
                if (m_action) {
                    m_action();
                }
            });
            return;
        }
        if (m_action) {
            m_action();
        }
    });
}

void MenuActionButton::setBeforeAction(std::function<void()> step) {
    m_beforeAction = std::move(step);
}

void MenuActionButton::enterEvent(QEnterEvent* event) {
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void MenuActionButton::leaveEvent(QEvent* event) {
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void MenuActionButton::focusInEvent(QFocusEvent* event) {
    update();
    QAbstractButton::focusInEvent(event);
}

void MenuActionButton::focusOutEvent(QFocusEvent* event) {
    update();
    QAbstractButton::focusOutEvent(event);
}

void MenuActionButton::paintEvent(QPaintEvent*) {}

} // namespace plimbo
