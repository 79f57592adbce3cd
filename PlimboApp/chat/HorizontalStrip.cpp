#include "HorizontalStrip.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QWheelEvent>

namespace plimbo {

HorizontalStrip::HorizontalStrip(int spacing, QWidget* parent)
    : QScrollArea(parent)
    , m_content(new QWidget)
    , m_row(new QHBoxLayout(m_content)) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    setAttribute(Qt::WA_TranslucentBackground);
    viewport()->setAutoFillBackground(false);
    m_content->setAutoFillBackground(false);
    m_row->setContentsMargins(0, 0, 0, 0);
    m_row->setSpacing(spacing);
    m_row->setSizeConstraint(QLayout::SetFixedSize);
    setWidget(m_content);
    m_content->setAutoFillBackground(false); // setWidget() turned it on
    m_content->installEventFilter(this);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void HorizontalStrip::addTile(QWidget* tile) {
    m_row->addWidget(tile, 0, Qt::AlignVCenter);
    updateGeometry();
}

void HorizontalStrip::clearTiles() {
    while (QLayoutItem* item = m_row->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    updateGeometry();
}

QList<QWidget*> HorizontalStrip::tiles() const {
    QList<QWidget*> tiles;
    for (int i = 0; i < m_row->count(); ++i) {
        if (QWidget* tile = m_row->itemAt(i)->widget()) {
            tiles.append(tile);
        }
    }
    return tiles;
}

QSize HorizontalStrip::sizeHint() const {
    return m_row->sizeHint();
}

QSize HorizontalStrip::minimumSizeHint() const {
    return {0, m_row->sizeHint().height()};
}

void HorizontalStrip::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    const int step = delta.x() != 0 ? delta.x() : delta.y();
    QScrollBar* bar = horizontalScrollBar();
    if (bar->maximum() == 0) {
        event->ignore();
        return;
    }
    bar->setValue(bar->value() - step / 2);
    event->accept();
}

bool HorizontalStrip::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_content && event->type() == QEvent::LayoutRequest) {
        updateGeometry();
    }
    return QScrollArea::eventFilter(watched, event);
}

} // namespace plimbo
