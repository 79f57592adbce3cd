#pragma once

#include "PlimboGlobalShortcut.h"

#include <QString>
#include <QWidget>

#include <functional>

class QStackedWidget;

namespace plimbo {

class GlobalShortcuts;
class QuickAccessFooter;
class QuickAccessSearchField;

// The frame the launcher and clipboard panels share: a search header (symbol, search field,
// "esc" cap), a hairline, the panel's content and the key-hint footer, on one rounded panel of
// fixed size. Return in the field runs the panel's primary action, Up and Down its selection
// step, and Escape anywhere in the panel its `dismiss` closure. Each showing runs the panel's
// appearance step; each change of the search text its query step.
class QuickAccessPanel : public QWidget {
    Q_OBJECT

public:
    struct Configuration {
        QString symbol;
        QString placeholder;
        QString fieldAccessibleName;
        QString panelAccessibleName;
        int height = 0;
        QString openLabel;
    };

    static constexpr int width = 640;
    static constexpr int headerHeight = 68;
    static constexpr qreal cornerRadius = 18;

    // The search text, as typed.
    QString query() const;
    QuickAccessSearchField* searchField() const { return m_searchField; }
    QuickAccessFooter* footer() const { return m_footer; }

protected:
    QuickAccessPanel(const Configuration& configuration, std::function<void()> dismiss,
                     QWidget* parent);

    // Where the panel's own content goes, between the header's hairline and the footer.
    QStackedWidget* content() const { return m_content; }
    void setQuery(const QString& query);
    // The footer names this shortcut's keys, or that it has none, as the desktop changes them.
    void followShortcut(const GlobalShortcuts& shortcuts, PlimboGlobalShortcut shortcut);

    virtual void appearanceStep() = 0;
    virtual void queryStep() = 0;
    virtual void primaryAction() = 0;
    virtual void moveSelection(int delta) = 0;
    void dismiss();

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void()> m_dismiss;
    QuickAccessSearchField* m_searchField;
    QStackedWidget* m_content;
    QuickAccessFooter* m_footer;
};

} // namespace plimbo
