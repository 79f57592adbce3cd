#pragma once

#include <QColor>
#include <QWidget>

namespace plimbo {

// A filled circle of a fixed diameter in a status colour.
class StatusDot : public QWidget {
    Q_OBJECT

public:
    explicit StatusDot(int diameter, QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
};

} // namespace plimbo
