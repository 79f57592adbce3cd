#pragma once

#include <QWidget>

namespace plimbo {

class NotchSurfaceView;

// The brand mark, the product name and a small chevron (below a camera housing) or a green
// dot (on a drawn notch), in one row along the bottom of the compact cap. It takes no clicks.
class NotchIdentityMark : public QWidget {
    Q_OBJECT

public:
    struct Metrics {
        qreal spacing;
        qreal iconSide;
        qreal namePointSize;
        qreal bottomPadding;
    };
    static Metrics metrics(bool hasHardwareNotch);

    explicit NotchIdentityMark(NotchSurfaceView& surface, QWidget* parent = nullptr);

    // The row as drawn in this widget's rectangle: icon, name and trailing mark.
    QRectF iconRect() const;
    QColor iconColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Row {
        QRectF icon;
        QRectF name;
        QRectF trailing;
    };
    Row row() const;

    NotchSurfaceView& m_surface;
};

} // namespace plimbo
