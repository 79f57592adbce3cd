#pragma once

#include <QWidget>

namespace plimbo {

// The brand mark on a faint accent disc: the chat views' identity badge and reply avatar.
class BrandBadge : public QWidget {
    Q_OBJECT

public:
    // `side` is the disc, `iconSide` the mark inside it; a zero opacity draws no disc.
    BrandBadge(int side, int iconSide, qreal circleOpacity, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_iconSide;
    qreal m_circleOpacity;
};

} // namespace plimbo
