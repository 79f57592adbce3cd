#pragma once

#include <QWidget>

namespace plimbo {

class AppModel;
class NotchMetricCell;

// The shelf's band of four live metrics from the system monitor.
class NotchSystemStrip : public QWidget {
    Q_OBJECT

public:
    explicit NotchSystemStrip(AppModel& model, QWidget* parent = nullptr);

    NotchMetricCell& cell(int index) const { return *m_cells.at(index); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();

    AppModel& m_model;
    QList<NotchMetricCell*> m_cells;
};

} // namespace plimbo
