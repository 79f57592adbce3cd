#pragma once

#include <QAbstractButton>

#include <functional>

namespace plimbo {

// The plain button under the menu-bar panel's actions: it draws no bezel of its own, runs its
// action when clicked (or through its shortcut), takes keyboard focus, and redraws at once
// when the pointer enters or leaves it and when it gains or loses focus.
class MenuActionButton : public QAbstractButton {
    Q_OBJECT

public:
    bool isHovered() const { return m_hovered; }
    bool isFocused() const { return hasFocus(); }

    // Runs before the action on every click: the panel closes its menu there first when the
    // action opens another surface, so that surface gets the keyboard.
    void setBeforeAction(std::function<void()> step);

protected:
    MenuActionButton(std::function<void()> action, QWidget* parent);

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void()> m_action;
    std::function<void()> m_beforeAction;
    bool m_hovered = false;
};

} // namespace plimbo
