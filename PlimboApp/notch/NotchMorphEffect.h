#pragma once

#include <QGraphicsEffect>

namespace plimbo {

// Draws a widget scaled about an anchor (the middle of its top edge by default) and faded, while
// the widget keeps its full-size layout. At scale 1 and opacity 1 the widget draws as usual.
class NotchMorphEffect : public QGraphicsEffect {
    Q_OBJECT

public:
    enum class Anchor { topCentre, topTrailing, centre };

    explicit NotchMorphEffect(QObject* parent = nullptr);

    void setScale(qreal x, qreal y);
    qreal scaleX() const { return m_scaleX; }
    qreal scaleY() const { return m_scaleY; }
    void setOpacity(qreal opacity);
    qreal opacity() const { return m_opacity; }
    void setAnchor(Anchor anchor);
    bool isIdentity() const {
        return qFuzzyCompare(m_scaleX, 1) && qFuzzyCompare(m_scaleY, 1) && m_opacity >= 1;
    }

protected:
    void draw(QPainter* painter) override;

private:
    void changed();

    qreal m_scaleX = 1;
    qreal m_scaleY = 1;
    qreal m_opacity = 1;
    Anchor m_anchor = Anchor::topCentre;
};

} // namespace plimbo
