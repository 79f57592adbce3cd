#pragma once

#include <QWidget>

namespace plimbo {

class NotchMetricCell;
class SystemMonitorService;

// The shelf's band of four live metrics from the system monitor.
class NotchSystemStrip : public QWidget {
    Q_OBJECT

public:
    explicit NotchSystemStrip(SystemMonitorService& monitor, QWidget* parent = nullptr);

    NotchMetricCell& cell(int index) const { return *m_cells.at(index); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void refresh();
    void sampleArrived();

    SystemMonitorService& m_monitor;
    QList<NotchMetricCell*> m_cells;
    // A sample came while the shelf was closed; it is shown when the shelf opens.
    bool m_sampleWaiting = false;
};

} // namespace plimbo
