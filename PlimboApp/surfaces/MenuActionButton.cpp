#include "MenuActionButton.h"

#include <QTimer>

namespace plimbo {

MenuActionButton::MenuActionButton(std::function<void()> action, QWidget* parent)
    : QAbstractButton(parent)
    , m_action(std::move(action)) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::ArrowCursor);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (m_beforeAction) {
            m_beforeAction();
            // The menu's closing (its grab let go, the focus handed on) is seen through before
            // the next surface comes up, or it would count as a click away from that surface.
            QTimer::singleShot(0, this, [this] {
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
