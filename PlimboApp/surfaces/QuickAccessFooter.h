#pragma once

#include <QString>
#include <QWidget>

namespace plimbo {

class SurfaceText;

// The key-hint strip at the bottom of the launcher and clipboard panels: "↑↓ Navigate",
// "↩ " and the panel's action word, and the panel's global shortcut, over a hairline. Hints
// only: nothing here reacts to clicks.
class QuickAccessFooter : public QWidget {
    Q_OBJECT

public:
    QuickAccessFooter(const QString& openLabel, const QString& shortcut, QWidget* parent = nullptr);

    static constexpr int stripHeight = 42;

    SurfaceText* navigateHint() const { return m_navigate; }
    SurfaceText* openHint() const { return m_open; }
    SurfaceText* shortcutHint() const { return m_shortcut; }
    void setShortcut(const QString& shortcut);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SurfaceText* m_navigate;
    SurfaceText* m_open;
    SurfaceText* m_shortcut;
};

} // namespace plimbo
