#pragma once

#include "NotchMetrics.h"

#include <QWidget>

namespace plimbo {

// One cell of the shelf's system strip: a small titled symbol over the value.
class NotchMetricCell : public QWidget {
    Q_OBJECT

public:
    explicit NotchMetricCell(QWidget* parent = nullptr);

    void setCell(const NotchMetrics::Cell& cell);
    NotchMetrics::Cell cell() const { return m_cell; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    NotchMetrics::Cell m_cell;
};

} // namespace plimbo
