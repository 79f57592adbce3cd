#pragma once

#include "MenuActionButton.h"

#include <QColor>
#include <QString>

namespace plimbo {

class SurfaceText;
class SymbolView;

// One tile of the menu-bar panel's three-tile row: a coloured symbol with a small outgoing
// arrow, a title and a detail line, on a faint rounded fill. The fill deepens while hovered or
// focused; focus also turns the border to the accent colour.
class MenuQuickAction : public MenuActionButton {
    Q_OBJECT

public:
    MenuQuickAction(const QString& title, const QString& detail, const QString& symbol,
                    const QColor& color, const QString& accessibilityTitle,
                    std::function<void()> action, QWidget* parent = nullptr);

    // The panel changes a tile in place when what it stands for changes (keep-awake).
    void setContent(const QString& title, const QString& detail, const QString& symbol,
                    const QColor& color, const QString& accessibilityTitle);
    void setDetail(const QString& detail);

    QString title() const;
    QString detail() const;
    QString symbol() const;
    QColor color() const;

    struct Appearance {
        QColor fill;
        QColor border;
    };
    Appearance appearance() const;

    static constexpr qreal cornerRadius = 12;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SymbolView* m_symbol;
    SurfaceText* m_title;
    SurfaceText* m_detail;
};

} // namespace plimbo
