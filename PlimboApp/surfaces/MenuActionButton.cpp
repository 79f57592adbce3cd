#include "MenuActionButton.h"

namespace plimbo {

MenuActionButton::MenuActionButton(std::function<void()> action, QWidget* parent)
    : QAbstractButton(parent)
    , m_action(std::move(action)) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::ArrowCursor);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (m_action) {
            m_action();
        }
    });
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
