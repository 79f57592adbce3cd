#pragma once

#include <QWidget>

namespace plimbo {

class NotchSurfaceView;
class NotchTextButton;

// The expanded shelf's last row: the screen's name, "Settings" and "Exit".
class NotchShelfFooter : public QWidget {
    Q_OBJECT

public:
    explicit NotchShelfFooter(NotchSurfaceView& surface, QWidget* parent = nullptr);

    NotchTextButton& settingsButton() const { return *m_settings; }
    NotchTextButton& exitButton() const { return *m_exit; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    NotchSurfaceView& m_surface;
    NotchTextButton* m_settings;
    QWidget* m_divider;
    NotchTextButton* m_exit;
};

} // namespace plimbo
