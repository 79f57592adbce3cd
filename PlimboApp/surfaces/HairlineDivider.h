#pragma once

#include <QWidget>

namespace plimbo {

// A one-pixel separator line in the palette's faint separator colour, full width (horizontal)
// or of a fixed length (vertical).
class HairlineDivider : public QWidget {
    Q_OBJECT

public:
    explicit HairlineDivider(Qt::Orientation orientation = Qt::Horizontal, int length = 0,
                             QWidget* parent = nullptr);

    // The colour every hairline of the command surfaces is drawn in.
    static QColor lineColor(const QPalette& palette);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::Orientation m_orientation;
};

} // namespace plimbo
