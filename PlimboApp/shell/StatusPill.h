#pragma once

#include <QColor>
#include <QWidget>

namespace plimbo {

// A short status text in a colour, on a capsule of the same colour at 12 % opacity. The text
// is shown verbatim.
class StatusPill : public QWidget {
    Q_OBJECT

public:
    StatusPill(const QString& text, const QColor& color, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);
    QColor color() const { return m_color; }
    void setColor(const QColor& color);

    static constexpr int horizontalPadding = 9;
    static constexpr int verticalPadding = 5;
    static constexpr qreal backgroundOpacity = 0.12;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QColor m_color;
};

} // namespace plimbo
