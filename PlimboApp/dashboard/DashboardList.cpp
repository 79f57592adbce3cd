#include "DashboardList.h"

#include "DashboardStyle.h"

#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

namespace plimbo {

namespace {

constexpr qreal kRadius = 10;

class Hairline : public QWidget {
public:
    explicit Hairline(QWidget* parent)
        : QWidget(parent) {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect().adjusted(10, 0, -10, 0), DashboardStyle::hairline(this));
    }
};

} // namespace

DashboardList::DashboardList(QWidget* parent)
    : QWidget(parent)
    , m_scroll(new QScrollArea(this))
    , m_content(new QWidget)
    , m_layout(new QVBoxLayout(m_content)) {
    m_layout->setContentsMargins(6, 6, 6, 6);
    m_layout->setSpacing(0);
    m_layout->addStretch(1);

    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidget(m_content);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_content->setAutoFillBackground(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(m_scroll);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void DashboardList::setRows(const QList<QWidget*>& rows) {
    for (QWidget* old : std::as_const(m_rows)) {
        m_layout->removeWidget(old);
        old->hide();
        old->deleteLater();
    }
    for (QWidget* old : std::as_const(m_separators)) {
        m_layout->removeWidget(old);
        old->deleteLater();
    }
    m_separators.clear();
    m_rows = rows;
    int position = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (i > 0) {
            auto* separator = new Hairline(m_content);
            m_separators.append(separator);
            m_layout->insertWidget(position++, separator);
        }
        rows[i]->setParent(m_content);
        m_layout->insertWidget(position++, rows[i]);
        rows[i]->show();
    }
}

void DashboardList::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(DashboardStyle::hairline(this), 1));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRoundedRect(card, kRadius, kRadius);
}

} // namespace plimbo
