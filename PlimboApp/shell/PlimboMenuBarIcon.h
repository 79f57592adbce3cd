#pragma once

#include <QColor>
#include <QWidget>

class QPainter;

namespace plimbo {

// The brand mark (a magnifying glass whose ring opens towards three particle dots), drawn in
// code at any size: it fills the largest square that fits its widget, centred.
class PlimboMenuBarIcon : public QWidget {
    Q_OBJECT

public:
    explicit PlimboMenuBarIcon(const QColor& color, bool showsParticles = true,
                               QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    bool showsParticles() const { return m_showsParticles; }
    void setShowsParticles(bool shows);

    // Draws the mark in the largest square centred in `area`; for views that paint it
    // themselves.
    static void paint(QPainter& painter, const QRectF& area, const QColor& color,
                      bool showsParticles);
    // The square the mark takes in `area`.
    static QRectF markSquare(const QRectF& area);
    // Stroke width for a mark of side `side`: 10.5 % of it, never thinner than 1.35.
    static qreal lineWidth(qreal side);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
    bool m_showsParticles;
};

} // namespace plimbo
