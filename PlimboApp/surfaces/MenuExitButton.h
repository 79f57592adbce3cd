#pragma once

#include <QAbstractButton>
#include <QKeySequence>

#include <functional>

namespace plimbo {

// The menu-bar panel's last row: a power symbol, "Exit Plimbo" and the key hint of its
// shortcut; the whole row is the hit area. It has no hover or focus look of its own.
class MenuExitButton : public QAbstractButton {
    Q_OBJECT

public:
    MenuExitButton(const QKeySequence& shortcut, std::function<void()> action,
                   QWidget* parent = nullptr);

    // The hint shown at the row's end: the shortcut in Linux notation ("Ctrl+Q").
    static QString shortcutHint(const QKeySequence& shortcut);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace plimbo
