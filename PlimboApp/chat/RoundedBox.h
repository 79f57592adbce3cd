#pragma once

#include <QColor>
#include <QWidget>

#include <functional>

namespace plimbo {

// A container that paints a filled and outlined rounded rectangle behind its children (a
// capsule when the radius is negative). Colours are worked out at paint time, so ones taken
// from the palette follow it.
class RoundedBox : public QWidget {
    Q_OBJECT

public:
    using Color = std::function<QColor(const QWidget*)>;

    explicit RoundedBox(QWidget* parent = nullptr);

    static Color fixed(const QColor& color);
    // The palette's text colour at an opacity.
    static Color primary(qreal opacity);

    void setRadius(qreal radius);
    void setFill(Color fill);
    void setStroke(Color stroke, qreal width = 1.0);
    qreal radius() const { return m_radius; }
    QColor fillColor() const;
    QColor strokeColor() const;
    qreal strokeWidth() const { return m_strokeWidth; }
    // Overrides the size hint (a width the parent gives it when it can).
    void setPreferredSize(const QSize& size);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal m_radius = 10;
    Color m_fill;
    Color m_stroke;
    qreal m_strokeWidth = 1.0;
    QSize m_preferredSize;
};

} // namespace plimbo
