#pragma once

#include "MenuActionButton.h"

#include <QString>

namespace plimbo {

// One row of the menu-bar panel's utility area ("Settings", "About"): an accent symbol and a
// title on a faint rounded fill that deepens while hovered or focused, with an accent border
// while focused.
class MenuUtilityAction : public MenuActionButton {
    Q_OBJECT

public:
    MenuUtilityAction(const QString& title, const QString& symbol, std::function<void()> action,
                      QWidget* parent = nullptr);

    // What assistive technology announces for a title: "About" is "About Plimbo".
    static QString accessibilityLabel(const QString& title);

    struct Appearance {
        QColor fill;
        QColor border;
    };
    Appearance appearance() const;

    static constexpr qreal cornerRadius = 10;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace plimbo
