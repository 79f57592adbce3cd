#include "NotchSystemStrip.h"

#include "ChatStyle.h"
#include "NotchMetricCell.h"
#include "SystemMonitorService.h"

#include <QHBoxLayout>
#include <QPainter>

namespace plimbo {

NotchSystemStrip::NotchSystemStrip(SystemMonitorService& monitor, QWidget* parent)
    : QWidget(parent)
    , m_monitor(monitor) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 10, 0, 10);
    row->setSpacing(0);
    for (int i = 0; i < 4; ++i) {
        auto* cell = new NotchMetricCell(this);
        row->addWidget(cell, 1);
        m_cells.append(cell);
    }
    connect(&monitor, &SystemMonitorService::snapshotChanged, this,
            &NotchSystemStrip::sampleArrived);
    connect(&monitor, &SystemMonitorService::isRunningChanged, this, &NotchSystemStrip::refresh);
    refresh();
}

void NotchSystemStrip::sampleArrived() {
    // The notch sits compact nearly all day: a sample nobody sees costs no work.
    if (!isVisible()) {
        m_sampleWaiting = true;
        return;
    }
    refresh();
}

void NotchSystemStrip::showEvent(QShowEvent* event) {
    if (m_sampleWaiting) {
        refresh();
    }
    QWidget::showEvent(event);
}

void NotchSystemStrip::refresh() {
    m_sampleWaiting = false;
    const SystemMonitorService& monitor = m_monitor;
    const QList<NotchMetrics::Cell> cells =
        NotchMetrics::cells(monitor.snapshot(), monitor.isRunning());
    for (int i = 0; i < m_cells.size() && i < cells.size(); ++i) {
        m_cells[i]->setCell(cells[i]);
    }
}

void NotchSystemStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(ChatStyle::white(0.08), 1));
    painter.setBrush(ChatStyle::white(0.065));
    painter.drawRoundedRect(box, 14, 14);
}

} // namespace plimbo
