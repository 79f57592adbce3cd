#pragma once

#include "MenuActionButton.h"

#include <QString>

namespace plimbo {

// The large accent row at the top of the menu-bar panel's actions: a symbol tile, a title over
// a subtitle and a chevron, white on the accent colour. Hover lays a faint white wash over it,
// keyboard focus a white ring; the two are independent.
class MenuPrimaryAction : public MenuActionButton {
    Q_OBJECT

public:
    MenuPrimaryAction(const QString& title, const QString& subtitle, const QString& symbol,
                      std::function<void()> action, QWidget* parent = nullptr);

    struct Appearance {
        qreal washOpacity;
        qreal ringOpacity;
    };
    Appearance appearance() const;

    static constexpr qreal cornerRadius = 14;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace plimbo
