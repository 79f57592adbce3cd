#pragma once

#include <QScrollArea>

class QHBoxLayout;

namespace plimbo {

// A row of tiles that scrolls sideways without showing scroll bars (the wheel scrolls it
// too); it is as tall as its tiles and as wide as they are, up to the room it gets.
class HorizontalStrip : public QScrollArea {
    Q_OBJECT

public:
    explicit HorizontalStrip(int spacing, QWidget* parent = nullptr);

    QHBoxLayout* row() const { return m_row; }
    void addTile(QWidget* tile);
    // Removes and deletes every tile.
    void clearTiles();
    QList<QWidget*> tiles() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_content;
    QHBoxLayout* m_row;
};

} // namespace plimbo
