#pragma once

#include <QWidget>

namespace plimbo {

class NotchActionButton;
class NotchSurfaceView;

// The shelf's eight actions in two rows of four. Every tile but keep-awake collapses the
// notch before it opens what it names; keep-awake leaves the shelf open and changes its look.
class NotchActionGrid : public QWidget {
    Q_OBJECT

public:
    explicit NotchActionGrid(NotchSurfaceView& surface, QWidget* parent = nullptr);

    QList<NotchActionButton*> tiles() const { return m_tiles; }
    NotchActionButton& keepAwakeTile() const { return *m_keepAwake; }

private:
    void refreshKeepAwake();

    NotchSurfaceView& m_surface;
    QList<NotchActionButton*> m_tiles;
    NotchActionButton* m_keepAwake = nullptr;
};

} // namespace plimbo
