#pragma once

#include <QWidget>

namespace plimbo {

// A borderless panel that floats above ordinary windows and stays off the task bar and the
// pager: the window of the command palette, the launcher and the clipboard panel. Its content
// draws its own surface on a clear background. Created once; closing it only hides it.
class FloatingPanel : public QWidget {
    Q_OBJECT

public:
    explicit FloatingPanel(QWidget* parent = nullptr);

    // Puts the view in, filling the panel. The panel owns it.
    void setContent(QWidget* view);
    QWidget* content() const { return m_content; }
    // Shows the panel in front as the active window. A view that chose its own focus (a search
    // field) keeps it; otherwise the content takes it.
    void present();
    // Does ahead of time, while the panel is hidden, the work of its first showing: styles and
    // lays out the content, makes the native window and draws everything once (fonts, symbols
    // and style caches load on the first drawing), so the first showing only maps and paints.
    void prepare();

    // A press on the panel's own background (not taken by its content) drags the panel.
    void setMovableByBackground(bool movable) { m_movableByBackground = movable; }
    bool isMovableByBackground() const { return m_movableByBackground; }

    // Shown on every desktop, whichever the user switches to (from its next show on).
    void setOnAllDesktops(bool onAll) { m_onAllDesktops = onAll; }
    // A panel that takes no focus is never given it, by a click or by the desktop when a
    // window above it goes, and cannot be activated; it takes focus by default.
    void setTakesFocus(bool takesFocus);
    bool takesFocus() const { return m_takesFocus; }

    static constexpr Qt::WindowFlags panelFlags =
        Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* m_content = nullptr;
    bool m_movableByBackground = true;
    bool m_onAllDesktops = false;
    bool m_takesFocus = true;
};

} // namespace plimbo
